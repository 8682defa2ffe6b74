// The find window of the main window under Wine: opened by Ctrl+F and by "查找", rows as the text
// is typed from every year's notes on disk, a damaged list named under them, a note written
// meanwhile found, Enter and a double-click showing the row's month with its note's dialog (the
// weekly dialog, the pad), Escape hiding it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/calendar_dlg.h"
#include "notes/note_files.h"
#include "notes/note_list.h"
#include "res/resource.h"
#include "tests/support/gui_test.h"
#include "tests/support/temp_tree.h"
#include "widgets/user_messages.h"

namespace {

// Ctrl+F as the focused control gets it: the thread's key state says Ctrl is down.
void PressCtrlF(HWND target) {
    BYTE keys[256];
    GetKeyboardState(keys);
    const BYTE was = keys[VK_CONTROL];
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    SendMessageW(target, WM_KEYDOWN, 'F', 0);
    keys[VK_CONTROL] = was;
    SetKeyboardState(keys);
}

// A listed row as it is drawn: when, then the line; "" past the list's rows.
std::string ListRow(CFindDlg* find, int index) {
    const LRESULT count = SendDlgItemMessageW(find->GetSafeHwnd(), IDC_FIND_LIST, LB_GETCOUNT, 0, 0);
    if (index >= count || count != static_cast<LRESULT>(find->Rows().size())) return "";
    return find->Rows()[static_cast<size_t>(index)].when + "\t" + find->Rows()[static_cast<size_t>(index)].line;
}

class FindNotes : public ::testing::Test {
protected:
    void TearDown() override {
        if (dialog_.GetSafeHwnd()) dialog_.DestroyWindow();
        for (const auto& n : written_) {
            NoteList list;
            if (n.kind == 'd') list.OpenDated(n.year, n.month);
            if (n.kind == 'l') list.OpenLunarYearly(n.month);
            if (n.kind == 'w') list.OpenWeekly();
            list.SetEntry(n.day, "", 0, 0);
        }
        for (const char* name : {"日历\\203305", "备忘\\default"}) DeleteFileW(testtree::W(NotePath(name)).c_str());
    }
    void Put(char kind, int year, int month, int day, const std::string& text) {
        NoteList list;
        if (kind == 'd') list.OpenDated(year, month);
        if (kind == 'l') list.OpenLunarYearly(month);
        if (kind == 'w') list.OpenWeekly();
        ASSERT_TRUE(list.SetEntry(day, text.data(), static_cast<int>(text.size()), 0)) << text;
        written_.push_back(Written{kind, year, month, day});
    }
    // Types text into the find window and waits for its rows.
    void Type(const char* text) {
        const int before = find_->ResultsShown();
        guitest::SetItemText(find_->GetSafeHwnd(), IDC_FIND_TEXT, text);
        ASSERT_TRUE(guitest::PumpUntil([&] { return find_->ResultsShown() > before && find_->ShownQuery() == text; }))
            << text;
    }
    std::string Shown() const {
        return std::to_string(dialog_.State().shown.year) + "-" + std::to_string(dialog_.State().shown.month);
    }

