// The "提醒" window under Wine with the reminder clock's seams: due at its minute without taking the
// focus, snoozed and back, a line's month; missed ones held while busy, and not after a restart.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/reminder_dlg.h"
#include "notes/note_files.h"
#include "notes/note_list.h"
#include "platform/dpi.h"
#include "tests/support/gui_test.h"
#include "tests/support/temp_tree.h"

namespace {

int64_t g_now = 0;
bool g_busy = false;

std::wstring Text(HWND hwnd, int id = 0) {
    wchar_t text[256] = {};
    if (id == CReminderWindow::kIdList) SendDlgItemMessageW(hwnd, id, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(text));
    else GetWindowTextW(id ? GetDlgItem(hwnd, id) : hwnd, text, 256);
    return text;
}

// Adds to the dated note of minute's day a reminder at that minute, then a line that is none.
std::wstring WriteNote(int64_t minute, const char* text) {
    const LocalMinute t = LocalMinuteOf(minute);
    char line[128];
    std::snprintf(line, sizeof line, "%02d:%02d %s", t.hour, t.minute, text);
    NoteList list;
    list.OpenDated(t.date.year, t.date.month);
    const NoteEntry& old = list.Entry(t.date.day);
    const std::string note = (old.Present() ? std::string(old.text.get(), old.length) + "\r\n" : "") + line + "\r\n不是提醒";
    EXPECT_TRUE(list.SetEntry(t.date.day, note.data(), static_cast<int>(note.size()), 0));
    return WideFromGbk(line);
}

TEST(ReminderWindow, DueMissedSnoozedAndShownOnce) {
    const std::string root = testtree::FreshFolder("vestrel-remind", "notes");
    ASSERT_TRUE(SetUpNoteRoot(root.c_str()));
    ReminderClock::Seams& seams = ReminderClock::TestSeams();
    seams = {[] { return g_now; }, [] { return g_busy; }, 90, root + "-shown.txt"};
    DeleteFileW(testtree::W(seams.recordPath).c_str());
    const int64_t next = SystemLocalSeconds() / 60 + 1;
    const std::wstring missedLine = WriteNote(next - 30, "交报告"), dueLine = WriteNote(next, "复查会议");
    WriteNote(next - 25 * 60, "太早");  // more than 24 hours before: not missed
    guitest::HostWindow host(300, 120);
    const HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 10, 10, 200, 24, host.hwnd(), nullptr,
                                      nullptr, nullptr);
    SetForegroundWindow(host.hwnd());
    SetFocus(edit);
    ASSERT_EQ(GetForegroundWindow(), host.hwnd());
    int shownMonth = 0;
    {
        CReminderWindow reminders([&](int y, int m) { shownMonth = y * 100 + m; });
        g_now = next * 60 - 5;
        g_busy = true;  // a full-screen program: the missed one waits
        reminders.Tick();
        EXPECT_EQ(reminders.Window(), nullptr);
        g_busy = false;
        g_now += 1;
        reminders.Tick();
        ASSERT_NE(reminders.Window(), nullptr);
        EXPECT_EQ(Text(reminders.Window(), CReminderWindow::kIdHeading), WideFromGbk("错过的提醒"));
        EXPECT_EQ(Text(reminders.Window(), CReminderWindow::kIdList).find(WideFromGbk("错过 ")), 0u);
        EXPECT_NE(Text(reminders.Window(), CReminderWindow::kIdList).find(missedLine), std::wstring::npos);
        EXPECT_EQ(GetFocus(), edit);
        SendDlgItemMessageW(reminders.Window(), CReminderWindow::kIdDone, BM_CLICK, 0, 0);  // clicked: active
        EXPECT_EQ(reminders.Window(), nullptr);
        SetForegroundWindow(host.hwnd());  // back to typing
        SetFocus(edit);

        g_now = next * 60;  // the minute: shown without taking the focus
        reminders.Tick();
        const HWND window = reminders.Window();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(FindWindowW(L"VestrelReminder", WideFromGbk("提醒").c_str()), window);
        EXPECT_TRUE(IsWindowVisible(window) && (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST));
        EXPECT_EQ(GetFocus(), edit);
        EXPECT_EQ(GetForegroundWindow(), host.hwnd());
        EXPECT_EQ(Text(window, CReminderWindow::kIdHeading), WideFromGbk("到时间的提醒"));
        EXPECT_NE(Text(window, CReminderWindow::kIdList).find(dueLine), std::wstring::npos);
        EXPECT_EQ(SendDlgItemMessageW(window, CReminderWindow::kIdList, LB_GETCOUNT, 0, 0), 1);
        guitest::PumpPending();
        RECT client{};  // laid out at the screen's scale
        GetClientRect(window, &client);
        EXPECT_EQ(client.right, Scale(380, WindowDpi(window)));
        guitest::SavePng(guitest::CaptureWindow(window), "reminder-window-" + std::to_string(WindowDpi(window)));
        SendDlgItemMessageW(window, CReminderWindow::kIdList, LB_SETCURSEL, 0, 0);
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(CReminderWindow::kIdList, LBN_SELCHANGE), 0);
        const LocalMinute due = LocalMinuteOf(next);
        EXPECT_EQ(shownMonth, due.date.year * 100 + due.date.month);

        SendDlgItemMessageW(window, CReminderWindow::kIdSnooze, BM_CLICK, 0, 0);  // back after 90 s, once
        EXPECT_FALSE(IsWindow(window));
        for (const int64_t later : {1, 89, 90, 700}) {
            g_now = next * 60 + later;
            reminders.Tick();
            EXPECT_EQ(reminders.Window() != nullptr, later == 90) << later;
            if (reminders.Window()) {
                EXPECT_NE(Text(reminders.Window(), CReminderWindow::kIdList).find(dueLine), std::wstring::npos);
                SendDlgItemMessageW(reminders.Window(), CReminderWindow::kIdDone, BM_CLICK, 0, 0);
            }
        }
    }
    // The record holds times and hashes, not the text; a restart shows neither again.
    const FileBytes record = ReadWholeFile(seams.recordPath, ReadFrom::Disk);
    ASSERT_EQ(record.status, ReadStatus::Ok);
    const std::string bytes(record.data.get(), static_cast<size_t>(record.size));
    EXPECT_EQ(bytes.find("交报告"), std::string::npos);
    EXPECT_EQ(ShownReminders::Parse(bytes).Size(), 2u);
    CReminderWindow restarted(nullptr);
    restarted.Tick();
    EXPECT_EQ(restarted.Window(), nullptr);
    DeleteFileW(testtree::W(seams.recordPath).c_str());
    seams = ReminderClock::Seams{};
    testtree::RemoveTree(root);
}

}  // namespace
