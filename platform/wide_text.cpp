// Text conversions at the Windows boundary.
#include "platform/wide_text.h"

#include <windows.h>

#include <cstring>
#include <cwchar>

namespace {

constexpr UINT kGbk = 936;

std::wstring ToWide(UINT codePage, const char* text, int n) {
    if (text == nullptr) return std::wstring();
    if (n < 0) n = static_cast<int>(strlen(text));
    if (n == 0) return std::wstring();
    const int units = ::MultiByteToWideChar(codePage, 0, text, n, nullptr, 0);
    if (units <= 0) return std::wstring();
    std::wstring out(static_cast<size_t>(units), L'\0');
    ::MultiByteToWideChar(codePage, 0, text, n, &out[0], units);
    return out;
}

std::string FromWide(UINT codePage, const wchar_t* wide, int n, bool* lossless) {
    if (lossless) *lossless = true;
    if (wide == nullptr) return std::string();
    if (n < 0) n = static_cast<int>(wcslen(wide));
    if (n == 0) return std::string();
    BOOL usedDefault = FALSE;
    BOOL* used = codePage == CP_UTF8 ? nullptr : &usedDefault;
    const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int bytes = ::WideCharToMultiByte(codePage, flags, wide, n, nullptr, 0, nullptr, used);
    if (bytes <= 0) {
        if (lossless) *lossless = false;
        return std::string();
    }
    std::string out(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(codePage, flags, wide, n, &out[0], bytes, nullptr, used);
    if (lossless && usedDefault) *lossless = false;
    return out;
}

}  // namespace

std::wstring WideFromGbk(const char* gbk, int n) { return ToWide(kGbk, gbk, n); }

std::string GbkFromWide(const wchar_t* wide, int n, bool* lossless) { return FromWide(kGbk, wide, n, lossless); }

bool FitsGbk(const wchar_t* wide, int n) {
    // A surrogate (half of a character beyond the BMP) never fits.
    for (int i = 0; i < n; ++i)
        if (wide[i] >= 0xD800 && wide[i] <= 0xDFFF) return false;
    bool lossless = true;
    GbkFromWide(wide, n, &lossless);
    return lossless;
}

std::wstring WideFromUtf8(const std::string& utf8) {
    return ToWide(CP_UTF8, utf8.data(), static_cast<int>(utf8.size()));
}

std::string Utf8FromWide(const wchar_t* wide, int n) { return FromWide(CP_UTF8, wide, n, nullptr); }

std::string Utf8FromGbk(const std::string& gbk) { return Utf8FromWide(WideFromGbk(gbk)); }

std::string GbkFromUtf8(const std::string& utf8) { return GbkFromWide(WideFromUtf8(utf8)); }
