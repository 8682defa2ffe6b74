// CNotePopup.
#include "grid/note_popup.h"

#include "platform/monitors.h"
#include "platform/placement.h"
#include "platform/wide_text.h"
#include "res/resource.h"

BEGIN_MESSAGE_MAP(CNotePopup, CDialog)
    ON_WM_PAINT()
    ON_MESSAGE(WM_NCHITTEST, &CNotePopup::OnNcHitTest)
END_MESSAGE_MAP()

namespace {

// The popup font's advances, and the height of one line.
GlyphWidths MeasureGlyphs(HDC dc, int* lineHeight) {
    GlyphWidths w{};
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc, &tm);
    *lineHeight = tm.tmHeight > 0 ? tm.tmHeight : 1;
    if (!::GetCharWidth32W(dc, 0, 255, w.single)) {
        for (int& x : w.single) x = tm.tmAveCharWidth;
    }
    SIZE wide{};
    ::GetTextExtentPoint32W(dc, L"\x4E2D", 1, &wide);  // "中"
    w.wide = wide.cx > 0 ? wide.cx : 2 * tm.tmAveCharWidth;
    return w;
}

}  // namespace

CNotePopup::CNotePopup() : CDialog(IDD_NOTE_POPUP) { SetDpi(kBaseDpi); }

BOOL CNotePopup::Create(CWnd* parent, int dpi) {
    if (!CDialog::Create(IDD_NOTE_POPUP, parent)) return FALSE;
    if (dpi != kBaseDpi) SetDpi(dpi);
    ::SetWindowPos(GetSafeHwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return TRUE;
}

void CNotePopup::SetDpi(int dpi) {
    m_dpi = dpi;
    m_font.CreateFont(Scale(15, dpi), 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                      DEFAULT_QUALITY, DEFAULT_PITCH, "宋体");
}

void CNotePopup::Show() {
    // Raised on every show: a window the system put above it since (a closed dialog's owner) goes
    // back below.
    ::SetWindowPos(GetSafeHwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

int CNotePopup::SetText(std::unique_ptr<char[]> text, int length, POINT pt, const PixelRect* cells,
                        const PixelRect* calendar) {
    // The previous text is freed as the new one is taken.
    if (text) {
        m_text = std::move(text);
        m_textLength = length > 0 ? length : 0;
    } else {
        m_text.reset();
        m_textLength = 0;
    }
    const PixelRect area = WorkAreaAt(pt.x, pt.y);
    const int areaWidth = area.right - area.left, areaHeight = area.bottom - area.top;
    const PopupBounds bounds{cells ? *cells : area, calendar ? *calendar : area, area, m_dpi};
    {
        CClientDC dc(this);
        ScopedSelect font(dc, m_font.GetSafeHandle());
        int lineHeight = 1;
        const GlyphWidths widths = MeasureGlyphs(dc, &lineHeight);
        const int reading = kPopupReadingChars * widths.wide;
        // No taller than the room below or above the pointer in the day cells or beside the
        // calendar: it never covers the pointer, which the grid then keeps seeing, nor the
        // calendar's controls; a longer note ends with "…".
        const int width = reading < areaWidth ? reading : areaWidth;
        const int room = PopupRoom(pt.y, width, bounds);
        m_shown = LayOutPopupText(Text(), m_textLength, widths, width, room / lineHeight);
        const CSize size = MeasureLines(dc, m_shown.text.data(), static_cast<int>(m_shown.text.size()));
        m_textWidth = size.cx < areaWidth ? size.cx : areaWidth;
        m_textHeight = size.cy < areaHeight ? size.cy : areaHeight;
    }
    // Also its window text, for tools that read windows (screen readers, tests).
    ::SetWindowTextW(GetSafeHwnd(), WideFromGbk(m_shown.text).c_str());
    const Origin origin = PlacePopup(pt.x, pt.y, m_textWidth, m_textHeight, bounds);
    MoveWindow(origin.x, origin.y, m_textWidth, m_textHeight, TRUE);
    InvalidateRect(nullptr, FALSE);
    return 0;
}

LRESULT CNotePopup::OnNcHitTest(WPARAM, LPARAM) {
    return HTTRANSPARENT;  // the mouse goes through to the grid (or whatever lies under the popup)
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
    dc.DrawText(m_shown.text.data(), static_cast<int>(m_shown.text.size()), &r, DT_NOPREFIX);
}
