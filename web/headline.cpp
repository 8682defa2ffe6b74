// Headline request text, response split, body parsing and link checks.
#include "web/headline.h"

#include <cctype>
#include <cstring>

std::string FormatHttpRequest(const char* path, const char* host, const char* version) {
    return std::string("GET /") + path + " HTTP/1.1\r\nHost:" + host + "\r\nVer:" + version + "\r\n\r\n";
}

size_t GbkPrefixLength(const char* text, size_t size, size_t capacity) {
    size_t i = 0;
    while (i < size) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const size_t width = (c >= 0x81 && c <= 0xFE && i + 1 < size) ? 2 : 1;
        if (i + width > capacity) break;
        i += width;
    }
    return i;
}

size_t CompleteGbkLength(const char* text, size_t size) {
    size_t i = 0;
    while (i < size) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x81 || c > 0xFE) {
            ++i;
        } else if (i + 1 < size) {
            i += 2;
        } else {
            break;  // a lead byte without its second byte
        }
    }
    return i;
}

int SplitHttpResponse(const char* data, size_t size, char* body, int* length) {
    const int capacity = *length;
    body[0] = '\0';
    *length = 0;
    const char* end = nullptr;
    for (size_t i = 0; i + 4 <= size; ++i) {
        if (std::memcmp(data + i, "\r\n\r\n", 4) == 0) {
            end = data + i + 4;
            break;
        }
    }
    if (end == nullptr) return -6;
    const size_t rest = static_cast<size_t>(data + size - end);
    const void* nul = std::memchr(end, '\0', rest);
    const size_t text = nul ? static_cast<size_t>(static_cast<const char*>(nul) - end) : rest;
    const size_t n = GbkPrefixLength(end, text, capacity > 0 ? static_cast<size_t>(capacity) : 0);
    std::memcpy(body, end, n);
    body[n] = '\0';
    *length = static_cast<int>(n);
    return 0;
}

HeadlineRecord ParseHeadlineBody(const char* body) {
    HeadlineRecord r;
    const char* p = body;
    while (*p == ' ' || *p == '\r' || *p == '\n' || *p == '\t') ++p;
    if (*p != '*') return r;
    ++p;
    const char* tab = std::strchr(p, '\t');
    if (tab == nullptr) return r;  // "*" without a TAB carries no headline
    r.present = true;
    r.link.assign(p, tab);
    r.text.assign(tab + 1);
    return r;
}

bool ApplyHeadlineBody(HeadlineState* state, int result, const char* body) {
    if (result != 0) return false;
    state->showNext = true;
    const HeadlineRecord r = ParseHeadlineBody(body);
    if (!r.present) return false;
    const bool changed = state->text != r.text || state->link != r.link;
    state->link = r.link;
    state->text = r.text;
    return changed;
}

namespace {

bool StartsWithNoCase(const std::string& s, const char* prefix) {
    const size_t n = std::strlen(prefix);
    if (s.size() < n) return false;
    for (size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(s[i])) != prefix[i]) return false;
    return true;
}

}  // namespace

bool IsSafeHeadlineLink(const std::string& link) {
    for (unsigned char c : link)
        if (c <= 0x20 || c == 0x7F || c == '"') return false;
    if (link.size() >= 2 && link[0] == '/' && link[1] != '/' && link[1] != '\\') return true;
    if (link == "/") return true;
    for (const char* scheme : {"http://", "https://"}) {
        if (StartsWithNoCase(link, scheme)) {
            const size_t host = std::strlen(scheme);
            return link.size() > host && link[host] != '/' && link[host] != '\\';
        }
    }
    return false;
}

std::string VendorPageUrl(const char* host, const std::string& path) { return std::string("http://") + host + path; }
