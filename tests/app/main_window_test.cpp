// The main window under Wine, made modeless so the test can drive it: navigation limits and the
// box rule, position saving only after initialisation, the off-screen rule, the exit prompt's
// three choices, desktop attachment, and a second start.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/calendar_app.h"
#include "app/calendar_dlg.h"
#include "app/desktop.h"
#include "platform/settings.h"
#include "platform/wide_text.h"
#include "notes/memo_pad_dlg.h"
#include "notes/note_files.h"
#include "notes/note_list.h"
#include "res/resource.h"
#include "tests/support/gui_test.h"
#include "tests/support/temp_tree.h"
#include "tests/support/loopback_server.h"
#include "web/page_open.h"
#include "widgets/user_messages.h"
#include "tests/support/wide_test.h"

namespace {

int g_screenDpi = 0;  // --at-dpi=N: this run is the child of LaysOutAtTheScreensScale at N DPI

std::string Setting(const char* value) {
    char text[64];
    return ReadRegString(kSettingsKey, value, text, sizeof text) ? text : "<none>";
}

RECT WindowRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey); }
    void TearDown() override {
        if (dialog_.GetSafeHwnd()) dialog_.DestroyWindow();
        RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    }
    void Open() {
        ASSERT_TRUE(dialog_.Create(IDD_MAIN, nullptr));
        ASSERT_TRUE(dialog_.InitDone());
        guitest::PumpPending();
    }
    void Click(int id) { SendMessageA(dialog_.GetSafeHwnd(), WM_LABEL_CLICKED, static_cast<WPARAM>(id), 0); }
    void Choose(int yearIndex, int monthIndex) {
        SendDlgItemMessageA(dialog_.GetSafeHwnd(), IDC_YEAR_BOX, CB_SETCURSEL, static_cast<WPARAM>(yearIndex), 0);
        SendDlgItemMessageA(dialog_.GetSafeHwnd(), IDC_MONTH_BOX, CB_SETCURSEL, static_cast<WPARAM>(monthIndex), 0);
        SendMessageA(dialog_.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_YEAR_BOX, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog_.GetSafeHwnd(), IDC_YEAR_BOX)));
    }
    std::string Shown() const {
        return std::to_string(dialog_.State().shown.year) + "-" + std::to_string(dialog_.State().shown.month);
    }
    int Box(int id) const { return static_cast<int>(SendDlgItemMessageA(dialog_.GetSafeHwnd(), id, CB_GETCURSEL, 0, 0)); }

    CCalendarDlg dialog_;
};

TEST_F(MainWindow, NavigationLimitsBoxesAndToday) {
    Open();
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string today = std::to_string(now.wYear) + "-" + std::to_string(now.wMonth);
    EXPECT_EQ(Shown(), today);
    EXPECT_EQ(Box(IDC_YEAR_BOX), now.wYear - 1900);
    EXPECT_EQ(Box(IDC_MONTH_BOX), now.wMonth - 1);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog_.GetSafeHwnd(), IDC_TODAY)));

    // The limits and steps are the calendar state's (app_model_tests); here, the wiring: the boxes,
    // the buttons and the state agree.
    Choose(0, 0);  // January 1900 is not on offer: February
    EXPECT_EQ(Shown(), "1900-2");
    EXPECT_EQ(Box(IDC_MONTH_BOX), 1);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog_.GetSafeHwnd(), IDC_TODAY)));
    Click(IDC_NEXT_MONTH);
    EXPECT_EQ(Shown(), "1900-3");
    EXPECT_EQ(Box(IDC_MONTH_BOX), 2);
    EXPECT_EQ(SendDlgItemMessageA(dialog_.GetSafeHwnd(), IDC_YEAR_BOX, CB_GETCOUNT, 0, 0), 201);  // 1900 ... 2100
    Choose(200, 11);
    Click(IDC_PREV_MONTH);
    EXPECT_EQ(Shown(), "2100-11");
    EXPECT_EQ(Box(IDC_YEAR_BOX), 200);
    EXPECT_EQ(Box(IDC_MONTH_BOX), 10);
    Click(IDC_TODAY);
    EXPECT_EQ(Shown(), today);
    EXPECT_EQ(Box(IDC_YEAR_BOX), now.wYear - 1900);
    // Enter and Escape leave the window open.
    SendMessageA(dialog_.GetSafeHwnd(), WM_COMMAND, IDOK, 0);
    SendMessageA(dialog_.GetSafeHwnd(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(IsWindowVisible(dialog_.GetSafeHwnd()));
}

// The stored position is restored (and not written back while starting); later moves are saved
// and take the tab windows along. An unreachable one is replaced by (500, 300).
TEST_F(MainWindow, PositionIsRestoredSavedAfterStartAndKeptReachable) {
    WriteRegString(kSettingsKey, kValuePosX, "0123");
    WriteRegString(kSettingsKey, kValuePosY, "145");
    Open();
    RECT r = WindowRect(dialog_.GetSafeHwnd());
    EXPECT_EQ(r.left, 123);
    EXPECT_EQ(r.top, 145);
    EXPECT_EQ(r.right - r.left, 363);
    EXPECT_EQ(r.bottom - r.top, 278);
    EXPECT_EQ(Setting(kValuePosX), "0123");  // the start's own move wrote nothing

    MoveWindow(dialog_.GetSafeHwnd(), 200, 210, 363, 278, TRUE);
    EXPECT_EQ(Setting(kValuePosX), "200");
    EXPECT_EQ(Setting(kValuePosY), "210");
    const RECT memoTab = WindowRect(dialog_.MemoTab()->GetSafeHwnd());
    const RECT calendarTab = WindowRect(dialog_.CalendarTab()->GetSafeHwnd());
    EXPECT_EQ(memoTab.left, 200 + 363 + 10);
    EXPECT_EQ(memoTab.top, 210 + 278 - 18);
    EXPECT_EQ(memoTab.right - memoTab.left, 26);
    EXPECT_EQ(calendarTab.top, 210 + 278 - 54);
    // Moved to a monitor of another scale, a tab takes the rectangle it is given and its button grows.
    HWND tab = dialog_.MemoTab()->GetSafeHwnd();
    const RECT button = WindowRect(GetDlgItem(tab, IDC_TAB_BUTTON));
    RECT suggested{40, 50, 40 + 52, 50 + 36};
    SendMessageA(tab, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    const RECT now = WindowRect(tab), bigger = WindowRect(GetDlgItem(tab, IDC_TAB_BUTTON));
    EXPECT_TRUE(now.left == 40 && now.top == 50 && now.right == 92 && now.bottom == 86);
    EXPECT_EQ(bigger.right - bigger.left, 2 * (button.right - button.left));
    dialog_.DestroyWindow();

    struct { const char* x; const char* y; int left, top; } rows[] = {
        {"5000", "300", 500, 300},   // off every monitor
        {"-300", "40", -300, 40},    // partly off screen: stays
        {"12px", "40", 500, 300},    // not a whole number: missing
        {"60", nullptr, 60, 300},    // x without y
    };
    for (const auto& row : rows) {
        RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
        WriteRegString(kSettingsKey, kValuePosX, row.x);
        if (row.y) WriteRegString(kSettingsKey, kValuePosY, row.y);
        CCalendarDlg again;
        ASSERT_TRUE(again.Create(IDD_MAIN, nullptr));
        r = WindowRect(again.GetSafeHwnd());
        EXPECT_EQ(r.left, row.left) << row.x;
        EXPECT_EQ(r.top, row.top) << row.x;
        again.DestroyWindow();
    }
}

// Presses a button of the exit prompt once it is open (a thread timer: the prompt runs modally).
void AnswerPrompt(int id) {
    static int s_id;
    s_id = id;
    SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR timer, DWORD) {
        HWND prompt = widetest::FindWindowGbk(nullptr, "提示");
        if (prompt == nullptr || !IsWindowVisible(prompt)) return;
        KillTimer(nullptr, timer);
        if (s_id == IDCANCEL + 1000) {  // Escape
            PostMessageA(GetDlgItem(prompt, IDCANCEL), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        } else {
            guitest::ClickButton(prompt, s_id);
        }
    });
}

TEST_F(MainWindow, ExitPromptChoices) {
    HKEY run;
    RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &run, nullptr);
    RegCloseKey(run);
    struct { int button; bool ends; bool uninstalls; const char* what; } rows[] = {
        {IDCANCEL, false, false, "点错了，返回"},
        {IDCANCEL + 1000, false, false, "Escape"},
        {IDC_EXIT_END, true, false, "结束程序"},
        {IDC_EXIT_UNINSTALL, true, true, "卸载软件"},
    };
    for (const auto& r : rows) {
        CCalendarDlg dialog;
        ASSERT_TRUE(dialog.Create(IDD_MAIN, nullptr));
        char value[MAX_PATH + 3];
        ASSERT_TRUE(ReadRegString(kRunKey, kRunValue, value, sizeof value)) << "registered at start";
        AnswerPrompt(r.button);
        SendMessageA(dialog.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_MAIN_CLOSE, BN_CLICKED), 0);
        EXPECT_NE(IsWindowVisible(dialog.GetSafeHwnd()), r.ends) << r.what;  // an ended dialog is hidden
        EXPECT_NE(ReadRegString(kRunKey, kRunValue, value, sizeof value), r.uninstalls) << r.what;
        dialog.DestroyWindow();
    }
    // The "卸载" command removes the start-up value and ends at once.
    CCalendarDlg dialog;
    ASSERT_TRUE(dialog.Create(IDD_MAIN, nullptr));
    SendMessageA(dialog.GetSafeHwnd(), WM_COMMAND, ID_UNINSTALL, 0);
    char value[MAX_PATH + 3];
    EXPECT_FALSE(ReadRegString(kRunKey, kRunValue, value, sizeof value));
    EXPECT_FALSE(IsWindowVisible(dialog.GetSafeHwnd()));
    dialog.DestroyWindow();
}

