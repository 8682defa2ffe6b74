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

RECT ChildRect(HWND dialog, int id) {
    RECT r{};
    GetWindowRect(GetDlgItem(dialog, id), &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// A details line wider than the room left of the buttons widens the dialog by what it needs: the
// line keeps its whole text clear of the buttons, the edits widen by as much, the buttons move.
TEST(NoteDialog, WideDetailsLineWidensTheDialog) {
    const char* lines[2] = {"丙午年 庚子月 庚午日 · 第52周",
                            "甲戌年 壬申月 丁卯日 · 第34周 · 处暑 04:32 · 末伏第8天 · 中元节 · 腊八 · 小年 · 植树节 · 教师节"};
    struct Seen {
        RECT window, client, line, ok, edit, swatch;
        LONG need;
        std::string shown;
    } seen[2]{};
    for (int i = 0; i < 2; ++i) {
        DayNoteForm form = Form();
        form.detailsLine = lines[i];
        CMemoEntryDlg dialog(nullptr, form, nullptr);
        Seen& s = seen[i];
        guitest::OnNextDialog([&](HWND d) {
            GetWindowRect(d, &s.window);
            GetClientRect(d, &s.client);
            s.line = ChildRect(d, IDC_DETAILS_LINE), s.ok = ChildRect(d, IDOK), s.edit = ChildRect(d, IDC_SOLAR_TEXT);
            s.swatch = ChildRect(d, IDC_SOLAR_SWATCH);
            s.shown = guitest::ItemText(d, IDC_DETAILS_LINE);
            HDC dc = GetDC(d);
            HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendDlgItemMessageA(d, IDC_DETAILS_LINE, WM_GETFONT, 0, 0)));
            SIZE need{};
            const std::wstring text = testtree::W(testtree::U(lines[i]));
            GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &need);
            s.need = need.cx;
            SelectObject(dc, old);
            ReleaseDC(d, dc);
            if (i == 1) guitest::SavePng(guitest::CaptureWindow(d), "day-note-dialog-wide-details");
            guitest::ClickButton(d, IDCANCEL);
        });
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_EQ(s.shown, lines[i]);
        EXPECT_GE(s.line.right - s.line.left, s.need) << lines[i];
        EXPECT_LT(s.line.right, s.ok.left) << lines[i];
        EXPECT_LE(s.ok.right, s.client.right) << lines[i];
        EXPECT_LT(s.edit.right, s.swatch.left) << lines[i];
    }
    const LONG grown = (seen[1].window.right - seen[1].window.left) - (seen[0].window.right - seen[0].window.left);
    EXPECT_GT(grown, 0);
    EXPECT_EQ(seen[1].ok.left - seen[0].ok.left, grown);
    EXPECT_EQ(seen[1].swatch.left - seen[0].swatch.left, grown);
    EXPECT_EQ(seen[1].edit.right - seen[0].edit.right, grown);
    EXPECT_EQ(seen[1].edit.left, seen[0].edit.left);
}

}  // namespace
