// The main window under Wine: "下月" from February 1900 to December 2100 (2,411 months, each
// painted), and what that leaves behind: private bytes and GDI objects alive. Then the find window
// over 36 lists of notes of two lines on every day written for it (removed after): the time from a
// typed text to its 2,190 rows listed (the worker's search and the window's listing), and to the
// rows of a text that finds none.
#include <windows.h>

#include <chrono>
#include <algorithm>
#include <cstdio>
#include <string>

#include "app/calendar_dlg.h"
#include "notes/note_files.h"
#include "notes/note_list.h"
#include "platform/handles.h"
#include "res/resource.h"
#include "tests/support/gui_test.h"
#include "tests/support/temp_tree.h"
#include "widgets/user_messages.h"

namespace {

long long PrivateBytes() { return static_cast<long long>(guitest::PrivateBytes()); }

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// Milliseconds from typing text into the find window until its rows for it are listed.
double TimeToRows(CFindDlg* find, const char* text) {
    const auto start = std::chrono::steady_clock::now();
    guitest::SetItemText(find->GetSafeHwnd(), IDC_FIND_TEXT, text);
    while (find->ShownQuery() != text) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        Pump();
    }
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void FindTimes(CCalendarDlg* dialog) {
    std::string note;
    for (int line = 0; line < 2; ++line) note += "benchmark 会议 下午3点 带上材料 Zhang Li Wei\r\n";
    for (int month = 1; month <= 36; ++month) {  // 3001-01 ... 3003-12: no month the calendar shows
        NoteList list;
        list.OpenDated(3000 + (month + 11) / 12, (month - 1) % 12 + 1);
        for (int day = 1; day <= 31; ++day) list.SetEntry(day, note.data(), static_cast<int>(note.size()), 0);
    }
    dialog->OpenFind();
    CFindDlg* find = dialog->FindDlg();
    TimeToRows(find, "warm");  // the folder read into the index
    double most = 0, none = 0;
    size_t rows = 0;
    for (int i = 0; i < 10; ++i) {
        most = std::max(most, TimeToRows(find, i % 2 ? "benchmark" : "BENCHMARK"));
        rows = find->Rows().size();
        none = std::max(none, TimeToRows(find, i % 2 ? "not there" : "NOT THERE"));
    }
    std::printf("find window: %zu rows listed %.1f ms after the keystroke, none %.1f ms after it (slowest of 10)\n",
                rows, most, none);
    for (int month = 1; month <= 36; ++month) {
        char name[32];
        std::snprintf(name, sizeof name, "日历\\%04d%02d", 3000 + (month + 11) / 12, (month - 1) % 12 + 1);
        DeleteFileW(testtree::W(NotePath(name)).c_str());
    }
}

}  // namespace

int main() {
    CCalendarDlg dialog;
    const auto t0 = std::chrono::steady_clock::now();
    if (!dialog.Create(IDD_MAIN, nullptr)) return 1;
    UpdateWindow(dialog.GetSafeHwnd());
    const auto t1 = std::chrono::steady_clock::now();
    std::printf("main window: created and painted in %.1f ms\n",
                std::chrono::duration<double, std::milli>(t1 - t0).count());
    // February 1900 through the boxes, then one warm-up pass, then the measured pass.
    for (int pass = 0; pass < 2; ++pass) {
        SendDlgItemMessageA(dialog.GetSafeHwnd(), IDC_YEAR_BOX, CB_SETCURSEL, 0, 0);
        SendDlgItemMessageA(dialog.GetSafeHwnd(), IDC_MONTH_BOX, CB_SETCURSEL, 1, 0);
        SendMessageA(dialog.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_YEAR_BOX, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog.GetSafeHwnd(), IDC_YEAR_BOX)));
        Pump();
        const long long bytesBefore = PrivateBytes();
        const long gdiBefore = LiveGdiObjects();
        const auto start = std::chrono::steady_clock::now();
        int steps = 0;
        while (!(dialog.State().shown == YearMonth{2100, 12})) {
            SendMessageA(dialog.GetSafeHwnd(), WM_LABEL_CLICKED, IDC_NEXT_MONTH, 0);
            UpdateWindow(dialog.GetSafeHwnd());
            Pump();
            ++steps;
        }
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        if (pass == 1) {
            std::printf("next month x %d (Feb 1900 -> Dec 2100), each painted: %.0f us per month\n", steps, 1000 * ms / steps);
            const long long bytesAfter = PrivateBytes();
            std::printf("private bytes %lld before, %lld after: grew by %lld bytes; GDI objects alive %+ld\n",
                        bytesBefore, bytesAfter, bytesAfter - bytesBefore, LiveGdiObjects() - gdiBefore);
        }
    }
    FindTimes(&dialog);
    dialog.DestroyWindow();
    return 0;
}
