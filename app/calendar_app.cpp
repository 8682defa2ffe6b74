// CCalendarApp.
#include "app/calendar_app.h"

#include "app/calendar_dlg.h"
#include "platform/handles.h"

namespace {

BOOL CALLBACK FindMarked(HWND hwnd, LPARAM out) {
    if (::GetPropA(hwnd, CCalendarDlg::kMainWindowProperty) != nullptr) {
        *reinterpret_cast<HWND*>(out) = hwnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND FindRunningCalendar() {
    HWND found = nullptr;
    // All windows below the desktop, children included: once attached the calendar is a child of
    // the shell's icon view, not a top-level window.
    ::EnumChildWindows(::GetDesktopWindow(), FindMarked, reinterpret_cast<LPARAM>(&found));
    if (found == nullptr) ::EnumWindows(FindMarked, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool WakeRunningCalendar() {
    HWND running = FindRunningCalendar();
    if (running == nullptr) return false;
    DWORD_PTR answer = 0;
    return ::SendMessageTimeoutA(running, CCalendarDlg::ShowYourselfMessage(), 0, 0, SMTO_ABORTIFHUNG, 2000,
                                 &answer) != 0 &&
           answer == 1;
}

BOOL CCalendarApp::InitInstance() {
    static ScopedKernelHandle running;  // held until the process ends
    *running.out() = ::CreateMutexA(nullptr, FALSE, kSingleInstanceMutex);
    // A mutex that exists but may not be opened (made by a calendar started as administrator)
    // means a calendar runs as surely as one that is found.
    const DWORD error = ::GetLastError();
    if ((running.valid() && error == ERROR_ALREADY_EXISTS) || (!running.valid() && error == ERROR_ACCESS_DENIED)) {
        // A calendar runs already: a second one would write the same memo file keystroke by
        // keystroke. Bring the first one forward instead.
        for (int attempt = 0; attempt < 20 && !WakeRunningCalendar(); ++attempt) ::Sleep(100);
        return FALSE;
    }
    CCalendarDlg dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
