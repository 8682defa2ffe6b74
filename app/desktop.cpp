// Desktop attachment.
#include "app/desktop.h"

BOOL CALLBACK DesktopEnumProc(HWND hwnd, LPARAM lParam) {
    if (!::IsWindowVisible(hwnd) || ::IsIconic(hwnd)) return TRUE;
    HWND view = ::FindWindowExW(hwnd, nullptr, L"SHELLDLL_DefView", nullptr);
    if (view == nullptr || ::FindWindowExW(view, nullptr, L"SysListView32", nullptr) == nullptr) return TRUE;
    wchar_t cls[101] = {};
    ::GetClassNameW(hwnd, cls, sizeof cls / sizeof cls[0]);
    if (::lstrcmpiW(cls, L"progman") == 0 || ::lstrcmpiW(cls, L"WorkerW") == 0)
        ::SetParent(reinterpret_cast<HWND>(lParam), view);
    return TRUE;
}
