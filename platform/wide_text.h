// The boundary between the program's text and Windows': the program keeps its text as GBK (the
// core's labels, the note files, the headline) and its paths as UTF-8; every call into Windows takes
// UTF-16. These convert with code page 936 named, never the system's ANSI code page, so the program
// reads and finds the same on a Windows of any language for non-Unicode programs.
#pragma once

#include <string>

// GBK bytes as UTF-16 (n bytes, or up to the NUL when n < 0). A byte sequence GBK does not define
// becomes U+FFFD.
std::wstring WideFromGbk(const char* gbk, int n = -1);
inline std::wstring WideFromGbk(const std::string& gbk) { return WideFromGbk(gbk.data(), static_cast<int>(gbk.size())); }
// UTF-16 as GBK (n units, or up to the NUL when n < 0). *lossless (when given) is false when a
// character has no GBK form (it became "?").
std::string GbkFromWide(const wchar_t* wide, int n = -1, bool* lossless = nullptr);
inline std::string GbkFromWide(const std::wstring& wide, bool* lossless = nullptr) {
    return GbkFromWide(wide.data(), static_cast<int>(wide.size()), lossless);
}
// Whether every character of the text has a GBK form (what a note file can hold).
bool FitsGbk(const wchar_t* wide, int n);

// Paths: UTF-8 inside the program, UTF-16 at the call.
std::wstring WideFromUtf8(const std::string& utf8);
std::string Utf8FromWide(const wchar_t* wide, int n = -1);
inline std::string Utf8FromWide(const std::wstring& wide) {
    return Utf8FromWide(wide.data(), static_cast<int>(wide.size()));
}
// A GBK name ("日历\201701") as UTF-8, to join to a path; and back, to show a path in GBK text.
std::string Utf8FromGbk(const std::string& gbk);
std::string GbkFromUtf8(const std::string& utf8);
