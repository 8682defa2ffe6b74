// The headline: the HTTP request and response split, the body format, the headline state the main
// window shows, and which links may be opened. Portable: no socket or shell here.
//
// Body format: optional blanks, CR, LF and TAB; "*" marks a record; the link up to the first TAB;
// the headline text after it, unchanged (line breaks included).
#pragma once

#include <cstddef>
#include <string>

constexpr const char* kHeadlinePath = "link230/";
constexpr const char* kHeadlineVersion = "1.2";
constexpr int kHttpBufferSize = 2048;   // request, then response (2047 bytes and a NUL)
constexpr int kHeadlineCapacity = 1023; // body bytes handed to the main window

// "GET /<path> HTTP/1.1\r\nHost:<host>\r\nVer:<version>\r\n\r\n"
std::string FormatHttpRequest(const char* path, const char* host, const char* version);

// Finds the body of a response: the bytes after the first CR LF CR LF, ended by a NUL inside it
// and cut to *length bytes (the capacity) without splitting a GBK character. Copies it with a NUL
// into body (*length + 1 bytes) and sets *length to its length. 0, or -6 when the data holds no
// CR LF CR LF.
int SplitHttpResponse(const char* data, size_t size, char* body, int* length);

// The longest prefix of text[0 ... size) not longer than capacity that ends on a GBK character
// boundary (a lead byte 0x81 ... 0xFE takes the byte after it along).
size_t GbkPrefixLength(const char* text, size_t size, size_t capacity);

// The length of text[0 ... size) without a lead byte left alone at its end (the first half of a
// double-byte character whose second half did not arrive).
size_t CompleteGbkLength(const char* text, size_t size);

struct HeadlineRecord {
    bool present = false;  // "*" and a TAB after it
    std::string link;
    std::string text;
};
HeadlineRecord ParseHeadlineBody(const char* body);

// What the main window shows of the headline.
struct HeadlineState {
    std::string text;                 // label 1053, hidden while empty
    std::string link = "/linking.asp";
    bool showNext = false;            // label 1054, "下一篇"
};

// Applies one fetch: nothing on a failed request (result != 0); otherwise "下一篇" shows and a
// headline record replaces the text and the link. Returns true when the text or link changed.
bool ApplyHeadlineBody(HeadlineState* state, int result, const char* body);

// The link may be handed to the shell: an absolute http:// or https:// URL with a host, or a path
// beginning with "/" (on the vendor web host), without control characters, blanks or quotes.
bool IsSafeHeadlineLink(const std::string& link);

// "http://" + host + path.
std::string VendorPageUrl(const char* host, const std::string& path);
