// CClickLabel.
#include "widgets/click_label.h"

#include "widgets/user_messages.h"

BEGIN_MESSAGE_MAP(CClickLabel, CColorLabel)
    ON_WM_LBUTTONUP()
    ON_WM_RBUTTONUP()
    ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

void CClickLabel::OnMouseMove(UINT flags, CPoint point) {
    if (::GetCapture() != GetSafeHwnd()) {
        // The pointer has just come onto the label.
        SetCapture();
        if (m_hot == 0) {
            m_savedTextColor = m_textColor;
            m_textColor = kHotTextColor;
            InvalidateRect(nullptr, TRUE);
            m_hot = 1;
        }
    } else {
        // With the capture, moves arrive wherever the pointer is: has it left the label?
        POINT screen = point;
        ClientToScreen(&screen);
        RECT window;
        GetWindowRect(&window);
        if (!::PtInRect(&window, screen)) {
            ::ReleaseCapture();
            m_hot = 0;
            m_textColor = m_savedTextColor;
            InvalidateRect(nullptr, TRUE);
        }
    }
    CColorLabel::OnMouseMove(flags, point);
}

void CClickLabel::OnLButtonUp(UINT flags, CPoint point) {
    ::ReleaseCapture();
    if (m_hot == 1) {
        m_hot = 0;
        m_textColor = m_savedTextColor;  // no repaint: the pointer is still over the label
    }
    ::PostMessageW(GetParentHwnd(), WM_LABEL_CLICKED, m_id, 0);
    CColorLabel::OnLButtonUp(flags, point);
}

void CClickLabel::OnRButtonUp(UINT flags, CPoint point) {
    ::PostMessageW(GetParentHwnd(), WM_LABEL_RCLICKED, m_id, 0);
    CColorLabel::OnRButtonUp(flags, point);
}
