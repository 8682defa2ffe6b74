// The pieces of a window that tells without taking the focus.
#include "widgets/quiet_window.h"

ATOM RegisterQuietClass(const wchar_t* name, WNDPROC proc) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = name;
    return ::RegisterClassExW(&wc);
}

LRESULT OnWindowColour(WPARAM dc) {
    ::SetBkColor(reinterpret_cast<HDC>(dc), ::GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
}

HFONT MessageFontOf(int pixelHeight) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    LOGFONTW look = metrics.lfMessageFont;
    look.lfHeight = -pixelHeight;
    look.lfWidth = 0;
    return ::CreateFontIndirectW(&look);
}
