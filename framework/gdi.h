// Device contexts and fonts: CDC wraps an HDC it does not own; CPaintDC and CClientDC own theirs
// for their lifetime; CFont owns one font (a counted ScopedFont). Objects go into a DC only through
// ScopedSelect (platform/handles.h), which puts back what it replaced.
#pragma once

#include <windows.h>

#include "framework/cstring.h"
#include "framework/message_map.h"
#include "platform/handles.h"

class CWnd;

struct CSize : SIZE {
    CSize() : SIZE{0, 0} {}
    CSize(int x, int y) : SIZE{x, y} {}
};

class CFont {
public:
    CFont() = default;
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;

    // A font of pointSize tenths of a point (100 = 10 pt), weight 400, for a screen of dpi dots an
    // inch (0: the screen's LOGPIXELSY).
    BOOL CreatePointFont(int pointSize, const char* faceName, int dpi = 0);
    // ::CreateFontW with the same arguments (the GBK face name converted).
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                    BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                    BYTE pitchAndFamily, const char* faceName);
    BOOL DeleteObject();
    HFONT GetSafeHandle() const { return m_font.get(); }
    operator HFONT() const { return m_font.get(); }  // NOLINT

private:
    ScopedFont m_font;
};

class CDC {
public:
    explicit CDC(HDC dc = nullptr) : m_hDC(dc) {}
    virtual ~CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    operator HDC() const { return m_hDC; }  // NOLINT

    COLORREF SetTextColor(COLORREF c) { return ::SetTextColor(m_hDC, c); }                    // ::SetTextColor
    COLORREF SetBkColor(COLORREF c) { return ::SetBkColor(m_hDC, c); }                        // ::SetBkColor
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }                              // ::SetBkMode
    // Fills r with a solid colour.
    void FillSolidRect(const RECT& r, COLORREF color);
    // Text is GBK; it is drawn and measured as UTF-16 (TextOutW, DrawTextW, GetTextExtentPoint32W).
    BOOL TextOut(int x, int y, const char* text, int length);
    BOOL TextOut(int x, int y, const char* text);
    int DrawText(const char* text, int length, RECT* r, UINT format);
    // ::GetTextExtentPoint32A
    CSize GetTextExtent(const char* text, int length) const;
    BOOL Ellipse(int l, int t, int r, int b) { return ::Ellipse(m_hDC, l, t, r, b); }      // ::Ellipse
    int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }           // ::GetDeviceCaps

protected:
    HDC m_hDC;
};

// The paint context of WM_PAINT: BeginPaint/EndPaint; or, while a WM_PRINTCLIENT is being
// handled, the device context that message carries.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps{};

private:
    HWND m_window;
    bool m_printing;
};

// ::GetDC / ::ReleaseDC of a window.
class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

private:
    HWND m_window;
};

// While alive, CPaintDC paints into dc instead of beginning a paint (WM_PRINTCLIENT).
class PrintClientScope {
public:
    explicit PrintClientScope(HDC dc);
    ~PrintClientScope();

private:
    HDC previous_;
};

// Size of text split into lines at "\r\n": the widest line, and lines x the height of "a".
CSize MeasureLines(HDC dc, const char* text, int length);
// The extent of n bytes of GBK text in the font selected into dc.
CSize TextExtentOf(HDC dc, const char* text, int length);

template <class T, auto F>
LRESULT afx::Invoke_b_D(CWnd* w, WPARAM wParam, LPARAM) {
    CDC dc(reinterpret_cast<HDC>(wParam));
    return (static_cast<T*>(w)->*F)(&dc);
}
