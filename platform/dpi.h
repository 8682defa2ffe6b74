// Display scale: the layout is drawn in pixels of a 96 DPI screen and scaled by the window's
// DPI / 96. Portable; WindowDpi is the Windows side.
#pragma once

constexpr int kBaseDpi = 96;

// px pixels at 96 DPI as pixels at dpi, rounded to nearest with halves away from zero (as MulDiv
// rounds). A dpi of 0 or less (unknown) leaves px as it is.
constexpr int Scale(int px, int dpi) {
    if (dpi <= 0 || dpi == kBaseDpi) return px;
    const long long product = static_cast<long long>(px) * dpi;
    const long long half = kBaseDpi / 2;
    return static_cast<int>(product >= 0 ? (product + half) / kBaseDpi : -((-product + half) / kBaseDpi));
}

#ifdef _WIN32
#include <windows.h>
// The DPI of a window's monitor (GetDpiForWindow where the system has it, else the screen's
// LOGPIXELSX); 96 when neither answers.
int WindowDpi(HWND hwnd);
// Sent to a child window after its parent moved to another scale (Windows 10 headers).
constexpr UINT kWmDpiChangedAfterParent = 0x02E3;
// Asks a top-level window its size at another scale (wParam the DPI, lParam a SIZE to fill) before
// WM_DPICHANGED suggests a rectangle of that size (Windows 10 headers).
constexpr UINT kWmGetDpiScaledSize = 0x02E4;
// WM_DPICHANGED of a top-level window: takes the rectangle the system suggests (lParam).
void TakeSuggestedRect(HWND hwnd, LPARAM lParam);
#endif
