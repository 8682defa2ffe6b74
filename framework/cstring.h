// CString: a multibyte (GBK) text value with the handful of operations the windows use.
#pragma once

#include <string>

class CString {
public:
    CString() = default;
    CString(const char* text) : s_(text ? text : "") {}  // NOLINT: implicit, as the windows use it
    CString(const char* text, int length) : s_(text ? std::string(text, length > 0 ? length : 0) : "") {}
    CString(const std::string& text) : s_(text) {}  // NOLINT

    CString& operator=(const char* text) {
        s_ = text ? text : "";
        return *this;
    }
    CString& operator+=(const CString& more) {
        s_ += more.s_;
        return *this;
    }

    // printf-style formatting; the result replaces the text.
    void Format(const char* format, ...);
    // Removes leading blanks (" "), tabs and line breaks, as the framework's TrimLeft does.
    CString& TrimLeft();

    int GetLength() const { return static_cast<int>(s_.size()); }
    bool IsEmpty() const { return s_.empty(); }
    void Empty() { s_.clear(); }
    operator const char*() const { return s_.c_str(); }  // NOLINT: LPCSTR conversion
    const std::string& str() const { return s_; }

    friend bool operator==(const CString& a, const CString& b) { return a.s_ == b.s_; }
    friend bool operator!=(const CString& a, const CString& b) { return a.s_ != b.s_; }
    friend CString operator+(const CString& a, const CString& b) { return CString(a.s_ + b.s_); }

private:
    std::string s_;
};
