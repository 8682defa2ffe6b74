// Reading a holiday-cn year file: the JSON its maintainers publish for each year from the State
// Council's notices ({"year": 2026, "papers": [notice URLs], "days": [{"name": "元旦", "date":
// "2026-01-01", "isOffDay": true}, ...]}), checked and turned into a HolidayTable of that year.
// Portable: callers hand in the bytes, however they got them (a download, a cache, a file).
//
// A file is used only when it passes every check; otherwise nothing of it is used and the result
// says why. Bad bytes never throw and never crash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "calendar/holidays.h"

constexpr size_t kHolidayJsonMaxBytes = 64 * 1024;
constexpr size_t kHolidayJsonMaxDays = 60;  // a year's notice names about 30 ... 40 days
// Characters of a day's name. The longest name holiday-cn has used, 2015's
// 抗日战争暨世界反法西斯战争胜利70周年纪念日, has 22.
constexpr size_t kHolidayJsonMaxNameChars = 24;

enum class HolidayJsonStatus : uint8_t {
    Ok,            // passed every check: table holds the year
    NotPublished,  // a well-formed file with no days: holiday-cn's placeholder for a year whose
                   // notice has not come out yet (not an error; the year stays unannounced)
    Refused,       // failed a check: reason says which; nothing is used
};

struct HolidayJsonResult {
    HolidayJsonStatus status = HolidayJsonStatus::Refused;
    std::string reason;               // GBK, "" when Ok
    int year = 0;                     // the file's year once read, else 0
    std::vector<std::string> papers;  // the notice URLs (printable ASCII), the first one the year's source
    // Ok: the year alone, with one notice (number "holiday-cn", date unknown) and the source
    // {Fetched, papers[0]}. Otherwise empty.
    HolidayTable table;
};

// Reads size bytes of a holiday-cn year file expected to hold year (0: whichever year from 1900 to
// 2100 the file says). The checks, in this order:
//   - at most kHolidayJsonMaxBytes; no UTF-8 byte order mark; not HTML (a portal's or proxy's page);
//   - valid JSON, an object with an integer "year" (the one asked for), an array "papers" of
//     strings and an array "days" of objects; no days at all is NotPublished;
//   - at least one paper, each an http:// or https:// URL of printable ASCII, at most 256 bytes;
//   - at most kHolidayJsonMaxDays days, each with a "name" string, a "date" string YYYY-MM-DD of a
//     real date in that year or the December before it, given once, and an "isOffDay" boolean;
//     every 班 day (isOffDay false) a Saturday or Sunday;
//   - every name non-empty, at most kHolidayJsonMaxNameChars characters, printable ASCII other than
//     space and the characters the holiday names use (the set in holiday_json.cpp), converted to
//     GBK; a name with any other character is refused rather than shown wrong;
//   - the lines written from the days (休 spans of consecutive days of one name with their count,
//     班 days) pass HolidayTable::Parse with no problem, so its rules hold too.
HolidayJsonResult ReadHolidayJson(const char* data, size_t size, int year);

// The GBK bytes of a holiday's name given in UTF-8, by the conversion ReadHolidayJson applies;
// false when the name is not valid UTF-8 or holds a character outside the set it converts.
bool HolidayNameToGbk(const std::string& utf8, std::string* gbk);
