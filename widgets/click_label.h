// CClickLabel: a colour label that lights up (RGB(255, 64, 64)) while the pointer is over it and,
// when the left button is released over it, posts WM_LABEL_CLICKED (wParam = its id) to its parent;
// the right button posts WM_LABEL_RCLICKED the same way.
// The hover is tracked with the mouse capture.
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
    void OnLButtonUp(UINT flags, CPoint point);
    void OnRButtonUp(UINT flags, CPoint point);

    BYTE m_hot = 0;
    COLORREF m_savedTextColor = 0;

    DECLARE_MESSAGE_MAP()
};
