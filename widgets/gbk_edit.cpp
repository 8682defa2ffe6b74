// KeepEditToGbk.
#include "widgets/gbk_edit.h"

#include <cwchar>

#include "platform/wide_text.h"

namespace {

constexpr const wchar_t* kOldProcProperty = L"VestrelGbkEditProc";

bool ClipboardFitsGbk(HWND owner) {
    if (!::IsClipboardFormatAvailable(CF_UNICODETEXT) || !::OpenClipboard(owner)) return true;
    bool fits = true;
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* text = static_cast<const wchar_t*>(::GlobalLock(data))) {
            fits = FitsGbk(text, static_cast<int>(std::wcslen(text)));
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return fits;
}

LRESULT CALLBACK GbkEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    auto old = reinterpret_cast<WNDPROC>(::GetPropW(edit, kOldProcProperty));
    switch (message) {
        case WM_CHAR:
        case WM_IME_CHAR: {
            const wchar_t c = static_cast<wchar_t>(wParam);
            // Control characters pass; a surrogate (half of a character beyond the BMP) never fits.
            if (c >= 0x20 && !FitsGbk(&c, 1)) {
                ::MessageBeep(MB_ICONWARNING);
                return 0;
            }
            break;
        }
        case WM_PASTE:
            if (!ClipboardFitsGbk(edit)) {
                ::MessageBeep(MB_ICONWARNING);
                return 0;
            }
            break;
        case WM_NCDESTROY:
            ::SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
            ::RemovePropW(edit, kOldProcProperty);
            break;
        default:
            break;
    }
    return ::CallWindowProcW(old, edit, message, wParam, lParam);
}

}  // namespace

void KeepEditToGbk(HWND edit) {
    if (edit == nullptr || ::GetPropW(edit, kOldProcProperty) != nullptr) return;
    const LONG_PTR old = ::GetWindowLongPtrW(edit, GWLP_WNDPROC);
    ::SetPropW(edit, kOldProcProperty, reinterpret_cast<HANDLE>(old));
    ::SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GbkEditProc));
}
