// CNotePopup.
#include "grid/note_popup.h"

#include "res/resource.h"

BEGIN_MESSAGE_MAP(CNotePopup, CDialog)
    ON_WM_PAINT()
END_MESSAGE_MAP()

POINT PopupOrigin(POINT pt, int width) { return POINT{pt.x - width / 2 + 2, pt.y + 12}; }

CNotePopup::CNotePopup() : CDialog(IDD_NOTE_POPUP) {
    m_font.CreateFont(15, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                      DEFAULT_QUALITY, DEFAULT_PITCH, "宋体");
}

BOOL CNotePopup::Create(CWnd* parent) { return CDialog::Create(IDD_NOTE_POPUP, parent); }

int CNotePopup::SetText(std::unique_ptr<char[]> text, int length, POINT pt) {
    // The previous text is freed as the new one is taken.
    if (text) {
        m_text = std::move(text);
        m_textLength = length > 0 ? length : 0;
    } else {
        m_text.reset();
        m_textLength = 0;
    }
    {
        CClientDC dc(this);
        ScopedSelect font(dc, m_font.GetSafeHandle());
        const CSize size = MeasureLines(dc, Text(), m_textLength);
        m_textWidth = size.cx;
        m_textHeight = size.cy;
    }
    const POINT origin = PopupOrigin(pt, m_textWidth);
    MoveWindow(origin.x, origin.y, m_textWidth, m_textHeight, TRUE);
    InvalidateRect(nullptr, FALSE);
    return 0;
}

void CNotePopup::OnPaint() {
    CPaintDC dc(this);
    ScopedSelect font(dc, m_font.GetSafeHandle());
    CRect r;
    GetClientRect(&r);
    r.bottom = r.top + m_textHeight;
    dc.FillSolidRect(r, m_backColor);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(m_textColor);
    dc.DrawText(Text(), m_textLength, &r, 0);
}
