// Fetching holiday-cn year files: a plain HTTPS GET through WinHTTP (the system's proxies and
// certificates, as the browser has them) on a worker thread of its own, so the window never waits
// for the network; the answers are posted to a window, which checks and keeps them.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

// Build constants (web/holiday_source.cpp, linked into each program from vestrel_holiday_source):
// the address of a year's file with "{year}" in it ("" fetches nothing), and how often, in seconds,
// a round of requests may run and a year fetched well may be fetched again.
extern const char* const kHolidayUrl;
extern const long long kHolidayRoundSeconds;
extern const long long kHolidayRefetchSeconds;

// The waits of one request, in milliseconds: resolving the name, connecting, sending, and each
// read of the answer.
constexpr int kHolidayResolveTimeoutMs = 10000;
constexpr int kHolidayConnectTimeoutMs = 10000;
constexpr int kHolidaySendTimeoutMs = 10000;
constexpr int kHolidayReceiveTimeoutMs = 15000;

// GET url (https, or http to a loopback host; the caller checks which it may ask) with no cookies,
// no referrer and no header beyond WinHTTP's own (User-Agent "Vestrel"). True with the body of a
// "200" answer of at most limit bytes; else false, and *problem says why (the log's words: a
// WinHTTP stage and its error, "status 404", "more than 65536 bytes").
bool HttpGetLimited(const std::string& url, size_t limit, std::string* body, std::string* problem);

struct HolidayAnswer {
    int year = 0;
    std::string url;
    bool received = false;  // a 200 answer within the limit: body holds it
    std::string body;
    std::string problem;    // why not, otherwise
};

class HolidayFetcher {
public:
    HolidayFetcher();
    HolidayFetcher(const HolidayFetcher&) = delete;
    HolidayFetcher& operator=(const HolidayFetcher&) = delete;

    // Starts a round on a worker thread: each (year, url) asked in turn, answers of at most limit
    // bytes; the round's answers are then posted to target as message with lParam a
    // std::vector<HolidayAnswer>* (Take). False, with nothing started, while a round runs.
    bool Start(std::vector<HolidayAnswer> requests, size_t limit, HWND target, UINT message);
    bool Busy() const { return busy_->load(); }
    // The answers a posted message carries, when this fetcher posted them and they were not taken
    // yet; null for anything else.
    std::unique_ptr<std::vector<HolidayAnswer>> Take(LPARAM lParam);

private:
    // Shared with the worker, which may outlive the fetcher when the window goes mid-round.
    std::shared_ptr<std::atomic<bool>> busy_;
    struct Posted {
        std::mutex lock;
        std::set<std::vector<HolidayAnswer>*> rounds;
    };
    std::shared_ptr<Posted> posted_;
};
