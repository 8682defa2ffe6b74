// WinHTTP requests for the holiday-cn year files, on a worker thread.
#include "web/holiday_fetcher.h"

#include <winhttp.h>

#include <cstdio>
#include <thread>

#include "platform/wide_text.h"

namespace {

// A WinHTTP handle, closed when it goes.
class Internet {
public:
    explicit Internet(HINTERNET h = nullptr) : h_(h) {}
    ~Internet() {
        if (h_ != nullptr) ::WinHttpCloseHandle(h_);
    }
    Internet(const Internet&) = delete;
    Internet& operator=(const Internet&) = delete;
    HINTERNET get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }

private:
    HINTERNET h_;
};

bool Failed(const char* stage, std::string* problem) {
    const DWORD error = ::GetLastError();
    char text[96];
    std::snprintf(text, sizeof text, "%s: error %lu", stage, static_cast<unsigned long>(error));
    *problem = text;
    return false;
}

// A session with the system's proxy settings: the automatic proxy (Windows 8.1 on), else the
// default one.
HINTERNET OpenSession() {
    HINTERNET session = ::WinHttpOpen(L"Vestrel", WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY, WINHTTP_NO_PROXY_NAME,
                                      WINHTTP_NO_PROXY_BYPASS, 0);
    if (session == nullptr)
        session = ::WinHttpOpen(L"Vestrel", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                WINHTTP_NO_PROXY_BYPASS, 0);
    return session;
}

}  // namespace

bool HttpGetLimited(const std::string& url, size_t limit, std::string* body, std::string* problem) {
    body->clear();
    problem->clear();
    std::wstring wide = WideFromUtf8(url);
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!::WinHttpCrackUrl(wide.c_str(), static_cast<DWORD>(wide.size()), 0, &parts)) return Failed("WinHttpCrackUrl", problem);
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength);
    path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (path.empty()) path = L"/";

    const Internet session(OpenSession());
    if (!session) return Failed("WinHttpOpen", problem);
    ::WinHttpSetTimeouts(session.get(), kHolidayResolveTimeoutMs, kHolidayConnectTimeoutMs, kHolidaySendTimeoutMs,
                         kHolidayReceiveTimeoutMs);
    const Internet connection(::WinHttpConnect(session.get(), host.c_str(), parts.nPort, 0));
    if (!connection) return Failed("WinHttpConnect", problem);
    const DWORD secure = parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0;
    const Internet request(::WinHttpOpenRequest(connection.get(), L"GET", path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                                WINHTTP_DEFAULT_ACCEPT_TYPES, secure));
    if (!request) return Failed("WinHttpOpenRequest", problem);
    // No cookies, and no redirect: the address asked is the only one (plain HTTP never leaves this machine).
    DWORD noCookies = WINHTTP_DISABLE_COOKIES, noRedirects = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
    ::WinHttpSetOption(request.get(), WINHTTP_OPTION_DISABLE_FEATURE, &noCookies, sizeof noCookies);
    ::WinHttpSetOption(request.get(), WINHTTP_OPTION_REDIRECT_POLICY, &noRedirects, sizeof noRedirects);
    if (!::WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0))
        return Failed("WinHttpSendRequest", problem);
    if (!::WinHttpReceiveResponse(request.get(), nullptr)) return Failed("WinHttpReceiveResponse", problem);
    DWORD status = 0, size = sizeof status;
    if (!::WinHttpQueryHeaders(request.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                               WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX))
        return Failed("WinHttpQueryHeaders", problem);
    if (status != 200) {
        *problem = "status " + std::to_string(status);
        return false;
    }
    // Read until the answer ends, or one byte past the limit shows it is too long.
    char chunk[8192];
    for (;;) {
        DWORD read = 0;
        const size_t room = limit + 1 - body->size();
        if (!::WinHttpReadData(request.get(), chunk, static_cast<DWORD>(room < sizeof chunk ? room : sizeof chunk), &read))
            return Failed("WinHttpReadData", problem);
        if (read == 0) break;
        body->append(chunk, read);
        if (body->size() > limit) {
            *problem = "more than " + std::to_string(limit) + " bytes";
            body->clear();
            return false;
        }
    }
    return true;
}

HolidayFetcher::HolidayFetcher()
    : busy_(std::make_shared<std::atomic<bool>>(false)), posted_(std::make_shared<Posted>()) {}

bool HolidayFetcher::Start(std::vector<HolidayAnswer> requests, size_t limit, HWND target, UINT message) {
    bool expected = false;
    if (!busy_->compare_exchange_strong(expected, true)) return false;
    try {
        std::thread([requests = std::move(requests), limit, target, message, busy = busy_, posted = posted_]() mutable {
            auto round = std::make_unique<std::vector<HolidayAnswer>>(std::move(requests));
            for (HolidayAnswer& a : *round) a.received = HttpGetLimited(a.url, limit, &a.body, &a.problem);
            busy->store(false);
            std::lock_guard<std::mutex> hold(posted->lock);
            if (::PostMessageW(target, message, 0, reinterpret_cast<LPARAM>(round.get())))
                posted->rounds.insert(round.release());  // the window takes it
        }).detach();
    } catch (...) {
        busy_->store(false);  // no thread could be started
        return false;
    }
    return true;
}

std::unique_ptr<std::vector<HolidayAnswer>> HolidayFetcher::Take(LPARAM lParam) {
    auto* round = reinterpret_cast<std::vector<HolidayAnswer>*>(lParam);
    std::lock_guard<std::mutex> hold(posted_->lock);
    if (posted_->rounds.erase(round) == 0) return nullptr;
    return std::unique_ptr<std::vector<HolidayAnswer>>(round);
}
