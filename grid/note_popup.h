// CNotePopup: the borderless yellow box that shows a day's notes in red next to the pointer, sized
// to its text: one line per note, wrapped at a reading width, hung 12 pixels below a point and
// centred on it, moved to stay whole inside the work area of that point's monitor; a text taller
// than the work area ends with "…". Shown, it stays above every other window without taking the
// focus.
#pragma once

#include <memory>
#include <string>

#include "framework/afxwin.h"
#include "grid/popup_text.h"
#include "platform/dpi.h"
#include "platform/placement.h"

class CNotePopup : public CDialog {
public:
    CNotePopup();
    ~CNotePopup() override = default;

    // Creates the hidden popup from template 243, owned by parent.
    BOOL Create(CWnd* parent, int dpi = kBaseDpi);
    // The font (and the gap under the pointer) at another display scale, from the next SetText.
    void SetDpi(int dpi);
    // Takes the text (GBK, lines split at "\r\n"; null = "") and places the popup under pt (screen
    // coordinates; PlacePopup: inside cells, else beside calendar; without them anywhere in the work
    // area but over the pointer); the popup is neither shown nor hidden here. Returns 0.
    int SetText(std::unique_ptr<char[]> text, int length, POINT pt, const PixelRect* cells = nullptr,
                const PixelRect* calendar = nullptr);
    // Shows the popup above every window, the focus staying where it is.
    void Show();

    const char* Text() const { return m_text ? m_text.get() : ""; }
    int TextLength() const { return m_textLength; }
    // The lines as drawn.
    const std::string& ShownText() const { return m_shown.text; }
    int TextWidth() const { return m_textWidth; }
    int TextHeight() const { return m_textHeight; }

    BOOL OnInitDialog() override { return TRUE; }
    void DoDataExchange(CDataExchange*) override {}

protected:
    void OnPaint();
    // HTTRANSPARENT: the popup never takes a click or the pointer from what lies under it.
    LRESULT OnNcHitTest(WPARAM, LPARAM);

    std::unique_ptr<char[]> m_text;
    int m_textLength = 0;
    PopupText m_shown;
    CFont m_font;
    int m_dpi = kBaseDpi;  // the popup's font and its gap under the pointer scale with it
    COLORREF m_backColor = RGB(255, 255, 0);
    COLORREF m_textColor = RGB(255, 0, 0);
    int m_textWidth = 0;
    int m_textHeight = 0;

    DECLARE_MESSAGE_MAP()
};
