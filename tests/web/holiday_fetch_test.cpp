// The holiday-cn requests under Wine (WinHTTP) against a loopback server thread: what is sent and
// which answers are taken.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/loopback_server.h"
#include "web/holiday_fetcher.h"

namespace {

TEST(HolidayGet, TheBodyOfA200AnswerWithinTheLimitAndNothingElse) {
    const std::string hundred(100, 'x');
    struct { std::string reply; bool received; std::string bodyOrProblem; } rows[] = {
        {"HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello", true, "hello"},
        {"HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + hundred, true, hundred},  // to the close, at the limit
        {"HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + hundred + "y", false, "more than 100 bytes"},
        {"HTTP/1.1 404 Not Found\r\nContent-Length: 3\r\n\r\nno!", false, "status 404"},
        {"HTTP/1.1 302 Found\r\nLocation: http://example.org/\r\nContent-Length: 0\r\n\r\n", false, "status 302"},
        {"", false, "WinHttpReceiveResponse: error "},                                 // closed without an answer
    };
    for (const auto& r : rows) {
        LoopbackServer server([&](SOCKET s) { Send(s, r.reply); });
        std::string body, problem;
        const std::string url = "http://127.0.0.1:" + std::to_string(server.port()) + "/gh/2027.json?x=1";
        EXPECT_EQ(HttpGetLimited(url, 100, &body, &problem), r.received) << r.reply.substr(0, 30);
        if (r.received) {
            EXPECT_EQ(body, r.bodyOrProblem);
        } else {
            EXPECT_EQ(problem.rfind(r.bodyOrProblem, 0), 0u) << problem;
            EXPECT_EQ(body, "");
        }
        // A plain GET of the path: no cookie, no referrer, nothing that tells who asks.
        EXPECT_EQ(server.request().rfind("GET /gh/2027.json?x=1 HTTP/1.1\r\n", 0), 0u) << server.request();
        EXPECT_EQ(server.request().find("Cookie"), std::string::npos);
        EXPECT_EQ(server.request().find("Referer"), std::string::npos);
    }
    std::string body, problem;
    EXPECT_FALSE(HttpGetLimited("not a url", 100, &body, &problem));
    EXPECT_EQ(problem.rfind("WinHttpCrackUrl", 0), 0u);
}

}  // namespace
