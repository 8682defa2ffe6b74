// Background headline requests.
#include "web/headline_fetcher.h"

#include <thread>

#include "web/headline.h"
#include "web/http_get.h"

HeadlineFetcher::HeadlineFetcher(std::string host, unsigned short port)
    : host_(std::move(host)),
      port_(port),
      busy_(std::make_shared<std::atomic<bool>>(false)),
      posted_(std::make_shared<Posted>()) {}

bool HeadlineFetcher::Start(HWND target, UINT message) {
    bool expected = false;
    if (!busy_->compare_exchange_strong(expected, true)) return false;
    try {
        std::thread([target, message, host = host_, port = port_, busy = busy_, posted = posted_] {
            auto out = std::make_unique<HeadlineResult>();
            char body[kHeadlineCapacity + 1];
            int length = kHeadlineCapacity;
            WinResult why;
            out->result = HttpGet(body, &length, host.c_str(), kHeadlinePath, kHeadlineVersion, port, &why);
            out->error = why.error;
            if (out->result == kHttpOk) out->body.assign(body, static_cast<size_t>(length));
            const int result = out->result;
            busy->store(false);
            std::lock_guard<std::mutex> hold(posted->lock);
            if (PostMessageW(target, message, static_cast<WPARAM>(result), reinterpret_cast<LPARAM>(out.get())))
                posted->results.insert(out.release());  // the window owns it now
        }).detach();
    } catch (...) {
        busy_->store(false);  // no thread could be started
        return false;
    }
    return true;
}

std::unique_ptr<HeadlineResult> TakeHeadlineResult(LPARAM lParam) {
    return std::unique_ptr<HeadlineResult>(reinterpret_cast<HeadlineResult*>(lParam));
}

std::unique_ptr<HeadlineResult> HeadlineFetcher::Take(LPARAM lParam) {
    HeadlineResult* result = reinterpret_cast<HeadlineResult*>(lParam);
    std::lock_guard<std::mutex> hold(posted_->lock);
    if (posted_->results.erase(result) == 0) return nullptr;
    return std::unique_ptr<HeadlineResult>(result);
}
