// The find window under Wine: Ctrl+F, rows of every year's notes on disk as the text is typed, a
// damaged list named, a note written meanwhile found, each kind of row opened, Escape and "查找".
#include <gtest/gtest.h>

#include <string>

#include "app/calendar_dlg.h"
#include "notes/note_files.h"
#include "platform/settings.h"
#include "res/resource.h"
#include "tests/support/gui_test.h"
#include "tests/support/temp_tree.h"
#include "widgets/user_messages.h"

namespace {

// The list files the test writes, each one note in the slot given (removed after).
struct NoteFile {
    const char* name;
    int slot;
    const char* text;
} const kNotes[] = {{"日历\\201903", 14, "买牙膏\r\n看牙医 Dr. Zhuyin-find"}, {"日历\\012", 8, "腊八粥 zhuyin-find"},
                    {"日历\\week", 3, "周三游泳 zhuyin-find"}, {"日历\\203107", 1, "zhuyin-find 后来写的"}};

void Write(const char* name, const std::string& bytes) {
    ASSERT_TRUE(WriteWholeFile(NotePath(name), bytes.data(), static_cast<int>(bytes.size())).ok()) << name;
}

std::string ListFile(const NoteFile& n) {
    const std::string text = n.text;
    return std::string("\x64\0", 2) + std::string{static_cast<char>(n.slot), 0, static_cast<char>(text.size()), 0, 0, 0, 0, 0} + text;
}

TEST(FindNotes, FindsNotesOfEveryYearAndOpensThem) {
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    CCalendarDlg dialog;
    ASSERT_TRUE(dialog.Create(IDD_MAIN, nullptr));  // sets the notes folder up
    for (int i = 0; i < 3; ++i) Write(kNotes[i].name, ListFile(kNotes[i]));
    Write("备忘\\default", "记事小本里的 zhuyin-find");
    Write("日历\\203305", std::string("\x64\0\x01", 3));  // a record cut short
    // Ctrl+F in the month box, the thread's key state saying Ctrl is down.
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    SendMessageW(GetDlgItem(GetDlgItem(dialog.GetSafeHwnd(), IDC_MONTH_BOX), 1001), WM_KEYDOWN, 'F', 0);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    CFindDlg* find = dialog.FindDlg();
    ASSERT_NE(find, nullptr);
    HWND window = find->GetSafeHwnd(), edit = GetDlgItem(window, IDC_FIND_TEXT), list = GetDlgItem(window, IDC_FIND_LIST);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(GbkFromWide(WindowTextOf(window)), "查找");
    EXPECT_EQ(GetFocus(), edit);
    const auto type = [&](const char* text) {
        guitest::SetItemText(window, IDC_FIND_TEXT, text);
        return guitest::PumpUntil([&] { return find->ShownQuery() == text; });
    };
    ASSERT_TRUE(type("ZHUYIN-FIND"));
    // Upcoming first (the weekly and the lunar note, nearest first), the past note, the memo.
    ASSERT_EQ(find->Rows().size(), 4u);
    ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 4);
    const std::vector<FoundRow> rows = find->Rows();
    const int w = rows[0].kind == FoundKind::Weekly ? 0 : 1;
    EXPECT_EQ(rows[1 - w].when + "|" + rows[1 - w].line, "农历每年腊月初八|腊八粥 zhuyin-find");
    EXPECT_EQ(rows[w].when + "|" + rows[w].line, "每周三|周三游泳 zhuyin-find");
    EXPECT_LE(DayNumber(rows[0].next.year, rows[0].next.month, rows[0].next.day),
              DayNumber(rows[1].next.year, rows[1].next.month, rows[1].next.day));
    EXPECT_EQ(rows[2].when + "|" + rows[2].line, "2019年3月14日|看牙医 Dr. Zhuyin-find");
    EXPECT_EQ(rows[3].when + "|" + rows[3].line, "记事小本|记事小本里的 zhuyin-find");
    EXPECT_EQ(guitest::ItemText(window, IDC_FIND_STATUS), "无法读取或已损坏：日历\\203305");
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
    guitest::SavePng(guitest::CaptureWindow(window), "find-window");

    // Each row opened: Enter in the edit or the list, a double-click; its month, its dialog.
    const auto month = [](const SolarDate& d) { return std::to_string(d.year) + "-" + std::to_string(d.month); };
    struct {
        int row;
        UINT how;  // WM_KEYDOWN to the edit, to the list, or LBN_DBLCLK
        HWND to;
        const char* caption;
        int editId;
        std::string text, shown;
    } opens[] = {
        {2, WM_KEYDOWN, edit, "输入记事", IDC_DAY_TEXT, kNotes[0].text, "2019-3"},
        {1 - w, LBN_DBLCLK, list, "输入记事", IDC_LUNAR_TEXT, kNotes[1].text, month(rows[1 - w].next)},
        {w, WM_KEYDOWN, list, "每周提示", IDC_WEEK_TEXT, kNotes[2].text, month(rows[w].next)},
    };
    for (const auto& o : opens) {
        std::string caption, text, shown;
        guitest::OnNextDialog([&](HWND note) {
            caption = GbkFromWide(WindowTextOf(note));
            text = guitest::ItemText(note, o.editId);
            shown = std::to_string(dialog.State().shown.year) + "-" + std::to_string(dialog.State().shown.month);
            guitest::ClickButton(note, IDCANCEL);
        });
        SendMessageW(list, LB_SETCURSEL, o.row, 0);
        if (o.how == WM_KEYDOWN) SendMessageW(o.to, WM_KEYDOWN, VK_RETURN, 0);
        if (o.how == LBN_DBLCLK) SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_FIND_LIST, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
        EXPECT_EQ(caption + "|" + text + "|" + shown, std::string(o.caption) + "|" + o.text + "|" + o.shown) << o.row;
    }
    SendMessageW(edit, WM_KEYDOWN, VK_UP, 0);  // the edit moves the list's selection
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), w - 1 < 0 ? 0 : w - 1);
    dialog.HideMemoPad();
    SendMessageW(list, LB_SETCURSEL, 3, 0);
    SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(IsWindowVisible(dialog.MemoPad()->GetSafeHwnd()));

    // A note written while the window is open is found: the folder is read again.
    Write(kNotes[3].name, ListFile(kNotes[3]));
    ASSERT_TRUE(guitest::PumpUntil([&] { return find->Rows().size() == 5; }, 8000));
    EXPECT_EQ(find->Rows()[2].when, "2031年7月1日");
    // Escape hides it; "查找" in the strip shows it again with its text.
    SendMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(GbkFromWide(WindowTextOf(GetDlgItem(dialog.GetSafeHwnd(), IDC_FIND))), "查找");
    SendMessageW(dialog.GetSafeHwnd(), WM_LABEL_CLICKED, IDC_FIND, 0);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(guitest::ItemText(window, IDC_FIND_TEXT), "ZHUYIN-FIND");
    dialog.DestroyWindow();
    for (const char* name : {"日历\\201903", "日历\\012", "日历\\week", "日历\\203107", "日历\\203305", "备忘\\default"})
        DeleteFileW(testtree::W(NotePath(name)).c_str());
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
}

}  // namespace
