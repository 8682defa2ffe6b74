// Fetches the headline on a worker thread, so the window never waits for the network, and posts
// the result to a window, which applies it on its own thread (ApplyHeadlineBody).
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <set>
#include <string>

// Posted with wParam = the HttpGet result and lParam = a HeadlineResult* that the receiving
// window takes over (TakeHeadlineResult).
struct HeadlineResult {
    int result;
    std::string body;
    unsigned long error = 0;  // the Windows Sockets error of a failed request
};

class HeadlineFetcher {
public:
    // host and port of the headline server (the program uses kHeadlineHost and 80).
    HeadlineFetcher(std::string host, unsigned short port);
    HeadlineFetcher(const HeadlineFetcher&) = delete;
    HeadlineFetcher& operator=(const HeadlineFetcher&) = delete;

    // Starts one request whose result is posted to target as message. A request while one runs
    // is dropped: returns false.
    bool Start(HWND target, UINT message);
    bool Busy() const { return busy_->load(); }
    // The result a posted message carries, when this fetcher posted it and it was not taken yet;
    // null for anything else (a message another program posted, a stray or repeated lParam).
    std::unique_ptr<HeadlineResult> Take(LPARAM lParam);

private:
    std::string host_;
    unsigned short port_;
    // Shared with the worker, which may outlive the fetcher when the program ends mid-request.
    std::shared_ptr<std::atomic<bool>> busy_;
    // The results posted and not taken yet.
    struct Posted {
        std::mutex lock;
        std::set<HeadlineResult*> results;
    };
    std::shared_ptr<Posted> posted_;
};

// The result carried by a posted message, owned by the caller from here on.
std::unique_ptr<HeadlineResult> TakeHeadlineResult(LPARAM lParam);
