// The "提醒" window under Wine with the reminder clock's seams: a reminder at its minute, shown
// without taking the focus from an edit being typed into, snoozed and back; missed reminders
// headed as such, held back while the user is busy, and not shown again after a restart.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/reminder_dlg.h"
#include "notes/note_files.h"
#include "notes/note_list.h"
#include "tests/support/gui_test.h"
#include "tests/support/temp_tree.h"

namespace {

int64_t g_now = 0;
bool g_busy = false;
int64_t TestClock() { return g_now; }
bool TestBusy() { return g_busy; }

std::wstring Text(HWND hwnd) {
    wchar_t text[256] = {};
    GetWindowTextW(hwnd, text, 256);
    return text;
}

class ReminderWindow : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = testtree::FreshFolder("vestrel-remind", ::testing::UnitTest::GetInstance()->current_test_info()->name());
        ASSERT_TRUE(SetUpNoteRoot(root_.c_str()));
        ReminderClock::Seams& seams = ReminderClock::TestSeams();
        seams.clock = TestClock;
        seams.busy = TestBusy;
        seams.snoozeSeconds = 90;
        seams.recordPath = root_ + "-reminders.txt";
        DeleteFileW(testtree::W(seams.recordPath).c_str());
        g_busy = false;
    }
    void TearDown() override {
        DeleteFileW(testtree::W(ReminderClock::TestSeams().recordPath).c_str());
        ReminderClock::TestSeams() = ReminderClock::Seams{};
        testtree::RemoveTree(root_);
    }
    // A dated note on the day of minute whose first line is a reminder at that minute.
    std::string WriteNote(int64_t minute, const char* text) {
        const LocalMinute t = LocalMinuteOf(minute);
        char line[128];
        std::snprintf(line, sizeof line, "%02d:%02d %s", t.hour, t.minute, text);
        const std::string note = std::string(line) + "\r\n不是提醒的一行";
        NoteList list;
        list.OpenDated(t.date.year, t.date.month);
        EXPECT_TRUE(list.SetEntry(t.date.day, note.data(), static_cast<int>(note.size()), 0));
        return line;
    }
    static std::wstring Item(HWND window, int index) {
        wchar_t text[256] = {};
        SendDlgItemMessageW(window, CReminderWindow::kIdList, LB_GETTEXT, static_cast<WPARAM>(index),
                            reinterpret_cast<LPARAM>(text));
        return text;
    }
    static int Items(HWND window) {
        return static_cast<int>(SendDlgItemMessageW(window, CReminderWindow::kIdList, LB_GETCOUNT, 0, 0));
    }

    std::string root_;
};

TEST_F(ReminderWindow, DueAtItsMinuteKeepsTheFocusAndComesBackAfterTheSnooze) {
    const int64_t next = SystemLocalSeconds() / 60 + 1;
    const std::string line = WriteNote(next, "复查会议");
    guitest::HostWindow host(300, 120);
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 200, 24, host.hwnd(),
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(host.hwnd());
    SetFocus(edit);
    ASSERT_EQ(GetFocus(), edit);

    int year = 0, month = 0;
    CReminderWindow reminders([&](int y, int m) { year = y, month = m; });
    g_now = next * 60 - 5;  // the first look: 24 hours missed and this minute, nothing due yet
    reminders.Tick();
    EXPECT_EQ(reminders.Window(), nullptr);
    g_now = next * 60;
    reminders.Tick();
    const HWND window = reminders.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(FindWindowW(L"VestrelReminder", WideFromGbk("提醒").c_str()), window);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(GetForegroundWindow(), host.hwnd());
    SendMessageW(edit, WM_CHAR, L'x', 0);  // the typing still goes where it went
    EXPECT_EQ(Text(edit), L"x");
    EXPECT_EQ(Text(GetDlgItem(window, CReminderWindow::kIdHeading)), WideFromGbk("到时间的提醒"));
    ASSERT_EQ(Items(window), 1);
    EXPECT_NE(Item(window, 0).find(WideFromGbk(line)), std::wstring::npos) << Utf8FromWide(Item(window, 0));
    guitest::PumpPending();
    guitest::SavePng(guitest::CaptureWindow(window), "reminder-window");

    // A click on the line shows its month.
    SendDlgItemMessageW(window, CReminderWindow::kIdList, LB_SETCURSEL, 0, 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(CReminderWindow::kIdList, LBN_SELCHANGE), 0);
    const LocalMinute due = LocalMinuteOf(next);
    EXPECT_EQ(year * 100 + month, due.date.year * 100 + due.date.month);

    // Snoozed: back after the interval, not before, and once.
    SendDlgItemMessageW(window, CReminderWindow::kIdSnooze, BM_CLICK, 0, 0);
    EXPECT_EQ(reminders.Window(), nullptr);
    EXPECT_FALSE(IsWindow(window));
    for (const int64_t later : {1, 30, 89}) {
        g_now = next * 60 + later;
        reminders.Tick();
        EXPECT_EQ(reminders.Window(), nullptr) << later;
    }
    g_now = next * 60 + 90;
    reminders.Tick();
    ASSERT_NE(reminders.Window(), nullptr);
    EXPECT_EQ(Items(reminders.Window()), 1);
    SendDlgItemMessageW(reminders.Window(), CReminderWindow::kIdDone, BM_CLICK, 0, 0);
    EXPECT_EQ(reminders.Window(), nullptr);
    g_now += 600;
    reminders.Tick();
    EXPECT_EQ(reminders.Window(), nullptr);
}

TEST_F(ReminderWindow, MissedOnesShowOnceWhenTheUserIsFreeAndNotAfterARestart) {
    const int64_t now = SystemLocalSeconds();
    const std::string line = WriteNote(now / 60 - 30, "交报告");
    WriteNote(now / 60 - 25 * 60, "太早");  // more than 24 hours ago: not missed
    g_now = now;
    {
        CReminderWindow reminders(nullptr);
        g_busy = true;  // a full-screen program: they wait
        reminders.Tick();
        EXPECT_EQ(reminders.Window(), nullptr);
        g_busy = false;
        g_now += 1;
        reminders.Tick();
        const HWND window = reminders.Window();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(Text(GetDlgItem(window, CReminderWindow::kIdHeading)), WideFromGbk("错过的提醒"));
        ASSERT_EQ(Items(window), 1);
        EXPECT_NE(Item(window, 0).find(WideFromGbk(line)), std::wstring::npos) << Utf8FromWide(Item(window, 0));
        EXPECT_EQ(Item(window, 0).rfind(WideFromGbk("错过"), 0), 0u);
        SendDlgItemMessageW(window, CReminderWindow::kIdDone, BM_CLICK, 0, 0);
        EXPECT_FALSE(IsWindow(window));
    }
    // The record holds the time and a hash, not the text.
    const FileBytes record = ReadWholeFile(ReminderClock::TestSeams().recordPath, ReadFrom::Disk);
    ASSERT_EQ(record.status, ReadStatus::Ok);
    const std::string bytes(record.data.get(), static_cast<size_t>(record.size));
    EXPECT_EQ(bytes.find("交报告"), std::string::npos);
    EXPECT_EQ(ShownReminders::Parse(bytes).Size(), 1u);

    CReminderWindow restarted(nullptr);
    g_now += 5;
    restarted.Tick();
    EXPECT_EQ(restarted.Window(), nullptr);
}

}  // namespace
