// NoteSwatch and the lines of the note dialogs.
#include "notes/note_swatch.h"
#include "platform/monitors.h"
#include "platform/wide_text.h"

#include <cstring>

void NoteSwatch::CreateBeside(CWnd* dialog, int editId, UINT id, int dpi) {
    m_id = id;
    HWND edit = dialog->GetDlgItem(editId);
    RECT r = RectInParent(edit);
    const int gap = Scale(3, dpi), size = Scale(kSwatchSize, dpi), line = Scale(22, dpi);
    r.right -= size + 2 * gap;
    ::MoveWindow(edit, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    // Level with a one-line edit's text, or with the first line of a taller edit.
    const int height = r.bottom - r.top < line ? r.bottom - r.top : line;
    const int top = r.top + (height > size ? (height - size) / 2 : 0);
    m_swatch.Create(r.right + gap, top, dialog, id, Colour(), size);
}

bool NoteSwatch::PickColour(CWnd* owner, COLORREF* customColours) {
    if (m_colourWord == nullptr) return false;
    CColorDialog picker(Colour(), 0, owner);
    picker.m_cc.lpCustColors = customColours;
    if (picker.DoModal() != IDOK) return false;
    *m_colourWord = (picker.GetColor() & 0x00FFFFFF) | OwnColorFlag;
    m_swatch.SetColor(Colour());
    return true;
}

void NoteSwatch::ClearColour() {
    if (m_colourWord == nullptr) return;
    *m_colourWord &= ~OwnColorFlag;
    m_swatch.SetColor(Colour());
}

void CreateLine(CWnd* dialog, CStatic* line, const char* text, const RECT& rect, UINT lineId, CFont* font) {
    HWND hwnd = ::CreateWindowExW(0, L"STATIC", WideFromGbk(text).c_str(), WS_CHILD | SS_LEFT | SS_NOPREFIX, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, dialog->GetSafeHwnd(),
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(static_cast<int>(lineId))),
                                  AfxGetInstanceHandle(), nullptr);
    line->AttachHandle(hwnd);
    ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font->GetSafeHandle()), TRUE);
    ::ShowWindow(hwnd, SW_SHOW);
}

SIZE LineExtent(HWND window, CFont* font, const char* text) {
    HDC dc = ::GetDC(window);
    SIZE size{};
    {
        ScopedSelect select(dc, font->GetSafeHandle());
        size = TextExtentOf(dc, text, static_cast<int>(std::strlen(text)));
    }
    ::ReleaseDC(window, dc);
    return size;
}

RECT PlaceLineBeforeEdit(CWnd* dialog, CStatic* line, const char* text, UINT lineId, int editId, CFont* font,
                         CFont* smallFont, int dpi) {
    const RECT edit = RectInParent(dialog->GetDlgItem(editId));
    const int gap = Scale(4, dpi);
    CFont* use = font;
    int width = LineExtent(dialog->GetSafeHwnd(), font, text).cx;
    for (int height = 11; edit.left - gap - width < 0 && height >= 8; --height) {
        smallFont->CreateFont(-Scale(height, dpi), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Arial");
        use = smallFont;
        width = LineExtent(dialog->GetSafeHwnd(), smallFont, text).cx;
    }
    const int left = edit.left - gap - width > 0 ? edit.left - gap - width : 0;
    CreateLine(dialog, line, text, RECT{left, edit.top + Scale(2, dpi), edit.left - gap, edit.bottom}, lineId, use);
    return edit;
}

void CreateLineUnder(CWnd* dialog, CStatic* line, const char* text, int underId, UINT lineId, CFont* font, int dpi) {
    const RECT under = RectInParent(dialog->GetDlgItem(underId));
    RECT client{};
    dialog->GetClientRect(&client);
    RECT box{under.left, under.bottom + Scale(4, dpi), client.right - Scale(4, dpi), 0};
    const std::wstring wide = WideFromGbk(text);
    HDC dc = ::GetDC(dialog->GetSafeHwnd());
    {
        ScopedSelect select(dc, font->GetSafeHandle());
        RECT measured{0, 0, box.right - box.left, 0};
        ::DrawTextW(dc, wide.c_str(), -1, &measured, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
        box.bottom = box.top + (measured.bottom - measured.top);
    }
    ::ReleaseDC(dialog->GetSafeHwnd(), dc);
    CreateLine(dialog, line, text, box, lineId, font);
    ::SetWindowLongPtrW(line->GetSafeHwnd(), GWL_STYLE, ::GetWindowLongPtrW(line->GetSafeHwnd(), GWL_STYLE) | SS_EDITCONTROL);
    const int grow = box.bottom + Scale(6, dpi) - client.bottom;
    if (grow <= 0) return;
    RECT window{};
    dialog->GetWindowRect(&window);
    ::SetWindowPos(dialog->GetSafeHwnd(), nullptr, 0, 0, window.right - window.left, window.bottom - window.top + grow,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
