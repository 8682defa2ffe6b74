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

}  // namespace
