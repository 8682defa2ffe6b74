// What tests read of windows, whatever the code page for non-Unicode programs: the wide functions,
// the text converted from and to GBK (the tests' own strings are GBK, as the program's are).
#pragma once

#include <windows.h>

#include <cstring>
#include <string>

#include "platform/wide_text.h"

namespace widetest {

// GetWindowTextA's contract with the text as GBK: at most size - 1 bytes and a NUL.
inline int GetWindowTextGbk(HWND hwnd, char* buffer, int size) {
    wchar_t wide[1024] = {};
    GetWindowTextW(hwnd, wide, 1024);
    const std::string text = GbkFromWide(wide);
    const size_t n = text.size() < static_cast<size_t>(size) ? text.size() : static_cast<size_t>(size) - 1;
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return static_cast<int>(n);
}

inline HWND FindWindowGbk(const char* cls, const char* title) {
    const std::wstring c = cls ? WideFromGbk(cls) : std::wstring(), t = title ? WideFromGbk(title) : std::wstring();
    return FindWindowW(cls ? c.c_str() : nullptr, title ? t.c_str() : nullptr);
}

// The extent of GBK text in the font selected into dc.
inline SIZE ExtentGbk(HDC dc, const char* text) {
    const std::wstring w = WideFromGbk(text);
    SIZE s{};
    GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &s);
    return s;
}

}  // namespace widetest
