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
    // A two-pixel edge: dark grey (light red while hot) outside, white inside, so that any colour,
    // white and black included, reads as a square.
    dc.FillSolidRect(r, IsHot() ? kHotTextColor : RGB(64, 64, 64));
    dc.FillSolidRect(CRect(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1), RGB(255, 255, 255));
    dc.FillSolidRect(CRect(r.left + 2, r.top + 2, r.right - 2, r.bottom - 2), m_color);
}
