// CClickLabel.
#include "widgets/click_label.h"

#include "widgets/user_messages.h"

BEGIN_MESSAGE_MAP(CClickLabel, CColorLabel)
    ON_WM_LBUTTONUP()
    ON_WM_RBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_SHOWWINDOW()
    ON_MESSAGE(WM_MOUSELEAVE, &CClickLabel::OnMouseLeave)
    ON_MESSAGE(WM_ENABLE, &CClickLabel::OnEnable)
END_MESSAGE_MAP()

void CClickLabel::OnMouseMove(UINT flags, CPoint point) {
    if (m_hot == 0) {
        // The pointer has just come onto the label: told when it goes, wherever it goes (another
        // program's window, the desktop) and however fast.
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, GetSafeHwnd(), 0};
        ::TrackMouseEvent(&track);
        m_savedTextColor = m_textColor;
        m_textColor = kHotTextColor;
        InvalidateRect(nullptr, TRUE);
        m_hot = 1;
    }
    CColorLabel::OnMouseMove(flags, point);
}

LRESULT CClickLabel::OnMouseLeave(WPARAM, LPARAM) {
    EndHover();
    return 0;
}

void CClickLabel::OnShowWindow(BOOL show, UINT status) {
    if (!show) EndHover();  // shown again, it is normal until the pointer moves over it
    CColorLabel::OnShowWindow(show, status);
}

LRESULT CClickLabel::OnEnable(WPARAM enabled, LPARAM) {
    if (!enabled) EndHover();
    return Default();
}

void CClickLabel::EndHover() {
    if (m_hot == 0) return;
    m_hot = 0;
    m_textColor = m_savedTextColor;
    InvalidateRect(nullptr, TRUE);
}

void CClickLabel::OnLButtonUp(UINT flags, CPoint point) {
    // The hover goes on: the pointer is still over the label, and its leave ends the hover.
    ::PostMessageW(GetParentHwnd(), WM_LABEL_CLICKED, m_id, 0);
    CColorLabel::OnLButtonUp(flags, point);
}

void CClickLabel::OnRButtonUp(UINT flags, CPoint point) {
    ::PostMessageW(GetParentHwnd(), WM_LABEL_RCLICKED, m_id, 0);
    CColorLabel::OnRButtonUp(flags, point);
}
