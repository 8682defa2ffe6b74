// The holiday-cn years the calendar fetches for itself: which years it asks for and when, where
// from, what it keeps of the answers and the cache, and what a shown year without any arrangement
// says. Portable: app/holiday_updates.h does the requests, the files and the window.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "calendar/holiday_json.h"
#include "calendar/holidays.h"

// How often, in seconds: a round of requests at most every roundEvery (the first at start), and a
// year fetched well again at most every refetchAfter (a notice may be amended).
struct HolidayFetchTimes {
    int64_t roundEvery = 24 * 3600;
    int64_t refetchAfter = 7 * 24 * 3600;
};

// The URL of a year: urlTemplate with every "{year}" replaced by the year; "" when it has none.
std::string HolidayUrlOf(const std::string& urlTemplate, int year);

// Whether a URL may be asked: "https://" and a host, or "http://" and a loopback host (127.x.x.x,
// "localhost", "[::1]"), a port allowed after either; printable ASCII without blanks, at most 512
// bytes. Plain HTTP anywhere else could be changed on the way.
bool HolidayUrlAllowed(const std::string& url);

class HolidayYears {
public:
    explicit HolidayYears(HolidayFetchTimes times = HolidayFetchTimes()) : times_(times) {}

    // The years a round started at now (seconds since 1970) asks for, ascending: none while the last
    // round is less than roundEvery old; else of year and year + 1 (year: now's local year), each
    // from kFirstNoticeYear to kHolidayLastYear that neither builtIn nor user announces and that was
    // not fetched well within refetchAfter. A
    // time after now (the clock was set back) counts as long ago.
    std::vector<int> Due(int64_t now, int year, const HolidayTable& builtIn, const HolidayTable& user) const;
    void RoundStarted(int64_t now) {
        lastRound_ = now;
        hadRound_ = true;
    }

    // A holiday-cn file of year, fetched (or written to the cache) at `at`: read by ReadHolidayJson
    // for that year and, only when it passes, kept as the year's table in place of the one before,
    // `at` its time of fetching. The result says why not (the caller logs it).
    HolidayJsonResult Take(int year, const char* data, size_t size, int64_t at);

    // The kept years' tables, for HolidayTable::Combine.
    const std::vector<HolidayTable>& Tables() const { return tables_; }

private:
    struct Kept {
        HolidayTable table;
        int64_t fetchedAt;
    };
    HolidayFetchTimes times_;
    int64_t lastRound_ = 0;
    bool hadRound_ = false;
    std::map<int, Kept> kept_;
    std::vector<HolidayTable> tables_;  // kept_'s tables in year order
};

// What a shown month of shownYear says of its year (GBK): "2027年放假安排未公布" for a year whose
// arrangement is awaited (ArrangementAwaited, grid/month_model.h); "" otherwise.
std::string UnpublishedLine(const HolidayTable& table, int shownYear, int currentYear);
