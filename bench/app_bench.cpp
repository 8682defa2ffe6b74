// The main window under Wine: "下月" from February 1900 to December 2100 (2,411 months, each
// painted), and what that leaves behind: private bytes and GDI objects alive.
#include <windows.h>

#include <chrono>
#include <cstdio>

#include "app/calendar_dlg.h"
#include "platform/handles.h"
#include "res/resource.h"
#include "tests/support/gui_test.h"
#include "widgets/user_messages.h"

namespace {

long long PrivateBytes() { return static_cast<long long>(guitest::PrivateBytes()); }

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
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
    dialog.DestroyWindow();
    return 0;
}
