// Standard control wrappers.
#include "framework/controls.h"

#include <string>

#include "platform/wide_text.h"

int CComboBox::AddString(const char* text) {
    const std::wstring wide = WideFromGbk(text);
    return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str())));
}

CString CComboBox::GetLBText(int index) {
    const LRESULT n = SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (n == CB_ERR || n < 0) return CString();
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    const LRESULT got = SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return CString(GbkFromWide(text));
}
