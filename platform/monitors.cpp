// Monitor rectangles through EnumDisplayMonitors.
#include "platform/monitors.h"

#include <windows.h>

std::vector<PixelRect> MonitorRects() {
    std::vector<PixelRect> rects;
    ::EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, LPRECT, LPARAM out) -> BOOL {
            MONITORINFO info{};
            info.cbSize = sizeof info;
            if (::GetMonitorInfoW(monitor, &info)) {
                const RECT& r = info.rcMonitor;
                reinterpret_cast<std::vector<PixelRect>*>(out)->push_back(PixelRect{r.left, r.top, r.right, r.bottom});
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&rects));
    return rects;
}

PixelRect WorkAreaAt(int x, int y) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!::GetMonitorInfoW(::MonitorFromPoint(POINT{x, y}, MONITOR_DEFAULTTONEAREST), &info)) {
        return PixelRect{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    }
    const RECT& r = info.rcWork;
    return PixelRect{r.left, r.top, r.right, r.bottom};
}

RECT RectInParent(HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}
