// CColorSwatch.
#include "widgets/color_swatch.h"

BEGIN_MESSAGE_MAP(CColorSwatch, CClickLabel)
    ON_WM_PAINT()
END_MESSAGE_MAP()

BOOL CColorSwatch::Create(int x, int y, CWnd* parent, UINT id, COLORREF color, int size) {
    m_color = color;
    if (!CClickLabel::Create(CRect(x, y, x + size, y + size), parent, id, ::GetSysColor(COLOR_BTNFACE),
                             color, 90, "Arial"))
        return FALSE;
    ShowWindow(SW_SHOW);
    return TRUE;
}

void CColorSwatch::SetColor(COLORREF color) {
    m_color = color;
    InvalidateRect(nullptr, FALSE);
}

void CColorSwatch::OnPaint() {
    CPaintDC dc(this);
    CRect r;
    GetClientRect(&r);
    // A two-line edge: dark grey (light red while hot) outside, white inside, so that any colour,
    // white and black included, reads as a square. Each line is a pixel wide at kSwatchSize and
    // grows with the square.
    const int e = r.Width() >= 2 * kSwatchSize ? r.Width() / kSwatchSize : 1;
    dc.FillSolidRect(r, IsHot() ? kHotTextColor : RGB(64, 64, 64));
    dc.FillSolidRect(CRect(r.left + e, r.top + e, r.right - e, r.bottom - e), RGB(255, 255, 255));
    dc.FillSolidRect(CRect(r.left + 2 * e, r.top + 2 * e, r.right - 2 * e, r.bottom - 2 * e), m_color);
}
