// ReminderClock: the reminders of the notes as the clock reaches them. On each look at the clock
// it reads the note lists of the minutes since the last look, finds the reminders due or missed,
// keeps them while a full-screen program or a presentation runs, and hands them out once the user
// may see them, remembering what it handed out in %LOCALAPPDATA%\Vestrel\reminders.txt (time and a
// hash of the line, never the text) so a restart does not show them again. Snoozed reminders come
// back here too.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "notes/reminders.h"

// The local time as SecondNumber counts it.
using LocalSecondsFn = int64_t (*)();
int64_t SystemLocalSeconds();
// True while the user should not be interrupted: a full-screen program, a full-screen Direct3D
// program or presentation mode (SHQueryUserNotificationState).
using BusyFn = bool (*)();
bool SystemBusy();

class ReminderClock {
public:
    // What tests replace: the clock, the busy check, the snooze interval, the record's path
    // (UTF-8; "" = %LOCALAPPDATA%\Vestrel\reminders.txt).
    struct Seams {
        LocalSecondsFn clock = SystemLocalSeconds;
        BusyFn busy = SystemBusy;
        int64_t snoozeSeconds = SnoozedReminders::kDefaultSeconds;
        std::string recordPath;
    };
    static Seams& TestSeams();

    // One look at the clock: the reminders to show now, each once (missed ones marked), snoozed
    // ones whose time has come included; none while the user is busy (they wait). The first look
    // reads the record of those shown before.
    std::vector<DueReminder> Tick();
    // Brings the reminders back after the snooze interval.
    void Snooze(const std::vector<DueReminder>& reminders);
    size_t Waiting() const { return m_waiting.size(); }

private:
    void ReadRecord();
    void WriteRecord();
    std::string RecordPath() const;

    bool m_started = false;
    int64_t m_last = kNotChecked;
    ShownReminders m_shown;
    SnoozedReminders m_snoozed;
    std::vector<DueReminder> m_waiting;  // found while the user was busy
};
