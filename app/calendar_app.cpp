// CCalendarApp.
#include "app/calendar_app.h"

#include "app/calendar_dlg.h"
#include "notes/memo_pad_dlg.h"
#include "platform/handles.h"

namespace {

BOOL CALLBACK FindMarked(HWND hwnd, LPARAM out) {
    if (::GetPropW(hwnd, CCalendarDlg::kMainWindowProperty) != nullptr) {
        *reinterpret_cast<HWND*>(out) = hwnd;
        return FALSE;
    }
    return TRUE;
}

// A hidden top-level window that hears "TaskbarCreated", the broadcast of a shell that has just
// started (a broadcast reaches top-level windows only, not message-only ones), and tells the main
// window of the moment to attach again.
class ShellListener {
public:
    ShellListener() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &ShellListener::Proc;
        wc.hInstance = AfxGetInstanceHandle();
        wc.lpszClassName = L"VestrelShellListener";
        ::RegisterClassW(&wc);
        m_hwnd = ::CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                   wc.hInstance, nullptr);
    }
    ~ShellListener() {
        if (m_hwnd) ::DestroyWindow(m_hwnd);
    }
    ShellListener(const ShellListener&) = delete;
    ShellListener& operator=(const ShellListener&) = delete;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        static const UINT taskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
        if (message == taskbarCreated && taskbarCreated != 0) {
            if (HWND main = CCalendarDlg::CurrentWindow()) ::PostMessageW(main, CCalendarDlg::AttachAgainMessage(), 0, 0);
            return 0;
        }
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    HWND m_hwnd = nullptr;
};

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
    return ::SendMessageTimeoutW(running, CCalendarDlg::ShowYourselfMessage(), 0, 0, SMTO_ABORTIFHUNG, 2000,
                                 &answer) != 0 &&
           answer == 1;
}

BOOL CCalendarApp::InitInstance() {
    static ScopedKernelHandle running;  // held until the process ends
    *running.out() = ::CreateMutexW(nullptr, FALSE, kSingleInstanceMutex);
    // A mutex that exists but may not be opened (made by a calendar started as administrator)
    // means a calendar runs as surely as one that is found.
    const DWORD error = ::GetLastError();
    if ((running.valid() && error == ERROR_ALREADY_EXISTS) || (!running.valid() && error == ERROR_ACCESS_DENIED)) {
        // A calendar runs already: a second one would write the same memo file keystroke by
        // keystroke. Bring the first one forward instead.
        for (int attempt = 0; attempt < 20 && !WakeRunningCalendar(); ++attempt) ::Sleep(100);
        return FALSE;
    }
    // The desktop's shell window the calendar is a child of can end (a crash, an update, a
    // restart) and takes the calendar with it. The main window is then built again as at start-up,
    // on the month it showed, as a plain desktop window until the new shell announces itself.
    ShellListener listener;
    CCalendarDlg::Restart state{};
    bool restart = false;
    int quickRestarts = 0;
    DWORD lastStart = 0;
    for (;;) {
        const DWORD started = ::GetTickCount();
        quickRestarts = started - lastStart < 60000 ? quickRestarts + 1 : 0;
        lastStart = started;
        CCalendarDlg dialog;
        if (restart) dialog.RestartFrom(state);
        m_pMainWnd = &dialog;
        dialog.DoModal();
        m_pMainWnd = nullptr;
        // A window that keeps going at once is not chased for ever; its unsaved memo is then kept
        // for the next start.
        const bool tookByShell = dialog.EndedByShell(&state);
        restart = tookByShell && quickRestarts < 5;
        if (tookByShell && !restart && state.memoUnsaved)
            CMemoPadDlg::WriteRecovery(state.memoText, state.memoBase);
        if (!restart) break;
    }
    return FALSE;
}
