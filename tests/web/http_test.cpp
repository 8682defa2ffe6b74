// HttpGet, the background fetch and page opening under Wine, against a loopback server thread.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>

#include "tests/support/loopback_server.h"
#include "web/headline.h"
#include "web/headline_fetcher.h"
#include "web/http_get.h"
#include "web/page_open.h"

namespace {

class WinsockEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        WSADATA data;
        ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    }
    void TearDown() override { WSACleanup(); }
};
const auto* const kWinsock = ::testing::AddGlobalTestEnvironment(new WinsockEnvironment);


struct Got {
    int result;
    std::string body;
};

Got Get(unsigned short port, const char* host = "127.0.0.1", int capacity = kHeadlineCapacity) {
    std::string body(static_cast<size_t>(capacity) + 1, '\0');
    int length = capacity;
    const int rc = HttpGet(&body[0], &length, host, kHeadlinePath, kHeadlineVersion, port);
    return {rc, body.substr(0, static_cast<size_t>(length))};
}

TEST(HttpGet, SendsTheExactRequestAndReturnsTheBody) {
    LoopbackServer server([](SOCKET s) { Send(s, "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\n  *http://n.example/1\t今日"); });
    const Got got = Get(server.port());
    EXPECT_EQ(got.result, 0);
    EXPECT_EQ(got.body, "  *http://n.example/1\t今日");
    EXPECT_EQ(server.request(), "GET /link230/ HTTP/1.1\r\nHost:127.0.0.1\r\nVer:1.2\r\n\r\n");
}

TEST(HttpGet, ReadsAReplyInTwoSegmentsWhole) {
    LoopbackServer server([](SOCKET s) {
        Send(s, "HTTP/1.1 200 OK\r\n");
        Sleep(300);
        Send(s, "\r\n*http://n.example/2\t");
        Sleep(300);
        Send(s, "second part");
    });
    const Got got = Get(server.port());
    EXPECT_EQ(got.result, 0);
    EXPECT_EQ(got.body, "*http://n.example/2\tsecond part");
}

TEST(HttpGet, WithoutHeaderEndIsMinusSix) {
    LoopbackServer server([](SOCKET s) { Send(s, "HTTP/1.1 200 OK\r\nno blank line"); });
    EXPECT_EQ(Get(server.port()).result, kHttpNoHeaderEnd);
}

TEST(HttpGet, ClosedWithoutAnswerIsMinusFive) {
    LoopbackServer server([](SOCKET) {});
    EXPECT_EQ(Get(server.port()).result, kHttpNothing);
}

TEST(HttpGet, SilentServerIsMinusFiveAfterTenSeconds) {
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    LoopbackServer server([done](SOCKET) { WaitForSingleObject(done, 15000); });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Get(server.port()).result, kHttpNothing);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    SetEvent(done);
    EXPECT_GE(seconds, 9.0);
    EXPECT_LE(seconds, 15.0);  // ended by the timeout, not by a hang
}

TEST(HttpGet, ClosedPortIsMinusThree) {
    unsigned short port;
    {
        LoopbackServer probe([](SOCKET) {});
        port = probe.port();
        // connect once so the server thread ends, then the listener closes with the server
        SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(port);
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
        Send(s, "\r\n\r\n");
        closesocket(s);
    }
    EXPECT_EQ(Get(port).result, kHttpNoConnect);
}

TEST(HttpGet, UnresolvableHostIsMinusOne) {
    EXPECT_EQ(Get(80, "no-such-host.invalid").result, kHttpNoHost);
}

TEST(HttpGet, LongBodyIsCutToTheCapacity) {
    const std::string text(1500, 'x');
    LoopbackServer server([&](SOCKET s) { Send(s, "HTTP/1.1 200 OK\r\n\r\n" + text); });
    const Got got = Get(server.port());
    EXPECT_EQ(got.result, 0);
    EXPECT_EQ(got.body, std::string(1023, 'x'));
}

