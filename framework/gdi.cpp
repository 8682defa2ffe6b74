// Device contexts and fonts.
#include "framework/gdi.h"

#include <cstring>

#include "framework/cwnd.h"
#include "platform/handles.h"
#include "platform/wide_text.h"

namespace {
thread_local HDC t_printDc = nullptr;
}  // namespace

PrintClientScope::PrintClientScope(HDC dc) : previous_(t_printDc) { t_printDc = dc; }
PrintClientScope::~PrintClientScope() { t_printDc = previous_; }

BOOL CFont::CreatePointFont(int pointSize, const char* faceName, int dpi) {
    // Tenths of a point to pixels, as a negative (character) height.
    if (dpi <= 0) {
        HDC screen = ::GetDC(nullptr);
        dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
        ::ReleaseDC(nullptr, screen);
    }
    const int height = -::MulDiv(pointSize, dpi, 720);
    return CreateFont(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                      DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, faceName);
}

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                       BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                       BYTE quality, BYTE pitchAndFamily, const char* faceName) {
    m_font = ScopedFont(::CreateFontW(height, width, escapement, orientation, weight, italic, underline, strikeOut,
                                      charSet, outPrecision, clipPrecision, quality, pitchAndFamily,
                                      WideFromGbk(faceName).c_str()));
    return m_font.valid();
}

BOOL CFont::DeleteObject() {
    if (!m_font.valid()) return FALSE;
    m_font.Close();
    return TRUE;
}

void CDC::FillSolidRect(const RECT& r, COLORREF color) {
    // An opaque empty text paints r in the background colour: no brush to make and free.
    const COLORREF old = ::SetBkColor(m_hDC, color);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
}

BOOL CDC::TextOut(int x, int y, const char* text, int length) {
    const std::wstring wide = WideFromGbk(text, length);
    return ::TextOutW(m_hDC, x, y, wide.data(), static_cast<int>(wide.size()));
}

BOOL CDC::TextOut(int x, int y, const char* text) { return TextOut(x, y, text, static_cast<int>(std::strlen(text))); }

int CDC::DrawText(const char* text, int length, RECT* r, UINT format) {
    const std::wstring wide = WideFromGbk(text, length);
    return ::DrawTextW(m_hDC, wide.c_str(), static_cast<int>(wide.size()), r, format);
}

CSize CDC::GetTextExtent(const char* text, int length) const { return TextExtentOf(m_hDC, text, length); }

CSize TextExtentOf(HDC dc, const char* text, int length) {
    const std::wstring wide = WideFromGbk(text, length);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, wide.data(), static_cast<int>(wide.size()), &size);
    return CSize(size.cx, size.cy);
}

CPaintDC::CPaintDC(CWnd* wnd) : m_window(wnd->GetSafeHwnd()), m_printing(t_printDc != nullptr) {
    if (m_printing) {
        m_hDC = t_printDc;
        ::SaveDC(m_hDC);
    } else {
        m_hDC = ::BeginPaint(m_window, &m_ps);
    }
}

CPaintDC::~CPaintDC() {
    if (m_printing) {
        ::RestoreDC(m_hDC, -1);
    } else {
        ::EndPaint(m_window, &m_ps);
    }
}

CClientDC::CClientDC(CWnd* wnd) : m_window(wnd->GetSafeHwnd()) { m_hDC = ::GetDC(m_window); }
CClientDC::~CClientDC() { ::ReleaseDC(m_window, m_hDC); }

CSize MeasureLines(HDC dc, const char* text, int length) {
    const CSize a = TextExtentOf(dc, "a", 1);
    int widest = 0;
    int lines = 1;
    int start = 0;
    for (int i = 0; i <= length; ++i) {
        const bool lineEnd = i + 1 < length && text[i] == '\r' && text[i + 1] == '\n';
        if (i == length || lineEnd) {
            const CSize s = TextExtentOf(dc, text + start, i - start);
            if (s.cx > widest) widest = s.cx;
            if (lineEnd) {
                ++lines;
                start = i + 2;
                ++i;
            }
        }
    }
    return CSize(widest, lines * a.cy);
}
