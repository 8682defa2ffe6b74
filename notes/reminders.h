// Reminders: the lines of a note that begin with a time, the minutes at which they fall, which of
// them a check of the clock finds due or missed, the snoozed ones, and the record of those already
// shown. Portable: no clock, file or window here. The caller reads the clock, loads the note lists
// that NoteKeysBetween names, shows what DueReminders answers and keeps the record's bytes.
//
// Local times are counted in minutes since 0001-01-01 00:00 (MinuteNumber); a time to the second
// is its minute number times 60 plus the second. Note text is GBK bytes as stored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "calendar/gregorian.h"
#include "notes/note_codec.h"

// ---------------------------------------------------------------------------------------------
// Local time

constexpr int kMinutesPerDay = 1440;

// Minutes since 0001-01-01 00:00 of hour:minute (0 ... 23, 0 ... 59) of a valid date; -1 otherwise.
int64_t MinuteNumber(int year, int month, int day, int hour, int minute);

// Seconds since 0001-01-01 00:00:00 of a local time as a clock gives it (second 0 ... 59); -1 when
// MinuteNumber answers -1.
int64_t SecondNumber(int year, int month, int day, int hour, int minute, int second);

struct LocalMinute {
    SolarDate date;
    int hour;
    int minute;
};

// The date and time of a minute number; all zero for a number that MinuteNumber does not answer.
LocalMinute LocalMinuteOf(int64_t minuteNumber);

// The days reminders fall on are those of the calendar: 1900-02-01 00:00 ... 2100-12-31 23:59.
constexpr int64_t kFirstReminderMinute = 998821440;  // MinuteNumber(1900, 2, 1, 0, 0)
constexpr int64_t kEndReminderMinute = 1104492960;   // MinuteNumber(2101, 1, 1, 0, 0): after the range

// ---------------------------------------------------------------------------------------------
// Reminder lines

// A line of a note that begins with a time.
struct Reminder {
    int hour;          // 0 ... 23
    int minute;        // 0 ... 59
    std::string line;  // the whole line, time included, without its line end (GBK)
};

// The time a line begins with: an hour of one or two digits (0 ... 23), a colon, two minute digits
// (00 ... 59), then anything but a further digit -- a blank (space, tab, full-width space), the
// text itself, or the end of the line. Each digit may be half-width or full-width (GBK A3B0 ...
// A3B9), the colon ':' or '：' (A3BA), in any mix. "24:00", "9:3", "25:10", "9:300", " 9:30" (a
// blank first) and a time later in the line are no reminders.
bool ParseReminderTime(std::string_view line, int* hour, int* minute);

// The reminders of a note's text, in line order. Lines end at LF or CR LF (a lone CR stays in its
// line); the text ends at its first NUL byte, as an edit control shows it.
std::vector<Reminder> ParseReminders(std::string_view text);

// The text without its reminder lines, the other lines as they stood with their own line ends; when
// the last line was a reminder, the line end before it goes too. "" when every line is a reminder.
// The export keeps this as the note's all-day event.
std::string UntimedText(std::string_view text);

// "-HHMM" (e.g. "-0930"), appended to a note's UID for the timed event of a reminder.
std::string ReminderUidSuffix(int hour, int minute);

// ---------------------------------------------------------------------------------------------
// Where a note's reminders fall

// The slot of a note, as its list file keys it:
//   Day          year, month, slot = day of the month
//   SolarYearly  month, slot = day: every year that has the date (29 February in leap years only,
//                as the grid and the export show it: never moved to 28 February or 1 March)
//   LunarYearly  month = lunar month number, slot = lunar day 1 ... 30: in the ordinary month and in
//                the leap month of that number; day 30 falls on day 29 of a 29-day month
//   Weekly       slot = weekday, 0 = Sunday ... 6 = Saturday (slot 7 falls on no day)
// year is looked at for Day notes only, month for all but Weekly notes.
struct NoteKey {
    NoteKind kind;
    int year;
    int month;
    int slot;
    bool operator==(const NoteKey& o) const {
        return kind == o.kind && year == o.year && month == o.month && slot == o.slot;
    }
};

// True when the note of key applies on day (a date of the reminder range).
bool NoteFallsOn(const NoteKey& key, const SolarDate& day);

// The keys of every slot whose note applies on a day that the minutes [from, to) touch, within the
// reminder range: per day, its dated, Gregorian-yearly, lunar-yearly (also day 30 on day 29 of a
// 29-day month) and weekly slot, each key once, by day. Yearly and weekly keys carry year 0, weekly
// keys month 0.
std::vector<NoteKey> NoteKeysBetween(int64_t from, int64_t to);

struct Occurrence {
    int64_t minute;   // MinuteNumber of the day the note applies on, at the reminder's time
    size_t reminder;  // index into the reminders given
};