// The prompt's two choices read as they should whatever the code page for non-Unicode programs
// (this test runs under zh_CN, en_US and zh_TW: gui_locales.wine).
TEST_F(MainWindow, ExitPromptReadsRightInAnyCodePage) {
    Open();
    std::string end, uninstall, back;
    guitest::OnNextDialog([&](HWND prompt) {
        end = guitest::ItemText(prompt, IDC_EXIT_END);
        uninstall = guitest::ItemText(prompt, IDC_EXIT_UNINSTALL);
        back = guitest::ItemText(prompt, IDCANCEL);
        guitest::SavePng(guitest::CaptureWindow(prompt), "exit-prompt");
        guitest::ClickButton(prompt, IDCANCEL);
    });
    SendMessageW(dialog_.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_MAIN_CLOSE, BN_CLICKED), 0);
    EXPECT_EQ(end, "结束程序");
    EXPECT_EQ(uninstall, "卸载软件");
    EXPECT_EQ(back, "点错了，返回");
    EXPECT_TRUE(IsWindowVisible(dialog_.GetSafeHwnd()));
}

// Starts this test program again with one argument (main() below runs the app for it).
bool StartThisTest(const char* argument, PROCESS_INFORMATION* pi) {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    std::string cmd = std::string("\"") + exe + "\" " + argument;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    return CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, pi) != FALSE;
}