// A reply cut by the 2047-byte limit while the server keeps the connection open loses the lone
// lead byte at the cut; a reply the server ended keeps its last byte.
TEST(HttpGet, CutInsideADoubleByteCharacterDropsItsHalf) {
    const std::string head = "HTTP/1.1 200 OK\r\n\r\n*/a\t";
    struct { size_t fill; size_t bodyLength; } rows[] = {
        {2046 - head.size(), 2046 - 19},  // byte 2047 is the lead byte of 中: dropped
        {2045 - head.size(), 2047 - 19},  // 中 arrives whole within 2047 bytes
    };
    for (const auto& r : rows) {
        HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        LoopbackServer server([&](SOCKET s) {
            Send(s, head + std::string(r.fill, 'x') + "中中");
            WaitForSingleObject(done, 15000);
        });
        const Got got = Get(server.port(), "127.0.0.1", 4000);
        SetEvent(done);
        EXPECT_EQ(got.result, 0);
        EXPECT_EQ(got.body.size(), r.bodyLength) << r.fill;
        EXPECT_TRUE(got.body.back() == 'x' || got.body.substr(got.body.size() - 2) == "中") << r.fill;
        CloseHandle(done);
    }
}

TEST(HttpGet, AReplyTheServerEndedKeepsItsLastByte) {
    LoopbackServer server([](SOCKET s) { Send(s, "HTTP/1.1 200 OK\r\n\r\n*/a\tx\x81"); });
    const Got got = Get(server.port());
    EXPECT_EQ(got.result, 0);
    EXPECT_EQ(got.body, "*/a\tx\x81");
}

// ---------------------------------------------------------------------------------------------------
// The background fetch, posting to a window

constexpr UINT kHeadlineMessage = WM_APP + 7;

struct Receiver {
    HWND hwnd = nullptr;
    static int s_count;
    static int s_result;
    static std::string s_body;
    Receiver() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = [](HWND h, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
            if (msg == kHeadlineMessage) {
                auto result = TakeHeadlineResult(l);
                ++s_count;
                s_result = static_cast<int>(w);
                s_body = result->body;
                return 0;
            }
            return DefWindowProcA(h, msg, w, l);
        };
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VestrelHeadlineReceiver";
        RegisterClassA(&wc);
        hwnd = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
        s_count = 0;
        s_result = 99;
        s_body.clear();
    }
    ~Receiver() { DestroyWindow(hwnd); }
    // Pumps messages until the result arrives; returns the longest gap between two turns of the
    // loop in ms, which shows whether the window stayed responsive.
    DWORD PumpUntilResult(DWORD timeoutMs) {
        const ULONGLONG end = GetTickCount64() + timeoutMs;
        ULONGLONG last = GetTickCount64();
        DWORD longest = 0;
        while (s_count == 0 && GetTickCount64() < end) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            Sleep(10);
            const ULONGLONG now = GetTickCount64();
            longest = std::max<DWORD>(longest, static_cast<DWORD>(now - last));
            last = now;
        }
        return longest;
    }
};
int Receiver::s_count;
int Receiver::s_result;
std::string Receiver::s_body;

TEST(HeadlineFetcher, PostsTheResultToTheWindow) {
    LoopbackServer server([](SOCKET s) { Send(s, "HTTP/1.1 200 OK\r\n\r\n*http://n.example/3\t第三"); });
    Receiver window;
    HeadlineFetcher fetcher("127.0.0.1", server.port());
    ASSERT_TRUE(fetcher.Start(window.hwnd, kHeadlineMessage));
    window.PumpUntilResult(10000);
    ASSERT_EQ(Receiver::s_count, 1);
    EXPECT_EQ(Receiver::s_result, 0);
    HeadlineState state;
    EXPECT_TRUE(ApplyHeadlineBody(&state, Receiver::s_result, Receiver::s_body.c_str()));
    EXPECT_EQ(state.text, "第三");
    EXPECT_EQ(state.link, "http://n.example/3");
    EXPECT_TRUE(state.showNext);
}

