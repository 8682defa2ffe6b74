// CClickLabel: a colour label that lights up (RGB(255, 64, 64)) while the pointer is over it and,
// when the left button is released over it, posts WM_LABEL_CLICKED (wParam = its id) to its parent;
// the right button posts WM_LABEL_RCLICKED the same way.
// The hover starts with a move over the label and ends when the system reports the pointer gone
// (WM_MOUSELEAVE, asked for with TrackMouseEvent), or when the label is hidden or disabled.
#pragma once

#include "widgets/color_label.h"

constexpr COLORREF kHotTextColor = RGB(255, 64, 64);

class CClickLabel : public CColorLabel {
public:
    CClickLabel() = default;
    ~CClickLabel() override = default;

    bool IsHot() const { return m_hot != 0; }

protected:
    void OnMouseMove(UINT flags, CPoint point);
    LRESULT OnMouseLeave(WPARAM, LPARAM);
    void OnShowWindow(BOOL show, UINT status);
    LRESULT OnEnable(WPARAM enabled, LPARAM);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnRButtonUp(UINT flags, CPoint point);
    // Puts the saved colour back and repaints, when the label is hot.
    void EndHover();

    BYTE m_hot = 0;
    COLORREF m_savedTextColor = 0;

    DECLARE_MESSAGE_MAP()
};
