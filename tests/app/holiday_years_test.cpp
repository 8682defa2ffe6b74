// The fetched holiday years: the URL of a year and which URLs may be asked, the schedule of rounds
// and refetches, what is kept of an answer, and the line of a year whose arrangement is awaited.
#include <gtest/gtest.h>

#include <string>

#include "app/holiday_years.h"

namespace {

constexpr int64_t kDay = 24 * 3600;
constexpr int64_t kStart = 1796860800;  // 2026-12-10 00:00 UTC

std::string File(int year) {
    return "{\"year\": " + std::to_string(year) +
           ", \"papers\": [\"https://www.gov.cn/a.htm\"], \"days\": [{\"name\": \"" u8"春节" "\", \"date\": \"" +
           std::to_string(year) + "-02-06\", \"isOffDay\": true}]}";
}

TEST(HolidayUrl, TheYearFilledInAndOnlyHttpsOrLoopbackHttp) {
    EXPECT_EQ(HolidayUrlOf("https://cdn.jsdelivr.net/gh/NateScarlet/holiday-cn@master/{year}.json", 2027),
              "https://cdn.jsdelivr.net/gh/NateScarlet/holiday-cn@master/2027.json");
    EXPECT_EQ(HolidayUrlOf("http://127.0.0.1:8/{year}/{year}", 2028), "http://127.0.0.1:8/2028/2028");
    EXPECT_EQ(HolidayUrlOf("https://example.org/2027.json", 2027), "");
    struct { const char* url; bool allowed; } rows[] = {
        {"https://cdn.jsdelivr.net/gh/x/2027.json", true}, {"https://host:8443/a", true},
        {"http://127.0.0.1:18231/2027.json", true},        {"http://127.1.2.3/a", true},
        {"http://localhost/a", true},                      {"http://[::1]:80/a", true},
        {"http://example.org/2027.json", false},           {"http://127.0.0.1.example.org/a", false},
        {"http://127.0.0.1@example.org/a", false},         {"http://example.org#@127.0.0.1/", false},
        {"http://128.0.0.1/a", false},                     {"http://127.0.0.256/a", false},
        {"http://127.0.0/a", false},                       {"http://127.0.0.1:/a", false},
        {"http://127.0.0.1:8x/a", false},                  {"https:///a", false},
        {"ftp://127.0.0.1/a", false},                      {"https://a b/c", false},
        {"HTTPS://host/a", false},                         {"", false},
    };
    for (const auto& r : rows) EXPECT_EQ(HolidayUrlAllowed(r.url), r.allowed) << r.url;
    EXPECT_FALSE(HolidayUrlAllowed("https://host/" + std::string(600, 'a')));
}

// With the built-in data (2007 ... 2026): a round at start, then at most daily; the current and the
// next year unless the built-in data or the user's file has them; a year fetched well again weekly.
TEST(HolidayYears, RoundsAndYearsDue) {
    const HolidayTable& builtIn = HolidayTable::BuiltIn();
    const std::string user2027 = "年 2027 自定 -\n休 元旦 2027-01-01\n";
    const HolidayTable user = HolidayTable::Parse(user2027.data(), user2027.size(), "假日.txt", nullptr), none;
    HolidayYears years;
    using Years = std::vector<int>;
    EXPECT_EQ(years.Due(kStart, 2026, builtIn, none), Years{2027});
    EXPECT_EQ(years.Due(kStart, 2026, builtIn, user), Years{});
    EXPECT_EQ(years.Due(kStart, 2027, builtIn, user), Years{2028});
    EXPECT_EQ(years.Due(kStart, 2100, builtIn, none), Years{2100});
    EXPECT_EQ(years.Due(kStart, 2005, builtIn, none), Years{});  // no notice is expected before 2007
    years.RoundStarted(kStart);
    EXPECT_EQ(years.Due(kStart + kDay - 1, 2026, builtIn, none), Years{});
    EXPECT_EQ(years.Due(kStart + kDay, 2026, builtIn, none), Years{2027});
    EXPECT_EQ(years.Due(kStart - 1, 2026, builtIn, none), Years{2027});  // the clock set back
    // 2027 fetched well: not again for a week, while 2028 is asked for daily.
    const std::string good = File(2027);
    EXPECT_EQ(years.Take(2027, good.data(), good.size(), kStart).status, HolidayJsonStatus::Ok);
    years.RoundStarted(kStart);
    EXPECT_EQ(years.Due(kStart + kDay, 2027, builtIn, none), Years{2028});
    EXPECT_EQ(years.Due(kStart + 7 * kDay - 1, 2027, builtIn, none), Years{2028});
    EXPECT_EQ(years.Due(kStart + 7 * kDay, 2027, builtIn, none), (Years{2027, 2028}));
}

// Only a file passing every check for the year asked replaces what the year had.
TEST(HolidayYears, OnlyAGoodAnswerIsKept) {
    HolidayYears years;
    const std::string good = File(2027), other = File(2028), placeholder = "{\"year\": 2027, \"papers\": [], \"days\": []}";
    EXPECT_EQ(years.Take(2027, good.data(), good.size(), kStart).status, HolidayJsonStatus::Ok);
    struct { std::string bytes; HolidayJsonStatus status; } rows[] = {
        {"<html>502 Bad Gateway</html>", HolidayJsonStatus::Refused},
        {good.substr(0, good.size() / 2), HolidayJsonStatus::Refused},
        {other, HolidayJsonStatus::Refused},  // another year's file
        {placeholder, HolidayJsonStatus::NotPublished},
        {std::string(kHolidayJsonMaxBytes + 1, ' '), HolidayJsonStatus::Refused},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(years.Take(2027, r.bytes.data(), r.bytes.size(), kStart + kDay).status, r.status) << r.bytes.substr(0, 40);
        ASSERT_EQ(years.Tables().size(), 1u);
        const char* name = nullptr;
        EXPECT_EQ(years.Tables()[0].Mark(2027, 2, 6, &name), HolidayMark::Off);
        EXPECT_STREQ(name, "春节");
    }
    // The kept year is fresh from its good answer, not from the refused ones after it.
    years.RoundStarted(kStart);
    EXPECT_EQ(years.Due(kStart + 7 * kDay, 2026, HolidayTable::BuiltIn(), HolidayTable()), std::vector<int>{2027});
}

TEST(HolidayYears, TheLineOfAYearWhoseArrangementIsAwaited) {
    HolidayYears years;
    const std::string good = File(2027);
    years.Take(2027, good.data(), good.size(), kStart);
    const HolidayTable fetched = HolidayTable::Combine(HolidayTable::BuiltIn(), HolidayTable(), years.Tables());
    struct { const HolidayTable& table; int shown, current; const char* line; } rows[] = {
        {HolidayTable::BuiltIn(), 2027, 2026, "2027年放假安排未公布"}, {HolidayTable::BuiltIn(), 2100, 2026, "2100年放假安排未公布"},
        {HolidayTable::BuiltIn(), 2026, 2026, ""}, {HolidayTable::BuiltIn(), 2027, 2028, ""},
        {HolidayTable::BuiltIn(), 2006, 2005, ""}, {HolidayTable::BuiltIn(), 2027, 0, ""},
        {fetched, 2027, 2026, ""},                 {fetched, 2028, 2026, "2028年放假安排未公布"},
    };
    for (const auto& r : rows) EXPECT_EQ(UnpublishedLine(r.table, r.shown, r.current), r.line) << r.shown;
}

}  // namespace
