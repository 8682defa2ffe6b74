// Headline request text, response split and body parsing, link checks (portable).
#include "web/headline.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct Split {
    int result;
    std::string body;
};

Split SplitOf(const std::string& response, int capacity = kHeadlineCapacity) {
    std::string body(static_cast<size_t>(capacity) + 1, '\x7F');
    int length = capacity;
    const int rc = SplitHttpResponse(response.data(), response.size(), &body[0], &length);
    EXPECT_EQ(body[static_cast<size_t>(length)], '\0');
    return {rc, body.substr(0, static_cast<size_t>(length))};
}

TEST(HttpRequest, ExactBytes) {
    EXPECT_EQ(FormatHttpRequest(kHeadlinePath, "news.example", kHeadlineVersion),
              "GET /link230/ HTTP/1.1\r\nHost:news.example\r\nVer:1.2\r\n\r\n");
}

TEST(HttpResponse, BodyAfterTheFirstBlankLine) {
    struct { std::string response; int result; std::string body; } rows[] = {
        {"HTTP/1.1 200 OK\r\nA: b\r\n\r\n*http://x\ttext", 0, "*http://x\ttext"},
        {"HTTP/1.1 200 OK\r\n\r\n", 0, ""},
        {"\r\n\r\nbody\r\n\r\nmore", 0, "body\r\n\r\nmore"},
        {"HTTP/1.1 200 OK\r\nA: b\r\n", -6, ""},
        {"HTTP/1.1 200 OK\n\nbody", -6, ""},
        {"", -6, ""},
        {std::string("HTTP/1.1 200 OK\r\n\r\nab\0cd", 24), 0, "ab"},  // a NUL ends the body
    };
    for (const auto& r : rows) {
        const Split s = SplitOf(r.response);
        EXPECT_EQ(s.result, r.result) << r.response;
        EXPECT_EQ(s.body, r.body) << r.response;
    }
}

TEST(HttpResponse, LongBodyIsCutAtACharacterBoundary) {
    // 1,500 bytes: "a" then GBK characters, so byte 1,023 would split one.
    std::string body = "a";
    while (body.size() < 1500) body += "中";
    const Split s = SplitOf("HTTP/1.1 200 OK\r\n\r\n" + body);
    EXPECT_EQ(s.result, 0);
    EXPECT_EQ(s.body.size(), 1023u);  // "a" + 511 characters
    EXPECT_EQ(s.body, body.substr(0, 1023));
    // Without the leading "a", 1,023 bytes would end inside a character: 1,022 are kept.
    std::string even;
    while (even.size() < 1500) even += "中";
    EXPECT_EQ(SplitOf("\r\n\r\n" + even).body.size(), 1022u);
    EXPECT_EQ(SplitOf("\r\n\r\n" + std::string(1500, 'x')).body.size(), 1023u);
}

TEST(GbkPrefixLength, Boundaries) {
    const std::string t = "ab中文c";  // 2 + 2 + 2 + 1 bytes
    struct { size_t capacity, length; } rows[] = {{0, 0}, {1, 1}, {2, 2}, {3, 2}, {4, 4}, {5, 4}, {6, 6}, {7, 7}, {99, 7}};
    for (const auto& r : rows) EXPECT_EQ(GbkPrefixLength(t.data(), t.size(), r.capacity), r.length) << r.capacity;
    EXPECT_EQ(GbkPrefixLength("\x81", 1, 5), 1u);  // a lone lead byte at the end counts as one
}

TEST(CompleteGbkLength, DropsOnlyALoneTrailingLeadByte) {
    struct { const char* text; size_t length; } rows[] = {
        {"", 0},           {"a", 1},        {"\x81", 0},          {"a\x81", 1},     {"中", 2},
        {"中\xFE", 2},     {"中a", 3},       {"\xFF", 1},          {"\x80", 1},       // not lead bytes
        {"\x81\x81", 2},   {"\x81\x81\x81", 2},                   // a lead byte can be a second byte
    };
    for (const auto& r : rows) EXPECT_EQ(CompleteGbkLength(r.text, std::strlen(r.text)), r.length) << r.text;
}

TEST(HeadlineBody, Records) {
    struct { const char* body; bool present; const char* link; const char* text; } rows[] = {
        {"  *http://news.example/a\t今日头条", true, "http://news.example/a", "今日头条"},
        {"\r\n\t *http://x\tline 1\r\nline 2", true, "http://x", "line 1\r\nline 2"},
        {"*\ttext without link", true, "", "text without link"},
        {"*\t", true, "", ""},
        {"*http://x\ta\tb", true, "http://x", "a\tb"},
        {"no star\there", false, "", ""},
        {"x*http://x\ttext", false, "", ""},
        {"*http://no-tab", false, "", ""},
        {"*", false, "", ""},
        {"", false, "", ""},
    };
    for (const auto& r : rows) {
        const HeadlineRecord h = ParseHeadlineBody(r.body);
        EXPECT_EQ(h.present, r.present) << r.body;
        EXPECT_EQ(h.link, r.link) << r.body;
        EXPECT_EQ(h.text, r.text) << r.body;
    }
}

TEST(HeadlineState, AppliedAsTheWindowShowsIt) {
    HeadlineState s;
    EXPECT_EQ(s.link, "/linking.asp");
    EXPECT_FALSE(ApplyHeadlineBody(&s, -3, "*http://x\tnews"));  // a failed fetch changes nothing
    EXPECT_FALSE(s.showNext);
    EXPECT_EQ(s.text, "");

    EXPECT_FALSE(ApplyHeadlineBody(&s, 0, "nothing here"));  // no record: only "下一篇" shows
    EXPECT_TRUE(s.showNext);
    EXPECT_EQ(s.text, "");
    EXPECT_EQ(s.link, "/linking.asp");

    EXPECT_TRUE(ApplyHeadlineBody(&s, 0, "  *http://news.example/1\tfirst"));
    EXPECT_EQ(s.text, "first");
    EXPECT_EQ(s.link, "http://news.example/1");

    EXPECT_TRUE(ApplyHeadlineBody(&s, 0, "*http://news.example/2\tsecond"));  // a later record replaces the link
    EXPECT_EQ(s.link, "http://news.example/2");
    EXPECT_FALSE(ApplyHeadlineBody(&s, -5, ""));
    EXPECT_EQ(s.text, "second");
}

TEST(HeadlineLink, OnlyWebPagesMayBeOpened) {
    struct { const char* link; bool safe; } rows[] = {
        {"http://news.example/a?b=1", true},
        {"HTTPS://news.example/", true},
        {"https://news.example", true},
        {"/linking.asp", true},
        {"/", true},
        {"", false},
        {"http://", false},
        {"http:///etc/passwd", false},
        {"file:///C:/Windows/System32/calc.exe", false},
        {"C:\\Windows\\System32\\calc.exe", false},
        {"calc.exe", false},
        {"\\\\server\\share\\x.exe", false},
        {"//evil.example/x", false},
        {"javascript:alert(1)", false},
        {"mailto:a@b", false},
        {"ftp://x/y", false},
        {"http://x/a b", false},
        {"http://x/\"quoted\"", false},
        {"http://x/\r\n", false},
    };
    for (const auto& r : rows) EXPECT_EQ(IsSafeHeadlineLink(r.link), r.safe) << r.link;
    EXPECT_EQ(VendorPageUrl("www.vestrel.example", "/redirect.asp?id=2"), "http://www.vestrel.example/redirect.asp?id=2");
}

}  // namespace
