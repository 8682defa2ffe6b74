// DialogScale.
#include "widgets/dialog_scale.h"

#include <cstring>

void DialogScale::Record(HWND dialog, int dpi) {
    m_madeDpi = m_dpi = dpi > 0 ? dpi : kBaseDpi;
    m_madeFont = reinterpret_cast<HFONT>(::SendMessageW(dialog, WM_GETFONT, 0, 0));
    RECT window{};
    ::GetWindowRect(dialog, &window);
    m_madeSize = SIZE{window.right - window.left, window.bottom - window.top};
    m_controls.clear();
    for (HWND c = ::GetWindow(dialog, GW_CHILD); c != nullptr; c = ::GetWindow(c, GW_HWNDNEXT)) {
        Control control{c, {}, reinterpret_cast<HFONT>(::SendMessageW(c, WM_GETFONT, 0, 0)) == m_madeFont};
        ::GetWindowRect(c, &control.rect);
        wchar_t cls[16] = L"";
        ::GetClassNameW(c, cls, sizeof cls / sizeof cls[0]);
        RECT list{};
        // A drop-down combo box is sized with its list; its window is the closed box only.
        if (::_wcsicmp(cls, L"ComboBox") == 0 && ::SendMessageW(c, CB_GETDROPPEDCONTROLRECT, 0,
                                                                reinterpret_cast<LPARAM>(&list)) &&
            list.bottom > control.rect.bottom)
            control.rect.bottom = list.bottom;
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&control.rect), 2);
        m_controls.push_back(control);
    }
}

void DialogScale::Apply(int dpi) {
    if (dpi <= 0 || dpi == m_dpi) return;
    ScopedFont font;
    HFONT use = m_madeFont;
    LOGFONTW look{};
    if (dpi != m_madeDpi && m_madeFont != nullptr && ::GetObjectW(m_madeFont, sizeof look, &look) == sizeof look) {
        look.lfHeight = ::MulDiv(look.lfHeight, dpi, m_madeDpi);
        look.lfWidth = ::MulDiv(look.lfWidth, dpi, m_madeDpi);
        font = ScopedFont(::CreateFontIndirectW(&look));
        if (font.valid()) use = font.get();
    }
    const auto scale = [&](LONG v) { return ::MulDiv(v, dpi, m_madeDpi); };
    for (const Control& c : m_controls) {
        if (!::IsWindow(c.hwnd)) continue;
        if (c.dialogFont && use != nullptr) ::SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(use), FALSE);
        ::SetWindowPos(c.hwnd, nullptr, scale(c.rect.left), scale(c.rect.top), scale(c.rect.right) - scale(c.rect.left),
                       scale(c.rect.bottom) - scale(c.rect.top), SWP_NOZORDER | SWP_NOACTIVATE);
        ::InvalidateRect(c.hwnd, nullptr, TRUE);
    }
    m_font = std::move(font);  // the font the controls had before goes only now
    m_dpi = dpi;
}

SIZE DialogScale::WindowSizeAt(int dpi) const {
    if (dpi <= 0) dpi = m_madeDpi;
    return SIZE{::MulDiv(m_madeSize.cx, dpi, m_madeDpi), ::MulDiv(m_madeSize.cy, dpi, m_madeDpi)};
}

LRESULT TellScaledSize(const DialogScale& scale, WPARAM dpi, LPARAM size) {
    *reinterpret_cast<SIZE*>(size) = scale.WindowSizeAt(static_cast<int>(dpi));
    return TRUE;
}
