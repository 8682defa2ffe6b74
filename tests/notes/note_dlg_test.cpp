// The note dialogs hand back what the user confirmed, each note marked changed or unchanged.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "notes/memo_entry_dlg.h"
#include "res/resource.h"
#include "tests/support/gui_test.h"
#include "tests/support/temp_tree.h"
#include "widgets/user_messages.h"

namespace {

DayNoteForm Form() {
    DayNoteForm form;
    form.dateLine = "2017年1月5日星期四农历十二月初八";
    form.solarLine = "阳历每年1月5日";
    form.lunarLine = "农历每年十二月初八";
    form.dated = NoteValue{"dentist", 0};
    form.solarYearly = NoteValue{"", 0};  // an absent note
    form.lunarYearly = NoteValue{"birthday", OwnColorFlag | 0x00C000};
    return form;
}

TEST(NoteDialog, MarksChangedOnlyWhatTheUserChanged) {
    struct Row {
        const char* what;
        std::function<void(HWND)> edit;
        bool changed[3];
        const char* texts[3];
    } rows[] = {
        {"nothing edited", [](HWND) {}, {false, false, false}, {"dentist", "", "birthday"}},
        {"a new yearly note", [](HWND d) { guitest::SetItemText(d, IDC_SOLAR_TEXT, "party"); },
         {false, true, false}, {"dentist", "party", "birthday"}},
        {"the dated note emptied", [](HWND d) { guitest::SetItemText(d, IDC_DAY_TEXT, ""); },
         {true, false, false}, {"", "", "birthday"}},
        {"typed and typed back", [](HWND d) { guitest::SetItemText(d, IDC_DAY_TEXT, "dentist"); },
         {false, false, false}, {"dentist", "", "birthday"}},
        {"own colour cleared", [](HWND d) { SendMessageA(d, WM_LABEL_RCLICKED, IDC_LUNAR_SWATCH, 0); },
         {false, false, true}, {"dentist", "", "birthday"}},
    };
    for (const Row& r : rows) {
        ConfirmedNote got[3];
        int calls = 0;
        CMemoEntryDlg dialog(nullptr, Form(), [&](const ConfirmedNote* notes, int count) {
            ++calls;
            for (int i = 0; i < count && i < 3; ++i) got[i] = notes[i];
            return true;
        });
        guitest::OnNextDialog([&](HWND d) {
            r.edit(d);
            guitest::ClickButton(d, IDOK);
        });
        EXPECT_EQ(dialog.DoModal(), IDOK) << r.what;
        ASSERT_EQ(calls, 1) << r.what;
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(got[i].changed, r.changed[i]) << r.what << " note " << i;
            EXPECT_EQ(std::string(got[i].value.text), r.texts[i]) << r.what << " note " << i;
        }
    }
    EXPECT_EQ(CMemoEntryDlg(nullptr, Form(), nullptr).DateLine(), CString("2017年1月5日星期四农历十二月初八"));
}

// A details line wider than the room left of the buttons widens the dialog by what it needs: the
// line whole and clear of the buttons, the edits wider by as much, the swatches and buttons moved.
TEST(NoteDialog, WideDetailsLineWidensTheDialog) {
    const char* lines[2] = {"丙午年 庚子月 庚午日 · 第52周",
                            "甲戌年 壬申月 丁卯日 · 第34周 · 处暑 04:32 · 末伏第8天 · 中元节 · 腊八 · 小年 · 植树节 · 教师节"};
    RECT seen[2][5]{};  // window, details line, OK, a repeat note's edit, its swatch (dialog client pixels)
    for (int i = 0; i < 2; ++i) {
        DayNoteForm form = Form();
        form.detailsLine = lines[i];
        CMemoEntryDlg dialog(nullptr, form, nullptr);
        guitest::OnNextDialog([&](HWND d) {
            GetWindowRect(d, &seen[i][0]);
            const int ids[] = {IDC_DETAILS_LINE, IDOK, IDC_SOLAR_TEXT, IDC_SOLAR_SWATCH};
            for (int k = 0; k < 4; ++k) {
                GetWindowRect(GetDlgItem(d, ids[k]), &seen[i][k + 1]);
                MapWindowPoints(nullptr, d, reinterpret_cast<POINT*>(&seen[i][k + 1]), 2);
            }
            RECT need{};
            HDC dc = GetDC(d);
            HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendDlgItemMessageA(d, IDC_DETAILS_LINE, WM_GETFONT, 0, 0)));
            DrawTextW(dc, testtree::W(testtree::U(lines[i])).c_str(), -1, &need, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
            SelectObject(dc, old);
            ReleaseDC(d, dc);
            EXPECT_EQ(guitest::ItemText(d, IDC_DETAILS_LINE), lines[i]);
            EXPECT_GE(seen[i][1].right - seen[i][1].left, need.right) << lines[i];
            EXPECT_LT(seen[i][1].right, seen[i][2].left) << lines[i];
            if (i == 1) guitest::SavePng(guitest::CaptureWindow(d), "day-note-dialog-wide-details");
            guitest::ClickButton(d, IDCANCEL);
        });
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    }
    const LONG grown = (seen[1][0].right - seen[1][0].left) - (seen[0][0].right - seen[0][0].left);
    EXPECT_GT(grown, 0);
    EXPECT_EQ(seen[1][2].left - seen[0][2].left, grown);      // OK
    EXPECT_EQ(seen[1][3].right - seen[0][3].right, grown);    // the edit
    EXPECT_EQ(seen[1][4].left - seen[0][4].left, grown);      // its swatch
}

}  // namespace
