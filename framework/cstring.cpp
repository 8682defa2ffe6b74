// CString formatting and trimming.
#include "framework/cstring.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

void CString::Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (n < 0) {
        s_.clear();
    } else {
        std::vector<char> buffer(static_cast<size_t>(n) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        s_.assign(buffer.data(), static_cast<size_t>(n));
    }
    va_end(args);
}

CString& CString::TrimLeft() {
    const size_t first = s_.find_first_not_of(" \t\r\n\v\f");
    s_.erase(0, first == std::string::npos ? s_.size() : first);
    return *this;
}