// A test shell: a top-level window of class cls holding "SHELLDLL_DefView" > "SysListView32".
struct ShellWindow {
    HWND top = nullptr, view = nullptr, list = nullptr;
    ShellWindow(const char* cls, bool visible) {
        for (const char* name : {cls, "SHELLDLL_DefView", "SysListView32"}) {
            WNDCLASSA wc{};
            wc.lpfnWndProc = DefWindowProcA;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = name;
            RegisterClassA(&wc);  // already there on later calls
        }
        top = CreateWindowExA(0, cls, "", WS_POPUP | (visible ? WS_VISIBLE : 0), 0, 0, 800, 600, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
        view = CreateWindowExA(0, "SHELLDLL_DefView", "", WS_CHILD | WS_VISIBLE, 0, 0, 800, 600, top, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
        list = CreateWindowExA(0, "SysListView32", "", WS_CHILD | WS_VISIBLE, 0, 0, 800, 600, view, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    }
    ~ShellWindow() { DestroyWindow(top); }
};

TEST(DesktopAttachment, IconViewOfAVisibleWorkerWOrProgmanInAnyCase) {
    struct { const char* cls; bool visible; bool attaches; } rows[] = {
        {"WorkerW", true, true}, {"workerw", true, true}, {"PROGMAN", true, true},
        {"WorkerW", false, false}, {"ShellOther", true, false},
    };
    for (const auto& r : rows) {
        ShellWindow shell(r.cls, r.visible);
        HWND calendar = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        EnumWindows(DesktopEnumProc, reinterpret_cast<LPARAM>(calendar));
        // A pop-up keeps its style: GetParent would answer its owner, GetAncestor its parent.
        EXPECT_EQ(GetAncestor(calendar, GA_PARENT) == shell.view, r.attaches) << r.cls << (r.visible ? "" : " (hidden)");
        DestroyWindow(calendar);
    }
}

// The shell window ends and takes the calendar along: the program builds it again on the month
// it showed, as a plain desktop window, and attaches to the new shell when that announces itself.
TEST(ShellRestart, TheCalendarComesBackAndAttachesToTheNewShell) {
    auto shell = std::make_unique<ShellWindow>("Progman", true);
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(StartThisTest("--run-app", &pi));
    HWND first = nullptr;
    const auto attachedTo = [](HWND w, HWND parent) { return w != nullptr && GetAncestor(w, GA_PARENT) == parent; };
    EXPECT_TRUE(guitest::PumpUntil([&] { return attachedTo(first = FindRunningCalendar(), shell->view); }, 20000));
    PostMessageA(first, WM_LABEL_CLICKED, IDC_NEXT_MONTH, 0);
    int month = -1;
    ASSERT_TRUE(guitest::PumpUntil([&] {
        month = static_cast<int>(SendMessageA(GetDlgItem(first, IDC_MONTH_BOX), CB_GETCURSEL, 0, 0));
        SYSTEMTIME now;
        GetLocalTime(&now);
        return month == now.wMonth % 12;  // the month after this one
    }));
    shell.reset();  // the shell ends
    HWND second = nullptr;
    EXPECT_TRUE(guitest::PumpUntil(
        [&] { return (second = FindRunningCalendar()) != nullptr && second != first && IsWindowVisible(second); },
        20000));
    EXPECT_TRUE(attachedTo(second, GetDesktopWindow()));
    EXPECT_EQ(SendMessageA(GetDlgItem(second, IDC_MONTH_BOX), CB_GETCURSEL, 0, 0), month);
    shell = std::make_unique<ShellWindow>("Progman", true);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG, 2000,
                        &ignored);
    EXPECT_TRUE(guitest::PumpUntil([&] { return attachedTo(second, shell->view); }, 10000));
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

// Going to today tells the grid today's date even when today's month is already shown and the
// pointer rests on today's cell: a stale today in the grid is replaced.
TEST_F(MainWindow, GoToTodayTellsTheGridToday) {
    Open();
    SYSTEMTIME now;
    GetLocalTime(&now);
    const int stale = now.wDay == 1 ? 2 : 1;
    dialog_.Grid()->SetToday(now.wYear, now.wMonth, stale);
    POINT cell;
    dialog_.Grid()->GetCellOrigin(now.wDay, &cell);
    guitest::SendMouse(dialog_.Grid()->GetSafeHwnd(), WM_MOUSEMOVE, cell.x + 20, cell.y + 15);
    ASSERT_EQ(dialog_.Grid()->HotDay(), now.wDay);
    dialog_.GoToToday();
    EXPECT_EQ(dialog_.Grid()->TodayDay(), now.wDay);
}

// The popup of a day shows above the calendar and the pad after a note dialog has closed, without
// taking the focus, and goes with a month change and a move of the window.
TEST_F(MainWindow, PopupStaysOnTopAndGoesWithItsMonth) {
    Open();
    dialog_.ShowMemoPad();
    Choose(117, 0);  // January 2017
    NoteList list;
    list.OpenDated(2017, 1);
    ASSERT_TRUE(list.SetEntry(9, "popup note", 10, 0));
    Choose(2017 - kFirstShownYear, 0);
    ASSERT_EQ(Shown(), "2017-1");
    CMonthGrid* grid = dialog_.Grid();
    HWND popup = grid->Popup()->GetSafeHwnd();
    POINT cell;
    grid->GetCellOrigin(9, &cell);
    // The day dialog, found by its caption (the main window is a dialog too), is cancelled.
    SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR timer, DWORD) {
        HWND note = widetest::FindWindowGbk("#32770", "输入记事");
        if (note == nullptr || !IsWindowVisible(note)) return;
        KillTimer(nullptr, timer);
        guitest::ClickButton(note, IDCANCEL);
    });
    guitest::SendMouse(grid->GetSafeHwnd(), WM_LBUTTONUP, cell.x + 20, cell.y + 15);
    guitest::PumpPending();
    HWND active = GetActiveWindow();
    const auto hover = [&](int day) {
        POINT p;
        grid->GetCellOrigin(day, &p);
        guitest::SendMouse(grid->GetSafeHwnd(), WM_MOUSEMOVE, p.x + 20, p.y + 15);
    };
    hover(10);
    hover(9);
    ASSERT_TRUE(IsWindowVisible(popup));
    EXPECT_EQ(GetActiveWindow(), active);
    // Above the calendar and the pad: met first going down the z-order.
    int popupAt = -1, mainAt = -1, padAt = -1, i = 0;
    for (HWND w = GetTopWindow(nullptr); w != nullptr; w = GetWindow(w, GW_HWNDNEXT), ++i) {
        if (w == popup) popupAt = i;
        if (w == dialog_.GetSafeHwnd()) mainAt = i;
        if (w == dialog_.MemoPad()->GetSafeHwnd()) padAt = i;
    }
    EXPECT_GE(popupAt, 0);
    EXPECT_LT(popupAt, mainAt);
    EXPECT_LT(popupAt, padAt);
    Click(IDC_NEXT_MONTH);
    EXPECT_FALSE(IsWindowVisible(popup));
    Click(IDC_PREV_MONTH);
    hover(9);  // the same day again shows its popup
    ASSERT_TRUE(IsWindowVisible(popup));
    RECT r = WindowRect(dialog_.GetSafeHwnd());
    MoveWindow(dialog_.GetSafeHwnd(), r.left + 30, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    EXPECT_FALSE(IsWindowVisible(popup));
    list.SetEntry(9, "", 0, 0);
}

// A year typed into the year box is shown on Enter and when the box loses the focus; one out of
// range puts the shown year back. Only the focused box shows its text selected.
TEST_F(MainWindow, TypedYearAndOneSelectionAtATime) {
    Open();
    Choose(117, 4);  // May 2017
    HWND year = GetDlgItem(dialog_.GetSafeHwnd(), IDC_YEAR_BOX);
    HWND month = GetDlgItem(dialog_.GetSafeHwnd(), IDC_MONTH_BOX);
    const auto selected = [](HWND box) {
        DWORD start = 0, end = 0;
        SendMessageA(box, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return end > start;
    };
    const auto type = [&](const char* text, bool enter) {
        SetFocus(year);
        SetWindowTextW(year, WideFromGbk(text).c_str());
        if (enter) {
            SendMessageA(dialog_.GetSafeHwnd(), WM_COMMAND, IDOK, 0);
        } else {
            SetFocus(dialog_.Grid()->GetSafeHwnd());
        }
    };
    struct { const char* text; bool enter; const char* shown; const char* box; } rows[] = {
        {"2030", true, "2030-5", "2030年"},  {"1800", true, "2030-5", "2030年"},
        {"2031年", false, "2031-5", "2031年"}, {"abc", false, "2031-5", "2031年"},
        {"1900", true, "1900-5", "1900年"},
    };
    for (const auto& r : rows) {
        type(r.text, r.enter);
        EXPECT_EQ(Shown(), r.shown) << r.text;
        EXPECT_EQ(guitest::ItemText(dialog_.GetSafeHwnd(), IDC_YEAR_BOX), r.box) << r.text;
    }
    SetFocus(year);
    Click(IDC_NEXT_MONTH);
    EXPECT_FALSE(selected(month));
    SetFocus(month);
    Click(IDC_NEXT_MONTH);
    EXPECT_FALSE(selected(year));
    EXPECT_EQ(Shown(), "1900-7");
}

// The wheel over the grid moves a month a notch (up = earlier, half notches add up); Page Up,
// Page Down and Home in a box with its list closed, on "-", or in the window, move too; all within the
// range. A box whose list is open keeps its keys.
TEST_F(MainWindow, WheelAndKeysMoveThroughMonths) {
    Open();
    HWND grid = dialog_.Grid()->GetSafeHwnd();
    const RECT g = WindowRect(grid);
    const auto wheel = [&](int delta, int dy) {
        SendMessageA(grid, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(g.left + 60, g.top + dy));
    };
    Choose(117, 0);  // January 2017
    struct { int delta, dy; const char* shown; } notches[] = {
        {WHEEL_DELTA, 60, "2016-12"}, {-2 * WHEEL_DELTA, 60, "2017-2"}, {-WHEEL_DELTA / 2, 60, "2017-2"},
        {-WHEEL_DELTA / 2, 60, "2017-3"}, {-WHEEL_DELTA, -10, "2017-3"},  // above the grid: nothing
    };
    for (const auto& n : notches) {
        wheel(n.delta, n.dy);
        EXPECT_EQ(Shown(), n.shown) << n.delta;
    }
    EXPECT_EQ(Box(IDC_MONTH_BOX), 2);
    Choose(0, 1);
    wheel(WHEEL_DELTA, 60);
    EXPECT_EQ(Shown(), "1900-2");
    // The wheel goes to the window with the focus: a box hands it on while the pointer is over the grid.
    HWND yearEdit = GetDlgItem(GetDlgItem(dialog_.GetSafeHwnd(), IDC_YEAR_BOX), 1001);
    SendMessageA(yearEdit, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(g.left + 60, g.top + 60));
    EXPECT_EQ(Shown(), "1900-3");
    Choose(0, 1);

    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string today = std::to_string(now.wYear) + "-" + std::to_string(now.wMonth);
    const YearMonth before = StepMonth(YearMonth{now.wYear, now.wMonth}, -1);
    const std::string monthBefore = std::to_string(before.year) + "-" + std::to_string(before.month);
    HWND year = GetDlgItem(dialog_.GetSafeHwnd(), IDC_YEAR_BOX);
    HWND month = GetDlgItem(dialog_.GetSafeHwnd(), IDC_MONTH_BOX);
    const auto press = [&](HWND to, bool open, UINT key) {
        if (to != dialog_.GetSafeHwnd()) SetFocus(to);
        if (open) SendMessageA(to, CB_SHOWDROPDOWN, TRUE, 0);
        SendMessageA(to, WM_KEYDOWN, key, 1);
        if (open) SendMessageA(to, CB_SHOWDROPDOWN, FALSE, 0);
    };
    struct { HWND to; UINT key; const char* shown; } keys[] = {
        {year, VK_NEXT, "1900-3"}, {month, VK_NEXT, "1900-4"}, {month, VK_PRIOR, "1900-3"},
        {year, VK_HOME, today.c_str()}, {dialog_.GetSafeHwnd(), VK_PRIOR, monthBefore.c_str()},
        {GetDlgItem(dialog_.GetSafeHwnd(), IDC_MAIN_HIDE), VK_NEXT, today.c_str()},  // "-" clicked before
    };
    for (const auto& k : keys) {
        press(k.to, false, k.key);
        EXPECT_EQ(Shown(), k.shown) << k.key;
    }
    // An open list pages through its years, and Home there does not go to today.
    Choose(0, 2);
    press(year, true, VK_NEXT);
    EXPECT_GT(Box(IDC_YEAR_BOX), 1);
    const std::string paged = Shown();
    EXPECT_EQ(paged, std::to_string(1900 + Box(IDC_YEAR_BOX)) + "-3");
    press(month, true, VK_HOME);
    EXPECT_EQ(Shown(), paged);
}

// Every child of a dialog lies inside its client area, clear of every other, and every line shows
// its whole text.
void ExpectEveryLineWhole(HWND dialog) {
    RECT client;
    GetClientRect(dialog, &client);
    std::vector<RECT> seen;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT r = WindowRect(c), inside;
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_TRUE(IntersectRect(&inside, &r, &client) && EqualRect(&inside, &r)) << GetDlgCtrlID(c);
        for (const RECT& other : seen) EXPECT_FALSE(IntersectRect(&inside, &r, &other)) << GetDlgCtrlID(c);
        seen.push_back(r);
        char cls[16] = "", text[128] = "";
        GetClassNameA(c, cls, sizeof cls);
        widetest::GetWindowTextGbk(c, text, sizeof text);
        if (_stricmp(cls, "Static") != 0 || text[0] == 0) continue;
        HDC dc = GetDC(c);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(c, WM_GETFONT, 0, 0)));
        RECT need{0, 0, 0, 0};
        DrawTextW(dc, WideFromGbk(text).c_str(), -1, &need, DT_CALCRECT | DT_SINGLELINE);
        SelectObject(dc, old);
        ReleaseDC(c, dc);
        EXPECT_TRUE(need.right <= r.right - r.left && need.bottom <= r.bottom - r.top)
            << text << ": " << need.right << "x" << need.bottom << " in " << r.right - r.left << "x" << r.bottom - r.top;
    }
}

