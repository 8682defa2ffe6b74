// DialogScale: keeps the controls a dialog was made with at the scale of the monitor it is on.
// Record notes each control's rectangle and the dialog's font at the DPI they were made for;
// Apply places them again and gives them a font for another DPI, always from what was recorded,
// so that moves back and forth between scales never drift.
#pragma once

#include <windows.h>

#include <vector>

#include "platform/dpi.h"
#include "platform/handles.h"

class DialogScale {
public:
    // Call once the template's controls exist and before any other child window is made.
    void Record(HWND dialog, int dpi);
    void Apply(int dpi);
    int Dpi() const { return m_dpi; }
    // The dialog's window size at dpi, from its size when recorded (for WM_GETDPISCALEDSIZE).
    SIZE WindowSizeAt(int dpi) const;

private:
    struct Control {
        HWND hwnd;
        RECT rect;  // in the dialog's client area, a combo box with its list
        bool dialogFont;
    };
    int m_madeDpi = kBaseDpi, m_dpi = kBaseDpi;
    SIZE m_madeSize{};
    std::vector<Control> m_controls;
    HFONT m_madeFont = nullptr;
    ScopedFont m_font;  // the made font at m_dpi, when that is not m_madeDpi
};

// WM_GETDPISCALEDSIZE of a dialog kept by scale: fills the SIZE at lParam, returns TRUE.
LRESULT TellScaledSize(const DialogScale& scale, WPARAM dpi, LPARAM size);