TEST(HeadlineFetcher, TheWindowStaysResponsiveAndASecondRequestIsDropped) {
    // The server answers after 4 s; the window's loop must keep turning meanwhile.
    LoopbackServer server([](SOCKET s) {
        Sleep(4000);
        Send(s, "HTTP/1.1 200 OK\r\n\r\n*http://n.example/4\tlate");
    });
    Receiver window;
    HeadlineFetcher fetcher("127.0.0.1", server.port());
    ASSERT_TRUE(fetcher.Start(window.hwnd, kHeadlineMessage));
    EXPECT_FALSE(fetcher.Start(window.hwnd, kHeadlineMessage));  // one at a time
    const DWORD longestGap = window.PumpUntilResult(15000);
    ASSERT_EQ(Receiver::s_count, 1);
    EXPECT_EQ(Receiver::s_result, kHttpOk);
    EXPECT_EQ(Receiver::s_body, "*http://n.example/4\tlate");
    EXPECT_LT(longestGap, 2000u);  // the message loop never waited for the network
    for (int i = 0; i < 100 && fetcher.Busy(); ++i) Sleep(10);
    EXPECT_FALSE(fetcher.Busy());
}

// ---------------------------------------------------------------------------------------------------
// Page opening

std::string g_opened;
int g_openCount = 0;

class PageOpening : public ::testing::Test {
protected:
    void SetUp() override {
        g_opened.clear();
        g_openCount = 0;
        SetPageOpenerForTest([](HWND, const char* url) {
            g_opened = url;
            ++g_openCount;
        });
    }
    void TearDown() override { SetPageOpenerForTest(nullptr); }
};

TEST_F(PageOpening, StripLinksOpenTheVendorPages) {
    struct { int id; std::string url; } rows[] = {
        {1052, std::string("http://") + kVendorHost + "/redirect.asp?id=1"},
        {1055, std::string("http://") + kVendorHost + "/redirect.asp?id=2"},
        {1057, std::string("http://") + kVendorHost + "/redirect.asp?id=3"},
    };
    for (const auto& r : rows) {
        EXPECT_TRUE(OpenStripLink(nullptr, r.id));
        EXPECT_EQ(g_opened, r.url);
    }
    EXPECT_FALSE(OpenStripLink(nullptr, 1053));
    EXPECT_EQ(g_openCount, 3);
}

TEST_F(PageOpening, HeadlineLinksAreCheckedBeforeTheShellSeesThem) {
    EXPECT_TRUE(OpenHeadlineLink(nullptr, "http://news.example/a"));
    EXPECT_EQ(g_opened, "http://news.example/a");
    EXPECT_TRUE(OpenHeadlineLink(nullptr, "/linking.asp"));
    EXPECT_EQ(g_opened, std::string("http://") + kVendorHost + "/linking.asp");
    for (const char* bad : {"", "file:///C:/Windows/notepad.exe", "C:\\Windows\\notepad.exe", "notepad.exe",
                            "\\\\host\\share\\x.exe", "javascript:x"}) {
        EXPECT_FALSE(OpenHeadlineLink(nullptr, bad)) << bad;
    }
    EXPECT_EQ(g_openCount, 2);
}

// The real shell: an "http" handler registered in the prefix records the URL it is given.
std::string RecordFile() {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    return std::string(temp) + "vestrel-opened-url.txt";
}

TEST(ShellPageOpening, TheBrowserReceivesTheExactUrl) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, "http\\shell\\open\\command", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    char previous[1024] = {};
    DWORD size = sizeof previous;
    const bool hadPrevious = RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(previous), &size) ==
                             ERROR_SUCCESS;
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    const std::string command = std::string("\"") + exe + "\" --record-url \"%1\"";
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>(command.size() + 1));
    // A DDE verb would take precedence over the command line.
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "http\\shell\\open\\ddeexec");
    DeleteFileA(RecordFile().c_str());

    EXPECT_TRUE(OpenStripLink(nullptr, 1055));
    std::string seen;
    for (int i = 0; i < 200 && seen.empty(); ++i) {
        Sleep(50);
        std::ifstream in(RecordFile());
        std::getline(in, seen);
    }
    if (hadPrevious) RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(previous), size);
    RegCloseKey(key);
    EXPECT_EQ(seen, std::string("http://") + kVendorHost + "/redirect.asp?id=2");
}

}  // namespace

int main(int argc, char** argv) {
    // Started by the shell as the test's "http" handler: record the URL and stop.
    if (argc == 3 && std::string(argv[1]) == "--record-url") {
        std::ofstream(RecordFile()) << argv[2] << "\n";
        return 0;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
