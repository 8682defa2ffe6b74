// CNotePopup: the borderless yellow box that shows a day's notes in red next to the pointer, sized
// exactly to its text (one line per note) and hung 12 pixels below a point, centred on it.
#pragma once

#include <memory>

#include "framework/afxwin.h"

// Top-left corner of a popup of the given width hung under pt: 12 pixels below, centred (+2).
POINT PopupOrigin(POINT pt, int width);

class CNotePopup : public CDialog {
public:
    CNotePopup();
    ~CNotePopup() override = default;

    // Creates the hidden popup from template 243, owned by parent.
    BOOL Create(CWnd* parent);
    // Takes the text (GBK, lines split at "\r\n"; null = "") and places the popup under pt (screen
    // coordinates); the popup is neither shown nor hidden here. Returns 0.
    int SetText(std::unique_ptr<char[]> text, int length, POINT pt);

    const char* Text() const { return m_text ? m_text.get() : ""; }
    int TextLength() const { return m_textLength; }
    int TextWidth() const { return m_textWidth; }
    int TextHeight() const { return m_textHeight; }

    BOOL OnInitDialog() override { return TRUE; }
    void DoDataExchange(CDataExchange*) override {}

protected:
    void OnPaint();

    std::unique_ptr<char[]> m_text;
    int m_textLength = 0;
    CFont m_font;
    COLORREF m_backColor = RGB(255, 255, 0);
    COLORREF m_textColor = RGB(255, 0, 0);
    int m_textWidth = 0;
    int m_textHeight = 0;

    DECLARE_MESSAGE_MAP()
};