// At 144 and 192 DPI (scripts/wine-at-dpi.sh runs this test with --at-dpi=N in a prefix copy whose
// LogPixels is N) the window is 363 x 278 scaled, no two of its controls overlap, the grid is laid
// out at that scale and a point at a scaled cell's centre is on that day.
TEST_F(MainWindow, LaysOutAtTheScreensScale) {
    if (g_screenDpi == 0) GTEST_SKIP() << "run at 144 and 192 DPI by the main_window_dpi test";
    Open();
    const int dpi = g_screenDpi;
    HWND main = dialog_.GetSafeHwnd();
    ASSERT_EQ(WindowDpi(main), dpi);
    const RECT r = WindowRect(main);
    EXPECT_NEAR(r.right - r.left, Scale(363, dpi), 1);
    EXPECT_NEAR(r.bottom - r.top, Scale(278, dpi), 1);
    Choose(117, 0);  // January 2017
    std::vector<RECT> controls;
    for (HWND c = GetWindow(main, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (IsWindowVisible(c)) controls.push_back(WindowRect(c));
    EXPECT_GE(controls.size(), 7u);  // boxes, "-", "x", "上月", "下月", "返回", the grid
    for (size_t i = 0; i < controls.size(); ++i)
        for (size_t j = i + 1; j < controls.size(); ++j) {
            RECT both;
            EXPECT_FALSE(IntersectRect(&both, &controls[i], &controls[j])) << dpi << ": controls " << i << ", " << j;
        }
    EXPECT_EQ(dialog_.Grid()->Dpi(), dpi);
    const CellBox cell = CellRect(3, 2, dpi);  // the 18th
    guitest::SendMouse(dialog_.Grid()->GetSafeHwnd(), WM_MOUSEMOVE, (cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
    EXPECT_EQ(dialog_.Grid()->HotDay(), 18);
    dialog_.Grid()->HidePopup();
    SetWindowPos(main, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);  // all of it on the screen
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    guitest::SavePng(guitest::CaptureWindow(main), "main-2017-01-dpi" + std::to_string(dpi));

    // A click there opens that day's notes; every line of the dialog shows its whole text, and
    // everything lies inside the dialog.
    std::string dateLine;
    guitest::OnNextDialog([&](HWND note) {
        dateLine = guitest::ItemText(note, 1032);
        ExpectEveryLineWhole(note);
        guitest::SavePng(guitest::CaptureWindow(note), "day-note-dialog-dpi" + std::to_string(dpi));
        guitest::ClickButton(note, IDCANCEL);
    });
    guitest::SendMouse(dialog_.Grid()->GetSafeHwnd(), WM_LBUTTONUP, (cell.left + cell.right) / 2,
                       (cell.top + cell.bottom) / 2);
    EXPECT_EQ(dateLine.rfind("2017年1月18日", 0), 0u) << dateLine;

    // A month of 2027 (no notice built in): its line whole, in the window, left of "下一篇".
    Choose(2027 - kFirstShownYear, 1);
    HWND line = dialog_.Holidays().Line();
    const RECT l = WindowRect(line), next = WindowRect(GetDlgItem(main, IDC_NEXT_HEADLINE)), window = WindowRect(main);
    const std::wstring text = WindowTextOf(line);
    HDC dc = GetDC(line);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(line, WM_GETFONT, 0, 0)));
    SIZE need{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &need);
    SelectObject(dc, old);
    ReleaseDC(line, dc);
    EXPECT_TRUE(IsWindowVisible(line) && l.left >= window.left && l.right < next.left && l.bottom <= window.bottom &&
                need.cx <= l.right - l.left && need.cy <= l.bottom - l.top && need.cx > Scale(100, dpi))
        << dpi << ": " << need.cx << "x" << need.cy << " in " << l.right - l.left << "x" << l.bottom - l.top;
    guitest::SavePng(guitest::CaptureWindow(main), "main-2027-02-dpi" + std::to_string(dpi));

    // A notice at this scale: its whole text in view above "知道了", both inside the window.
    TakeNotices();
    TellUser("记事文件“日历\\202701”已损坏：只显示损坏处之前的记事。下次修改这个文件里的记事时，原文件会保留为"
             "“日历\\202701.damaged”，放在它旁边。");
    dialog_.SendMessage(WM_TIMER, 1, 0);
    const HWND notice = dialog_.Folders().Notices().Window();
    ASSERT_NE(notice, nullptr);
    const HWND edit = GetDlgItem(notice, CNoticeWindow::kIdText), done = GetDlgItem(notice, CNoticeWindow::kIdDone);
    RECT client{}, e = WindowRect(edit), d = WindowRect(done), both{};
    GetClientRect(edit, &client);
    const LRESULT end = SendMessageW(edit, EM_POSFROMCHAR, static_cast<WPARAM>(GetWindowTextLengthW(edit) - 1), 0);
    EXPECT_TRUE(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0) == 0 && HIWORD(end) + Scale(13, dpi) <= client.bottom &&
                !IntersectRect(&both, &e, &d) && d.bottom <= WindowRect(notice).bottom)
        << dpi << ": last character at " << HIWORD(end) << " of " << client.bottom;
    guitest::SavePng(guitest::CaptureWindow(notice), "notice-window-dpi" + std::to_string(dpi));
}

// A day's details at the screen's scale (96 here, 144 and 192 in the main_window_dpi run): the
// popup names the term and what else is worth a glance whole, on a day without notes; the dialog
// shows the details line under the date line, every line whole, also the longest of all days.
TEST_F(MainWindow, DayDetailsAtTheScreensScale) {
    Open();
    const int dpi = g_screenDpi != 0 ? g_screenDpi : kBaseDpi;
    SetWindowPos(dialog_.GetSafeHwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
    CMonthGrid* grid = dialog_.Grid();
    const struct {
        int year, month, day;
        const char* popup;
        const char* details;
        const char* shot;
    } days[] = {
        {2026, 12, 22, "冬至 04:50 · 一九第1天", "丙午年 庚子月 庚午日 · 第52周 · 冬至 04:50 · 一九第1天", "details"},
        {1934, 8, 24, "处暑 04:32 · 中元节", "甲戌年 壬申月 丁卯日 · 第34周 · 处暑 04:32 · 末伏第8天 · 中元节",
         "details-longest"},
    };
    for (const auto& d : days) {
        const std::string dpiName = "-dpi" + std::to_string(dpi), shot = d.shot + dpiName;
        Choose(d.year - kFirstShownYear, d.month - 1);
        POINT at;
        grid->GetCellOrigin(d.day, &at);
        at.x += Scale(kCellWidth / 2, dpi);
        at.y += Scale(kCellHeight / 2, dpi);
        guitest::SendMouse(grid->GetSafeHwnd(), WM_MOUSEMOVE, at.x, at.y);
        ASSERT_EQ(grid->HotDay(), d.day) << shot;
        HWND popup = grid->Popup()->GetSafeHwnd();
        ASSERT_TRUE(IsWindowVisible(popup)) << shot;
        EXPECT_EQ(grid->Popup()->ShownText(), d.popup);  // one line, nothing wrapped or cut
        guitest::SavePng(guitest::CaptureWindow(popup), "popup-" + shot);  // popup-details-dpi96
        grid->HidePopup();

        std::string details;
        guitest::OnNextDialog([&](HWND note) {
            details = guitest::ItemText(note, IDC_DETAILS_LINE);
            ExpectEveryLineWhole(note);
            const RECT line = WindowRect(GetDlgItem(note, IDC_DETAILS_LINE)), date = WindowRect(GetDlgItem(note, 1032));
            const RECT edit = WindowRect(GetDlgItem(note, IDC_DAY_TEXT));
            EXPECT_TRUE(line.top >= date.top + Scale(15, dpi) && line.bottom <= edit.top) << shot;
            for (const auto& pair : {std::pair<int, int>{IDC_DAY_TEXT, IDC_DAY_SWATCH},
                                     {IDC_SOLAR_TEXT, IDC_SOLAR_SWATCH}, {IDC_LUNAR_TEXT, IDC_LUNAR_SWATCH}}) {
                const RECT e = WindowRect(GetDlgItem(note, pair.first)), w = WindowRect(GetDlgItem(note, pair.second));
                EXPECT_TRUE(w.top >= e.top && w.bottom <= e.bottom && w.left >= e.right) << shot << " " << pair.first;
            }
            guitest::SavePng(guitest::CaptureWindow(note), "day-" + std::string(d.shot) + "-dialog" + dpiName);
            guitest::ClickButton(note, IDCANCEL);
        });
        guitest::SendMouse(grid->GetSafeHwnd(), WM_LBUTTONUP, at.x, at.y);
        EXPECT_EQ(details, d.details);
    }
}

// A sent WM_DPICHANGED lays the window out at the new scale in the suggested rectangle: every
// child (the template's boxes and buttons, the strip labels in their new fonts, the grid and its
// labels) where it was at 96 DPI, doubled. A move under another window, or a message after its
// parent's change, lays it out at the scale it has (96 here): every child back where it was. The
// pad does the same with its own controls.
TEST_F(MainWindow, DpiChangeLaysTheWindowOutAgain) {
    Open();
    dialog_.ShowMemoPad();
    HWND main = dialog_.GetSafeHwnd(), pad = dialog_.MemoPad()->GetSafeHwnd();
    struct Child {
        RECT rect;
        bool box;  // a combo box: its height is its font's and a border that does not scale
    };
    const auto children = [](HWND top) {  // from the window's corner; a box's own parts are its
        RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        std::vector<Child> found;
        std::vector<HWND> parents{top};
        while (!parents.empty()) {
            HWND parent = parents.back();
            parents.pop_back();
            for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
                if (!IsWindowVisible(c)) continue;
                char cls[16] = "";
                GetClassNameA(c, cls, sizeof cls);
                RECT r = WindowRect(c);
                OffsetRect(&r, -WindowRect(top).left, -WindowRect(top).top);
                found.push_back(Child{r, _stricmp(cls, "ComboBox") == 0});
                if (!found.back().box) parents.push_back(c);
            }
        }
        return found;
    };
    for (HWND top : {main, pad}) {
        const std::vector<Child> before = children(top);
        // Asked first, the window gives its size at the new scale: twice the size it has.
        const RECT was = WindowRect(top);
        SIZE size{};
        EXPECT_TRUE(SendMessageA(top, kWmGetDpiScaledSize, 192, reinterpret_cast<LPARAM>(&size)));
        EXPECT_TRUE(size.cx == 2 * (was.right - was.left) && size.cy == 2 * (was.bottom - was.top));
        RECT suggested{0, 0, size.cx, size.cy};
        SendMessageA(top, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
        const RECT r = WindowRect(top);
        EXPECT_TRUE(EqualRect(&r, &suggested));
        SetWindowPos(top, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
        guitest::SavePng(guitest::CaptureWindow(top), top == main ? "main-dpi-changed-to-192" : "pad-dpi-changed-to-192");
        const std::vector<Child> doubled = children(top);
        ASSERT_EQ(doubled.size(), before.size());
        EXPECT_GE(before.size(), top == main ? 11u : 3u);
        for (size_t i = 0; i < before.size(); ++i) {
            const RECT& was = before[i].rect;
            const RECT& now = doubled[i].rect;
            // A text's extent grows with its font's, not always by exactly two.
            const auto doubledSize = [](LONG size, LONG wasSize) { return std::abs(size - 2 * wasSize) <= 3 + wasSize / 8; };
            const LONG height = now.bottom - now.top, wasHeight = was.bottom - was.top;
            EXPECT_TRUE(std::abs(now.left - 2 * was.left) <= 2 && std::abs(now.top - 2 * was.top) <= 2 &&
                        doubledSize(now.right - now.left, was.right - was.left) &&
                        (before[i].box ? 2 * height >= 3 * wasHeight : doubledSize(height, wasHeight)))
                << i << ": " << was.left << "," << was.top << "," << was.right << "," << was.bottom << " -> " << now.left
                << "," << now.top << "," << now.right << "," << now.bottom;
        }
        if (top == main) {
            // Under another window (as on the desktop), a move is where a new scale shows.
            EXPECT_EQ(dialog_.Grid()->Dpi(), 192);
            HWND host = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 900, 700, nullptr, nullptr, nullptr, nullptr);
            SetParent(main, host);
            SetWindowPos(main, nullptr, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            EXPECT_EQ(dialog_.Grid()->Dpi(), 96);
            SetParent(main, nullptr);
            DestroyWindow(host);
            SendMessageA(main, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
            SendMessageA(main, kWmDpiChangedAfterParent, 0, 0);
            EXPECT_EQ(dialog_.Grid()->Dpi(), 96);
        } else {
            suggested = WindowRect(pad);
            suggested.right = suggested.left + (suggested.right - suggested.left) / 2;
            suggested.bottom = suggested.top + (suggested.bottom - suggested.top) / 2;
            SendMessageA(pad, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&suggested));
        }
        const std::vector<Child> again = children(top);
        ASSERT_EQ(again.size(), before.size());
        for (size_t i = 0; i < before.size(); ++i) EXPECT_TRUE(EqualRect(&again[i].rect, &before[i].rect)) << i;
    }
}

// A second start finds the calendar that runs (even hidden), shows it and ends; also when the
// first start's mutex may not be opened (an empty DACL, as an elevated first start leaves it).
TEST_F(MainWindow, SecondStartShowsTheFirstAndEnds) {
    Open();
    const HWND pad = dialog_.MemoPad()->GetSafeHwnd();
    guitest::SetItemText(pad, IDC_MEMO_EDIT, "typed in the first");  // never taken over: the pad keeps it
    for (bool emptyDacl : {false, true}) {
        dialog_.HideCalendar();
        EXPECT_FALSE(IsWindowVisible(dialog_.GetSafeHwnd()));
        EXPECT_EQ(FindRunningCalendar(), dialog_.GetSafeHwnd());
        SECURITY_DESCRIPTOR sd;
        InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
        ACL empty;  // a DACL that grants nothing
        InitializeAcl(&empty, sizeof empty, ACL_REVISION);
        SetSecurityDescriptorDacl(&sd, TRUE, &empty, FALSE);
        SECURITY_ATTRIBUTES sa{sizeof sa, &sd, FALSE};
        // As the first start holds it.
        HANDLE first = CreateMutexW(emptyDacl ? &sa : nullptr, FALSE, kSingleInstanceMutex);
        ASSERT_NE(first, nullptr);
        if (emptyDacl) {
            HANDLE again = CreateMutexW(nullptr, FALSE, kSingleInstanceMutex);
            EXPECT_EQ(again, nullptr);
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
            if (again) CloseHandle(again);
        }
        PROCESS_INFORMATION pi{};
        ASSERT_TRUE(StartThisTest("--second-start", &pi));
        const bool ended =
            guitest::PumpUntil([&] { return WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0; }, 15000);
        DWORD code = 99;
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        CloseHandle(first);
        EXPECT_TRUE(ended) << emptyDacl;
        EXPECT_EQ(code, 0u) << emptyDacl;  // InitInstance's FALSE: no window of its own
        EXPECT_TRUE(IsWindowVisible(dialog_.GetSafeHwnd())) << emptyDacl;
        EXPECT_FALSE(IsWindowVisible(dialog_.CalendarTab()->GetSafeHwnd())) << emptyDacl;
        EXPECT_EQ(guitest::ItemText(pad, IDC_MEMO_EDIT), "typed in the first") << emptyDacl;
    }
}

// The headline arrives from the worker thread without holding up the window; "下一篇" appears; a
// click on the headline opens its link; a failed fetch leaves what was shown.
TEST_F(MainWindow, HeadlineIsFetchedShownAndOpened) {
    Open();
    static std::string s_opened;
    s_opened.clear();
    SetPageOpenerForTest([](HWND, const char* url) { s_opened = url; });
    HWND headline = GetDlgItem(dialog_.GetSafeHwnd(), IDC_HEADLINE);
    HWND next = GetDlgItem(dialog_.GetSafeHwnd(), IDC_NEXT_HEADLINE);
    EXPECT_FALSE(IsWindowVisible(headline));
    {
        LoopbackServer server([](SOCKET s) { Send(s, "HTTP/1.1 200 OK\r\n\r\n *http://news.example/1\t今日头条"); });
        dialog_.SetHeadlineServer("127.0.0.1", server.port());
        dialog_.FetchHeadline();
        EXPECT_TRUE(guitest::PumpUntil([&] { return IsWindowVisible(headline) != FALSE; }, 10000));
    }
    EXPECT_EQ(dialog_.Headline().text, "今日头条");
    EXPECT_TRUE(IsWindowVisible(next));
    Click(IDC_HEADLINE);
    EXPECT_EQ(s_opened, "http://news.example/1");
    {
        LoopbackServer server([](SOCKET) {});  // closes without an answer
        dialog_.SetHeadlineServer("127.0.0.1", server.port());
        Click(IDC_NEXT_HEADLINE);
        EXPECT_TRUE(guitest::PumpUntil([&] { return dialog_.HeadlineResultsTaken() == 2; }, 10000));
    }
    // A message of that number from anyone else (lParam 0 or a made-up pointer) is ignored.
    SendMessageA(dialog_.GetSafeHwnd(), WM_HEADLINE_FETCHED, 0, 0);
    SendMessageA(dialog_.GetSafeHwnd(), WM_HEADLINE_FETCHED, 0, 0x12345678);
    EXPECT_EQ(dialog_.HeadlineResultsTaken(), 2);
    EXPECT_EQ(dialog_.Headline().text, "今日头条");
    EXPECT_EQ(dialog_.Headline().link, "http://news.example/1");
    // A long headline, hovered, ends short of "下一篇", which takes the clicks at its middle.
    {
        LoopbackServer server([](SOCKET s) {
            Send(s, "HTTP/1.1 200 OK\r\n\r\n *http://news.example/2\t今日头条今日头条今日头条今日头条今日头条今日头条今日头条");
        });
        dialog_.SetHeadlineServer("127.0.0.1", server.port());
        dialog_.FetchHeadline();
        EXPECT_TRUE(guitest::PumpUntil([&] { return dialog_.HeadlineResultsTaken() == 3; }, 10000));
    }
    guitest::SendMouse(headline, WM_MOUSEMOVE, 5, 5);
    UpdateWindow(dialog_.GetSafeHwnd());
    const RECT h = WindowRect(headline), n = WindowRect(next);
    EXPECT_LT(h.right, n.left);
    POINT middle{(n.left + n.right) / 2, (n.top + n.bottom) / 2};
    ScreenToClient(dialog_.GetSafeHwnd(), &middle);
    EXPECT_EQ(ChildWindowFromPointEx(dialog_.GetSafeHwnd(), middle, CWP_SKIPINVISIBLE), next);
    guitest::SendMouse(headline, WM_MOUSEMOVE, -500, 5);
    guitest::SavePng(guitest::CaptureWindow(dialog_.GetSafeHwnd()), "main-window-long-headline");
    SetPageOpenerForTest(nullptr);
}

// The pad holds a long memo whole; a failed save keeps the text, marks the strip "未保存" until a
// save succeeds, and "结束程序" then asks before the memo is given up.
TEST_F(MainWindow, MemoPadLongTextAndFailedSaves) {
    Open();
    CMemoPadDlg* pad = dialog_.MemoPad();
    const std::string path = NotePath("备忘\\default");
    RemoveDirectoryW(testtree::W(path).c_str());
    DeleteFileW(testtree::W(path).c_str());
    dialog_.ShowMemoPad();
    std::string text;
    while (text.size() < 150000) text += "memo line 记事\r\n";
    // As a paste replaces the whole text: EM_REPLACESEL notifies EN_CHANGE, which saves.
    const auto paste = [pad](const char* t) {
        const std::wstring wide = WideFromGbk(t);
        SendDlgItemMessageW(pad->GetSafeHwnd(), IDC_MEMO_EDIT, EM_SETSEL, 0, -1);
        SendDlgItemMessageW(pad->GetSafeHwnd(), IDC_MEMO_EDIT, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(wide.c_str()));
    };
    paste(text.c_str());
    const FileBytes saved = ReadWholeFile(path);
    ASSERT_EQ(saved.status, ReadStatus::Ok);
    EXPECT_EQ(std::string(saved.data.get(), saved.size), text);
    EXPECT_FALSE(pad->UnsavedMarkShown());

    ASSERT_TRUE(DeleteFileW(testtree::W(path).c_str()));
    ASSERT_TRUE(CreateDirectoryW(testtree::W(path).c_str(), nullptr));  // the memo file cannot be written now
    paste("kept on screen");
    EXPECT_TRUE(pad->SaveFailed());
    EXPECT_TRUE(pad->UnsavedMarkShown());
    EXPECT_EQ(guitest::ItemText(pad->GetSafeHwnd(), IDC_MEMO_EDIT), "kept on screen");
    for (int answer : {IDNO, IDYES}) {
        std::string question;
        guitest::OnNextDialog([&](HWND box) {
            EnumChildWindows(
                box,
                [](HWND child, LPARAM out) -> BOOL {
                    char text[128] = {};
                    widetest::GetWindowTextGbk(child, text, sizeof text);
                    *reinterpret_cast<std::string*>(out) += text;
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&question));
            guitest::ClickButton(box, answer);
        });
        EXPECT_EQ(dialog_.EndProgram(), answer == IDYES);
        EXPECT_NE(question.find("记事小本未能保存，仍要退出吗？"), std::string::npos) << question;
        EXPECT_EQ(IsWindowVisible(dialog_.GetSafeHwnd()) != FALSE, answer == IDNO);
    }
    ShowWindow(dialog_.GetSafeHwnd(), SW_SHOW);
    ASSERT_TRUE(RemoveDirectoryW(testtree::W(path).c_str()));
    paste("saved again");
    EXPECT_FALSE(pad->SaveFailed());
    EXPECT_FALSE(pad->UnsavedMarkShown());
    EXPECT_TRUE(dialog_.EndProgram());  // nothing to ask
    DeleteFileW(testtree::W(path).c_str());
}

// The memo pad and other programs: a memo held at start shows as unreadable and is not written
// over; once it can be read it shows; a memo another PC changed shows when nothing was typed, and
// one changed after the pad's last save is kept as default.conflict before the pad writes its own.
TEST_F(MainWindow, MemoPadFollowsTheDiskAndNeverOverwritesUnseen) {
    ASSERT_TRUE(SetUpNoteFolders());  // the memo's path before the window sets the folder up
    const std::string path = NotePath("备忘\\default");
    const std::string conflict = path + ".conflict";
    DeleteFileW(testtree::W(conflict).c_str());
    const auto put = [&](const char* text) {
        HANDLE h = CreateFileW(testtree::W(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD n = 0;
        WriteFile(h, text, static_cast<DWORD>(strlen(text)), &n, nullptr);
        CloseHandle(h);
    };
    const auto disk = [&] {
        const FileBytes f = ReadWholeFile(path, ReadFrom::Disk);
        return f.data ? std::string(f.data.get(), f.size) : std::string("<none>");
    };
    put("written on the other PC");
    HANDLE held = CreateFileW(testtree::W(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Open();
    CMemoPadDlg* pad = dialog_.MemoPad();
    const HWND edit = GetDlgItem(pad->GetSafeHwnd(), IDC_MEMO_EDIT);
    EXPECT_TRUE(pad->MemoUnreadable());
    EXPECT_EQ(guitest::ItemText(pad->GetSafeHwnd(), IDC_MEMO_EDIT), kMemoUnreadableText);
    EXPECT_TRUE(GetWindowLongA(edit, GWL_STYLE) & ES_READONLY);
    EXPECT_TRUE(pad->SaveNow());  // nothing typed, nothing written
    CloseHandle(held);
    EXPECT_EQ(disk(), "written on the other PC");
    pad->Poll();
    EXPECT_FALSE(pad->MemoUnreadable());
    EXPECT_EQ(guitest::ItemText(pad->GetSafeHwnd(), IDC_MEMO_EDIT), "written on the other PC");

    put("changed again over there");
    pad->Poll();  // nothing typed since: the new text shows
    EXPECT_EQ(guitest::ItemText(pad->GetSafeHwnd(), IDC_MEMO_EDIT), "changed again over there");
    TakeNotices();
    const auto type = [&](const char* t) {  // as a paste replaces the whole text: EN_CHANGE saves
        const std::wstring wide = WideFromGbk(t);
        SendMessageW(edit, EM_SETSEL, 0, -1);
        SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(wide.c_str()));
    };
    type("typed here");
    EXPECT_EQ(disk(), "typed here");
    put("and over there meanwhile");
    SetForegroundWindow(pad->GetSafeHwnd());
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    for (char c : std::string("typed here, more")) SendMessageW(GetFocus(), WM_CHAR, static_cast<WPARAM>(c), 0);
    EXPECT_EQ(disk(), "typed here, more");
    const FileBytes kept = ReadWholeFile(conflict, ReadFrom::Disk);
    ASSERT_EQ(kept.status, ReadStatus::Ok);
    EXPECT_EQ(std::string(kept.data.get(), kept.size), "and over there meanwhile");
    // Told on the calendar's next second in the notice window, while the keys go on into the pad.
    dialog_.SendMessage(WM_TIMER, 1, 0);
    CNoticeWindow& notices = dialog_.Folders().Notices();
    ASSERT_TRUE(notices.Window() != nullptr && IsWindowVisible(notices.Window()));
    ASSERT_EQ(notices.Shown().size(), 1u);
    EXPECT_NE(guitest::ItemText(notices.Window(), CNoticeWindow::kIdText).find("default.conflict"), std::string::npos);
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(GetForegroundWindow(), pad->GetSafeHwnd());
    guitest::SavePng(guitest::CaptureWindow(notices.Window()), "notice-window");
    for (char c : std::string(" !")) SendMessageW(GetFocus(), WM_CHAR, static_cast<WPARAM>(c), 0);
    EXPECT_EQ(disk(), "typed here, more !");
    guitest::ClickButton(notices.Window(), CNoticeWindow::kIdDone);
    EXPECT_EQ(notices.Window(), nullptr);
    DeleteFileW(testtree::W(conflict).c_str());
    // Deleted elsewhere, then typed into: said as such (no "kept as" of a file that never was).
    ASSERT_TRUE(DeleteFileW(testtree::W(path).c_str()));
    type("typed after the delete");
    EXPECT_EQ(disk(), "typed after the delete");
    const std::vector<std::string> deleted = TakeNotices();
    ASSERT_EQ(deleted.size(), 1u);
    EXPECT_NE(deleted[0].find("被删除了"), std::string::npos) << deleted[0];
    EXPECT_EQ(deleted[0].find("另存为"), std::string::npos);
    DeleteFileW(testtree::W(path).c_str());
}

// Text typed while the memo cannot be written is never lost: it goes into the window built again
// after the shell took the old one, and a log-off keeps it in a recovery file the next start offers
// back; both are saved once the memo can be written.
TEST_F(MainWindow, UnsavedMemoSurvivesARebuildAndALogOff) {
    Open();
    const std::string path = NotePath("备忘\\default"), recovery = path + ".unsaved";
    RemoveDirectoryW(testtree::W(path).c_str());
    DeleteFileW(testtree::W(path).c_str());
    DeleteFileW(testtree::W(recovery).c_str());
    dialog_.DestroyWindow();  // started again on a clean folder: what a failed run left is gone
    Open();
    ASSERT_TRUE(CreateDirectoryW(testtree::W(path).c_str(), nullptr));  // the memo cannot be written now
    const auto type = [](CMemoPadDlg* pad, const char* t) {
        const std::wstring wide = WideFromGbk(t);
        SendDlgItemMessageW(pad->GetSafeHwnd(), IDC_MEMO_EDIT, EM_SETSEL, 0, -1);
        SendDlgItemMessageW(pad->GetSafeHwnd(), IDC_MEMO_EDIT, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(wide.c_str()));
    };
    dialog_.ShowMemoPad();
    type(dialog_.MemoPad(), "写了没存上");
    ASSERT_TRUE(dialog_.MemoPad()->SaveFailed());
    TakeNotices();
    TellUser("没关的提示");  // on screen when the shell goes: on screen again after
    dialog_.SendMessage(WM_TIMER, 1, 0);
    CCalendarDlg::Restart state{};
    ASSERT_TRUE(dialog_.EndedByShell(&state));
    dialog_.DestroyWindow();
    CCalendarDlg rebuilt;
    rebuilt.RestartFrom(state);
    ASSERT_TRUE(rebuilt.Create(IDD_MAIN, nullptr));
    EXPECT_EQ(guitest::ItemText(rebuilt.MemoPad()->GetSafeHwnd(), IDC_MEMO_EDIT), "写了没存上");
    EXPECT_TRUE(rebuilt.MemoPad()->UnsavedMarkShown());
    rebuilt.SendMessage(WM_TIMER, 1, 0);
    EXPECT_EQ(rebuilt.Folders().Notices().Shown(), std::vector<std::string>{"没关的提示"});
    SendMessageW(rebuilt.GetSafeHwnd(), WM_QUERYENDSESSION, 0, 0);
    rebuilt.DestroyWindow();
    const FileBytes kept = ReadWholeFile(recovery, ReadFrom::Disk);
    ASSERT_EQ(kept.status, ReadStatus::Ok);
    EXPECT_EQ(std::string(kept.data.get(), kept.size), "写了没存上");
    TakeNotices();
    Open();  // the next start
    EXPECT_EQ(guitest::ItemText(dialog_.MemoPad()->GetSafeHwnd(), IDC_MEMO_EDIT), "写了没存上");
    EXPECT_EQ(TakeNotices().size(), 1u);
    // Meanwhile another PC wrote the memo: its version is kept aside, not written over.
    ASSERT_TRUE(RemoveDirectoryW(testtree::W(path).c_str()));
    ASSERT_TRUE(WriteWholeFile(path, "另一台电脑写的", 14));
    const auto text = [](const std::string& p) {
        const FileBytes f = ReadWholeFile(p, ReadFrom::Disk);
        return f.status == ReadStatus::Ok ? std::string(f.data.get(), f.size) : std::string("<none>");
    };
    EXPECT_TRUE(guitest::PumpUntil([&] { return text(path) == "写了没存上"; }, 8000));
    EXPECT_EQ(text(path + ".conflict"), "另一台电脑写的");
    EXPECT_EQ(GetFileAttributesW(testtree::W(recovery).c_str()), INVALID_FILE_ATTRIBUTES);
    DeleteFileW(testtree::W(path + ".conflict").c_str());
    // A memo still as it was when the text was typed over it is no other version: nothing is kept.
    dialog_.DestroyWindow();
    ASSERT_TRUE(WriteWholeFile(path, "原来的", 6));
    ASSERT_TRUE(CMemoPadDlg::WriteRecovery("原来的，又写了", "原来的"));
    Open();
    EXPECT_TRUE(guitest::PumpUntil([&] { return text(path) == "原来的，又写了"; }, 8000));
    EXPECT_EQ(text(path + ".conflict"), "<none>");
    EXPECT_EQ(text(recovery + "-base"), "<none>");
    DeleteFileW(testtree::W(path).c_str());
}

// "假日.txt" in the notes folder: a year it holds replaces the built-in one in the grid, and goes
// with the file; its bad line is told, naming file and line.
TEST_F(MainWindow, HolidayFileOfTheNotesFolder) {
    Open();
    Choose(2027 - kFirstShownYear, 2);  // March 2027: no notice yet
    const std::string path = NotePath("假日.txt");
    DeleteFileW(testtree::W(path).c_str());
    const auto line3 = [&] {
        int length = 0;
        const std::unique_ptr<char[]> text = dialog_.Grid()->BuildNoteText(3, &length);
        return text ? std::string(text.get(), length) : std::string();
    };
    dialog_.LoadHolidays();
    EXPECT_EQ(line3(), "");
    const std::string file = "年 2027 测试通知 -\r\n休 测试假 2027-03-03\r\n这一行不对\r\n";
    HANDLE h = CreateFileW(testtree::W(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    WriteFile(h, file.data(), static_cast<DWORD>(file.size()), &n, nullptr);
    CloseHandle(h);
    TakeNotices();
    dialog_.LoadHolidays();
    EXPECT_EQ(line3(), "测试假 放假");
    const std::vector<std::string> told = TakeNotices();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find("假日.txt”有1行有误，这些行没有用上：\r\n第3行："), std::string::npos) << told[0];
    dialog_.LoadHolidays();
    EXPECT_TRUE(TakeNotices().empty());  // the same file is told once
    ASSERT_TRUE(DeleteFileW(testtree::W(path).c_str()));
    dialog_.LoadHolidays();
    EXPECT_EQ(line3(), "");
    // Held by a backup while it is read: read again on the timer once it is released.
    h = CreateFileW(testtree::W(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    WriteFile(h, file.data(), static_cast<DWORD>(file.size()), &n, nullptr);
    dialog_.LoadHolidays();
    EXPECT_EQ(line3(), "");
    CloseHandle(h);
    EXPECT_TRUE(guitest::PumpUntil([&] { return line3() == "测试假 放假"; }, 8000));
    ASSERT_TRUE(DeleteFileW(testtree::W(path).c_str()));
    dialog_.LoadHolidays();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--run-app") {
        CCalendarApp app;
        app.InitInstance();
        return 0;
    }
    if (argc == 2 && std::string(argv[1]) == "--second-start") {
        CCalendarApp app;
        return app.InitInstance() ? 1 : 0;
    }
    if (argc >= 2 && std::string(argv[1]).rfind("--at-dpi=", 0) == 0) {
        g_screenDpi = std::atoi(argv[1] + 9);
        ++argv;
        --argc;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
