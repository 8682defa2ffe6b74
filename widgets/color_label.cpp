// CColorLabel.
#include "widgets/color_label.h"

#include "platform/dpi.h"

BEGIN_MESSAGE_MAP(CColorLabel, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CColorLabel::~CColorLabel() { m_fitToText = 0; }  // the font and the window go with the members and CWnd

BOOL CColorLabel::Create(const RECT& rect, CWnd* parent, UINT id, COLORREF backColor, COLORREF textColor,
                         int pointSize, const char* faceName) {
    const char* cls = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW), nullptr, nullptr);
    if (!CreateEx(0, cls, "", WS_CHILD, rect, parent, id)) return FALSE;
    m_rect = rect;
    m_backColor = backColor;
    m_id = id;
    m_textColor = textColor;
    m_pointSize = pointSize;
    m_faceName = faceName;
    m_font.CreatePointFont(pointSize, faceName, WindowDpi(GetSafeHwnd()));
    return TRUE;
}

void CColorLabel::SetDpi(int dpi) {
    m_font.CreatePointFont(m_pointSize, m_faceName, dpi);
    if (!m_text.IsEmpty()) m_fitToText = 1;
    InvalidateRect(nullptr, FALSE);
}

void CColorLabel::SetText(const char* text, BYTE show) {
    m_text = text;
    SetWindowText(text);  // what accessibility tools and automation read
    m_fitToText = 1;
    InvalidateRect(nullptr, FALSE);
    if (show) ShowWindow(SW_SHOW);
}

void CColorLabel::MoveTo(int x, int y) {
    m_rect = RECT{x, y, x + (m_rect.right - m_rect.left), y + (m_rect.bottom - m_rect.top)};
    MoveWindow(m_rect, TRUE);
}

void CColorLabel::SetTextColor(COLORREF color) {
    m_textColor = color;
    InvalidateRect(nullptr, FALSE);
}

void CColorLabel::OnPaint() {
    CPaintDC dc(this);
    if (m_fitToText == 1) {
        ScopedSelect font(dc, m_font.GetSafeHandle());
        CSize size = MeasureLines(dc, m_text, m_text.GetLength());
        if (m_maxWidth > 0 && size.cx > m_maxWidth) size.cx = m_maxWidth;
        MoveWindow(m_rect.left, m_rect.top, size.cx, size.cy, TRUE);
        m_rect.right = m_rect.left + size.cx;
        m_rect.bottom = m_rect.top + size.cy;
    }
    CRect client;
    GetClientRect(&client);
    dc.SetBkColor(m_backColor);
    dc.SetTextColor(m_textColor);
    ScopedSelect font(dc, m_font.GetSafeHandle());
    dc.DrawText(m_text, m_text.GetLength(), &client, m_maxWidth > 0 ? DT_END_ELLIPSIS | DT_SINGLELINE : 0);
}

BOOL CColorLabel::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }

void CColorLabel::OnDestroy() { CWnd::OnDestroy(); }
