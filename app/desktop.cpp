// Desktop attachment.
#include "app/desktop.h"

BOOL CALLBACK DesktopEnumProc(HWND hwnd, LPARAM lParam) {
    if (!::IsWindowVisible(hwnd) || ::IsIconic(hwnd)) return TRUE;
    HWND view = ::FindWindowExA(hwnd, nullptr, "SHELLDLL_DefView", nullptr);
    if (view == nullptr || ::FindWindowExA(view, nullptr, "SysListView32", nullptr) == nullptr) return TRUE;
    char cls[101] = {};
    ::GetClassNameA(hwnd, cls, sizeof cls);
    if (::lstrcmpiA(cls, "progman") == 0 || ::lstrcmpiA(cls, "WorkerW") == 0)
        ::SetParent(reinterpret_cast<HWND>(lParam), view);
    return TRUE;
}
