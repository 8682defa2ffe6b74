// CColorSwatch: a click label drawn as a square of one colour with a dark edge (light red while the
// pointer is over it), for picking a note's colour. Clicks reach the parent as a CClickLabel's do.
#pragma once

#include "widgets/click_label.h"

// The side of a swatch's square in pixels at 96 DPI.
constexpr int kSwatchSize = 14;

class CColorSwatch : public CClickLabel {
public:
    // Creates and shows the swatch, size pixels square, with its top-left corner at (x, y) of parent.
    BOOL Create(int x, int y, CWnd* parent, UINT id, COLORREF color, int size = kSwatchSize);
    void SetColor(COLORREF color);
    COLORREF Color() const { return m_color; }

protected:
    void OnPaint();

    COLORREF m_color = 0;

    DECLARE_MESSAGE_MAP()
};
