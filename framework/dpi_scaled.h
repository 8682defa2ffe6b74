// CDpiScaled: what a window laid out in pixels of a 96 DPI screen mixes in to place itself at its
// own display scale. The one S() of the program's windows.
#pragma once

#include "framework/cwnd.h"
#include "platform/dpi.h"

class CDpiScaled {
protected:
    // A length of the 96 DPI layout at the window's scale.
    int S(int px) const { return Scale(px, m_dpi); }
    CRect ScaledRect(int l, int t, int r, int b) const { return CRect(S(l), S(t), S(r), S(b)); }

    int m_dpi = kBaseDpi;  // the scale the window is laid out at
};