    struct Written {
        char kind;
        int year, month, day;
    };
    std::vector<Written> written_;
    CCalendarDlg dialog_;
    CFindDlg* find_ = nullptr;
};

TEST_F(FindNotes, FindsNotesOfEveryYearAndOpensThem) {
    ASSERT_TRUE(dialog_.Create(IDD_MAIN, nullptr));  // sets the notes folder up
    guitest::PumpPending();
    Put('d', 2019, 3, 14, "买牙膏\r\n看牙医 Dr. Zhuyin-find");
    Put('l', 0, 12, 8, "腊八粥 zhuyin-find");
    Put('w', 0, 0, 3, "周三游泳 zhuyin-find");
    const std::string memo = "记事小本里的 zhuyin-find";
    ASSERT_TRUE(WriteWholeFile(NotePath("备忘\\default"), memo.data(), static_cast<int>(memo.size())).ok());
    ASSERT_TRUE(WriteWholeFile(NotePath("日历\\203305"), "\x64\0\x01", 3).ok());  // a record cut short

    // Ctrl+F in the month box opens the window, titled 查找, its edit taking what is typed.
    PressCtrlF(GetDlgItem(GetDlgItem(dialog_.GetSafeHwnd(), IDC_MONTH_BOX), 1001));
    find_ = dialog_.FindDlg();
    ASSERT_NE(find_, nullptr);
    HWND find = find_->GetSafeHwnd();
    EXPECT_TRUE(IsWindowVisible(find));
    EXPECT_EQ(GbkFromWide(WindowTextOf(find)), "查找");
    EXPECT_EQ(GetFocus(), GetDlgItem(find, IDC_FIND_TEXT));
    Type("ZHUYIN-FIND");
    // Upcoming first (the weekly and the lunar note by their next days, nearest first), then the
    // past note, then the memo.
    ASSERT_EQ(find_->Rows().size(), 4u);
    const std::vector<FoundRow> rows = find_->Rows();
    const auto dayNumber = [](const SolarDate& d) { return DayNumber(d.year, d.month, d.day); };
    const int w = rows[0].kind == FoundKind::Weekly ? 0 : 1, l = 1 - w;
    EXPECT_EQ(rows[w].kind, FoundKind::Weekly);
    EXPECT_EQ(rows[l].kind, FoundKind::LunarYearly);
    EXPECT_LE(dayNumber(rows[0].next), dayNumber(rows[1].next));
    EXPECT_EQ(ListRow(find_, w), "每周三\t周三游泳 zhuyin-find");
    EXPECT_EQ(ListRow(find_, l), "农历每年腊月初八\t腊八粥 zhuyin-find");
    EXPECT_EQ(ListRow(find_, 2), "2019年3月14日\t看牙医 Dr. Zhuyin-find");
    EXPECT_EQ(ListRow(find_, 3), "记事小本\t记事小本里的 zhuyin-find");
    EXPECT_EQ(guitest::ItemText(find, IDC_FIND_STATUS), "无法读取或已损坏：日历\\203305");
    SetWindowPos(find, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
    guitest::SavePng(guitest::CaptureWindow(find), "find-window");

    // Enter on the past note's row: its month, and its dialog holding it.
    SendDlgItemMessageW(find, IDC_FIND_LIST, LB_SETCURSEL, 2, 0);
    struct Opened {
        std::string caption, text, shown;
    } opened;
    const auto expectDialog = [&](int edit) {
        opened = Opened{};
        guitest::OnNextDialog([&, edit](HWND note) {
            opened = Opened{GbkFromWide(WindowTextOf(note)), guitest::ItemText(note, edit), Shown()};
            guitest::ClickButton(note, IDCANCEL);
        });
    };
    const auto monthOf = [](const SolarDate& d) { return std::to_string(d.year) + "-" + std::to_string(d.month); };
    expectDialog(IDC_DAY_TEXT);
    SendDlgItemMessageW(find, IDC_FIND_TEXT, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(opened.caption, "输入记事");
    EXPECT_EQ(opened.shown, "2019-3");
    EXPECT_EQ(opened.text, "买牙膏\r\n看牙医 Dr. Zhuyin-find");
    // A double-click on the lunar row: the month of its next day, the lunar-yearly edit.
    expectDialog(IDC_LUNAR_TEXT);
    SendDlgItemMessageW(find, IDC_FIND_LIST, LB_SETCURSEL, l, 0);
    SendMessageW(find, WM_COMMAND, MAKEWPARAM(IDC_FIND_LIST, LBN_DBLCLK), reinterpret_cast<LPARAM>(GetDlgItem(find, IDC_FIND_LIST)));
    EXPECT_EQ(opened.caption, "输入记事");
    EXPECT_EQ(opened.shown, monthOf(rows[l].next));
    EXPECT_EQ(opened.text, "腊八粥 zhuyin-find");
    // Up and Down in the edit move through the rows; Enter in the list opens the weekly dialog.
    SendDlgItemMessageW(find, IDC_FIND_LIST, LB_SETCURSEL, 2, 0);
    SendDlgItemMessageW(find, IDC_FIND_TEXT, WM_KEYDOWN, VK_UP, 0);
    SendDlgItemMessageW(find, IDC_FIND_TEXT, WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(SendDlgItemMessageW(find, IDC_FIND_LIST, LB_GETCURSEL, 0, 0), 0);
    SendDlgItemMessageW(find, IDC_FIND_TEXT, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(SendDlgItemMessageW(find, IDC_FIND_LIST, LB_GETCURSEL, 0, 0), 1);
    SendDlgItemMessageW(find, IDC_FIND_LIST, LB_SETCURSEL, w, 0);
    expectDialog(IDC_WEEK_TEXT);
    SendDlgItemMessageW(find, IDC_FIND_LIST, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(opened.caption, "每周提示");
    EXPECT_EQ(opened.shown, monthOf(rows[w].next));
    EXPECT_EQ(opened.text, "周三游泳 zhuyin-find");
    // The memo's row shows the pad.
    dialog_.HideMemoPad();
    SendDlgItemMessageW(find, IDC_FIND_LIST, LB_SETCURSEL, 3, 0);
    SendDlgItemMessageW(find, IDC_FIND_TEXT, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(IsWindowVisible(dialog_.MemoPad()->GetSafeHwnd()));

    // A note written while the window is open is found: the folder is read again.
    Put('d', 2031, 7, 1, "zhuyin-find 后来写的");
    ASSERT_TRUE(guitest::PumpUntil([&] { return find_->Rows().size() == 5; }, 8000));
    EXPECT_EQ(ListRow(find_, 2), "2031年7月1日\tzhuyin-find 后来写的");
    Type("没有这样的记事");
    EXPECT_EQ(SendDlgItemMessageW(find, IDC_FIND_LIST, LB_GETCOUNT, 0, 0), 0);

    // Escape hides it; "查找" in the strip shows it again with the text kept.
    SendDlgItemMessageW(find, IDC_FIND_TEXT, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(IsWindowVisible(find));
    SendMessageW(dialog_.GetSafeHwnd(), WM_LABEL_CLICKED, IDC_FIND, 0);
    EXPECT_TRUE(IsWindowVisible(find));
    EXPECT_EQ(dialog_.FindDlg(), find_);
    EXPECT_EQ(guitest::ItemText(find, IDC_FIND_TEXT), "没有这样的记事");
    EXPECT_EQ(Shown(), monthOf(rows[w].next));  // the calendar stays where the last row took it
}

}  // namespace
