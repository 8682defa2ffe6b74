// The holiday-cn requests under Wine (WinHTTP) against a loopback server thread: what is sent, which
// answers are taken, and the worker's round posted to a window.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

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

// A round of two years runs on its worker and comes to the window as one message whose answers only
// this fetcher's Take hands out, once; a second round waits for the first.
TEST(HolidayFetcher, PostsTheRoundToTheWindowOnce) {
    constexpr UINT kMessage = WM_APP + 7;
    HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    LoopbackServer first([](SOCKET s) {
        Sleep(500);
        Send(s, "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\n{}");
    });
    LoopbackServer second([](SOCKET) {});
    HolidayFetcher fetcher;
    std::vector<HolidayAnswer> requests(2);
    requests[0].year = 2027, requests[0].url = "http://127.0.0.1:" + std::to_string(first.port()) + "/2027.json";
    requests[1].year = 2028, requests[1].url = "http://127.0.0.1:" + std::to_string(second.port()) + "/2028.json";
    ASSERT_TRUE(fetcher.Start(requests, 64 * 1024, window, kMessage));
    EXPECT_TRUE(fetcher.Busy());
    EXPECT_FALSE(fetcher.Start(requests, 100, window, kMessage));
    MSG msg{};
    for (int i = 0; i < 300 && !PeekMessageW(&msg, window, kMessage, kMessage, PM_REMOVE); ++i) Sleep(50);
    ASSERT_EQ(msg.message, kMessage);
    EXPECT_EQ(fetcher.Take(0), nullptr);
    const auto round = fetcher.Take(msg.lParam);
    ASSERT_NE(round, nullptr);
    EXPECT_EQ(fetcher.Take(msg.lParam), nullptr);
    ASSERT_EQ(round->size(), 2u);
    EXPECT_EQ(std::make_tuple((*round)[0].year, (*round)[0].received, (*round)[0].body), std::make_tuple(2027, true, std::string("{}")));
    EXPECT_EQ(std::make_pair((*round)[1].year, (*round)[1].received), std::make_pair(2028, false));
    EXPECT_FALSE(fetcher.Busy());
    DestroyWindow(window);
}

}  // namespace
