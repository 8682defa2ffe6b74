// CReminderWindow: the "提醒" window. Each second it asks the reminder clock what is due and lists
// it -- date, time and the note's line -- in one window above the others, shown without taking
// the focus from what the user is typing, with the system's notification sound. "知道了" closes
// it, "10分钟后提醒" brings every listed reminder back later, a click on a line shows that day's
// month. Reminders found while it is open join its list.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "app/reminder_clock.h"
#include "framework/dpi_scaled.h"
#include "platform/handles.h"

class CReminderWindow : protected CDpiScaled {
public:
    using ShowMonth = std::function<void(int year, int month)>;
    explicit CReminderWindow(ShowMonth showMonth) : m_showMonth(std::move(showMonth)) {}
    ~CReminderWindow();
    CReminderWindow(const CReminderWindow&) = delete;
    CReminderWindow& operator=(const CReminderWindow&) = delete;

    // The main window's one-second timer.
    void Tick();

    enum : int { kIdHeading = 101, kIdList = 102, kIdDone = 103, kIdSnooze = 104 };
    // The window while it is open, else null.
    HWND Window() const { return m_hwnd; }
    const std::vector<DueReminder>& Listed() const { return m_listed; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Open();
    void Add(std::vector<DueReminder> reminders);
    void Layout();
    void OnCommand(int id, int code);
    void Close();

    ShowMonth m_showMonth;
    ReminderClock m_clock;
    HWND m_hwnd = nullptr;
    HFONT m_font = nullptr;
    std::vector<DueReminder> m_listed;
};
