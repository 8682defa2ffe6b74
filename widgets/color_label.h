// CColorLabel: a child window showing one text (lines split at "\r\n") in its own font and colours,
// sized exactly to its text, or at most to a width it is given. It takes no input and sends nothing.
#pragma once

#include "framework/afxwin.h"

class CColorLabel : public CWnd {
public:
    CColorLabel() = default;
    ~CColorLabel() override;

    // Creates the label hidden at rect (parent client coordinates) with a font of pointSize tenths
    // of a point. FALSE, with nothing stored, when the window cannot be made.
    BOOL Create(const RECT& rect, CWnd* parent, UINT id, COLORREF backColor, COLORREF textColor, int pointSize,
                const char* faceName);
    // Takes the text, also as the window's text; the next paint fits the window to it. show != 0
    // also shows the window.
    void SetText(const char* text, BYTE show);
    // Repaints the text in a new colour (no erase).
    void SetTextColor(COLORREF color);
    // From the next paint the window is never wider than maxWidth pixels (0: no limit); a text cut
    // there ends with "…".
    void LimitWidth(int maxWidth) { m_maxWidth = maxWidth > 0 ? maxWidth : 0; }

    const CString& Text() const { return m_text; }
    COLORREF TextColor() const { return m_textColor; }
    const RECT& Rect() const { return m_rect; }
    // Moves the label's top-left corner to (x, y) of the parent's client area; its size stays.
    void MoveTo(int x, int y);
    // Makes the font again for a screen of dpi dots an inch; the next paint fits the window to it.
    void SetDpi(int dpi);

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnDestroy();

    RECT m_rect{};
    CString m_text;
    COLORREF m_textColor = 0;
    COLORREF m_backColor = 0;
    CFont m_font;
    int m_pointSize = 0;
    CString m_faceName;
    UINT m_id = 0;
    BYTE m_fitToText = 0;
    int m_maxWidth = 0;

    DECLARE_MESSAGE_MAP()
};
