// Standard control wrappers.
#include "framework/controls.h"

#include <string>

CString CComboBox::GetLBText(int index) {
    const LRESULT n = SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (n == CB_ERR || n < 0) return CString();
    std::string text(static_cast<size_t>(n) + 1, '\0');
    const LRESULT got = SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return CString(text);
}