// The minutes in [from, to), and inside the reminder range, at which the reminders of a note of key
// fall; by minute, reminders of one minute in their order.
std::vector<Occurrence> ReminderOccurrences(const NoteKey& key, const std::vector<Reminder>& reminders,
                                            int64_t from, int64_t to);

// ---------------------------------------------------------------------------------------------
// Checks of the clock

// The last checked time before the first check of a run.
constexpr int64_t kNotChecked = std::numeric_limits<int64_t>::min();
// Checks further apart than this (the program was not running, the PC slept, the clock jumped
// forward) find the reminders between them missed, not due.
constexpr int64_t kLateCheckSeconds = 120;
// Missed reminders are those of the last 24 hours at most.
constexpr int64_t kMissedMinutes = kMinutesPerDay;

// The minutes a check looks at: [missedFrom, dueFrom) missed, [dueFrom, to) due.
struct CheckWindow {
    int64_t missedFrom;
    int64_t dueFrom;
    int64_t to;
    bool Empty() const { return missedFrom >= to; }
};

// The window of a check at nowSecond after one at lastSecond (kNotChecked for the first), both
// seconds taken within 0001-01-01 ... the end of kLastYear:
//   - first check: the 24 hours before the current minute missed (exactly 24 hours ago included),
//     the current minute due;
//   - at most kLateCheckSeconds later: the minutes after the last check's up to the current one due;
//   - later than that: the minutes after the last check's, but within the last 24 hours, up to
//     the current one missed, the current minute due;
//   - earlier (the clock went back), or in the same minute: nothing.
CheckWindow ReminderCheckWindow(int64_t lastSecond, int64_t nowSecond);

// FNV-1a (64 bits) of the line's bytes: what the shown record keeps instead of the text.
uint64_t ReminderLineHash(std::string_view line);

// A reminder a check found, or one snoozed.
struct DueReminder {
    int64_t minute;    // its time, a minute number
    std::string line;  // the note's line (GBK)
    uint64_t hash;     // ReminderLineHash(line)
    bool missed;       // in the missed part of the check's window
};

// Whether reminders holds one for the same minute and line (as ShownReminders tells them apart).
bool HoldsReminder(const std::vector<DueReminder>& reminders, const DueReminder& r);

// The reminders shown lately, by time and line hash; serialised as one line per reminder,
// "YYYY-MM-DD HH:MM hhhhhhhhhhhhhhhh" (16 lower-case hex digits of the hash), LF-terminated.
class ShownReminders {
public:
    static constexpr size_t kMaxEntries = 4096;          // the oldest goes when one more is added
    static constexpr size_t kMaxBytes = 256 * 1024;      // Parse reads no further
    static constexpr int64_t kKeepMinutes = 2 * kMinutesPerDay;

    bool Contains(int64_t minute, uint64_t hash) const { return entries_.count({minute, hash}) != 0; }
    void Add(int64_t minute, uint64_t hash);
    void Add(const DueReminder& r) { Add(r.minute, r.hash); }
    // Drops the entries of times more than two days before nowMinute.
    void Prune(int64_t nowMinute);
    size_t Size() const { return entries_.size(); }

    std::string Serialise() const;
    // The entries of the record's bytes: lines not of the form above, of no valid date and time, or
    // past kMaxBytes are passed over; CR LF line ends are taken too.
    static ShownReminders Parse(std::string_view bytes);

private:
    std::set<std::pair<int64_t, uint64_t>> entries_;
};

// A note as the check sees it: its slot and its text (GBK).
struct NoteReminders {
    NoteKey key;
    std::string text;
};

// The reminders of notes that fall in the window and are not in shown, by minute (notes and lines
// of one minute in their order); a line that two notes give at one minute once.
std::vector<DueReminder> DueReminders(const std::vector<NoteReminders>& notes, const CheckWindow& window,
                                      const ShownReminders& shown);

// Reminders put off by "remind again later". Times here are to the second.
class SnoozedReminders {
public:
    static constexpr int64_t kDefaultSeconds = 10 * 60;
    static constexpr int64_t kMaxSnoozeSeconds = 366 * 86400;

    // The reminders come back `seconds` after nowSecond (1 ... kMaxSnoozeSeconds).
    void Snooze(const std::vector<DueReminder>& reminders, int64_t nowSecond, int64_t seconds = kDefaultSeconds);
    // Takes out those whose time has come at nowSecond, in the order they were snoozed; all of them
    // when the clock has gone back before the time they were snoozed at.
    std::vector<DueReminder> TakeDue(int64_t nowSecond);
    bool Empty() const { return entries_.empty(); }

private:
    struct Entry {
        int64_t snoozedAt;
        int64_t backAt;
        DueReminder reminder;
    };
    std::vector<Entry> entries_;
};
