// The fetched holiday years: the URL of a year and which URLs may be asked, the schedule of rounds
// and refetches, and what is kept of an answer.
#include <gtest/gtest.h>

#include <string>

#include "app/holiday_years.h"

namespace {

constexpr int64_t kDay = 24 * 3600;
constexpr int64_t kStart = 1796860800;  // 2026-12-10 00:00 UTC

std::string File(int year) {
    const std::string y = std::to_string(year);
    return "{\"year\": " + y + u8R"(, "papers": ["https://a.gov.cn/"], "days": [{"name": "春节", "date": ")" + y + "-02-06\", \"isOffDay\": true}]}";
}

TEST(HolidayUrl, TheYearFilledInAndOnlyHttpsOrLoopbackHttp) {
    EXPECT_EQ(HolidayUrlOf("http://127.0.0.1:8/{year}/{year}.json", 2028), "http://127.0.0.1:8/2028/2028.json");
    EXPECT_EQ(HolidayUrlOf("https://example.org/2027.json", 2027), "");
    struct { const char* url; bool allowed; } rows[] = {
        {"https://cdn.jsdelivr.net/gh/x/2027.json", true}, {"https://host:8443/a", true}, {"http://127.1.2.3/a", true},
        {"http://localhost/a", true}, {"http://[::1]:80/a", true}, {"http://127.0.0.1:18231/2027.json", true},
        {"http://example.org/2027.json", false}, {"http://127.0.0.1.example.org/a", false}, {"", false},
        {"http://127.0.0.1@example.org/a", false}, {"http://example.org#@127.0.0.1/", false}, {"https:///a", false},
        {"http://128.0.0.1/a", false}, {"http://127.0.0.256/a", false}, {"http://127.0.0/a", false},
        {"http://127.0.0.1:/a", false}, {"ftp://127.0.0.1/a", false}, {"https://a b/c", false},
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

// Only a file passing every check for the year asked replaces what the year had, and only it ends
// the year's line.
TEST(HolidayYears, OnlyAGoodAnswerIsKept) {
    HolidayYears years;
    const std::string good = File(2027), placeholder = "{\"year\": 2027, \"papers\": [], \"days\": []}";
    EXPECT_EQ(UnpublishedLine(HolidayTable::BuiltIn(), 2027, 2026), "2027年放假安排未公布");
    EXPECT_EQ(years.Take(2027, good.data(), good.size(), kStart).status, HolidayJsonStatus::Ok);
    struct { std::string bytes; HolidayJsonStatus status; } rows[] = {
        {"<html>502 Bad Gateway</html>", HolidayJsonStatus::Refused}, {good.substr(0, 50), HolidayJsonStatus::Refused},
        {File(2028), HolidayJsonStatus::Refused}, {placeholder, HolidayJsonStatus::NotPublished},
        {std::string(kHolidayJsonMaxBytes + 1, ' '), HolidayJsonStatus::Refused},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(years.Take(2027, r.bytes.data(), r.bytes.size(), kStart + kDay).status, r.status) << r.bytes.substr(0, 40);
        const HolidayTable all = HolidayTable::Combine(HolidayTable::BuiltIn(), HolidayTable(), years.Tables());
        const char* name = nullptr;
        const HolidayMark mark = all.Mark(2027, 2, 6, &name);
        EXPECT_EQ(std::make_pair(mark, std::string(name)), std::make_pair(HolidayMark::Off, std::string("春节")));
        EXPECT_EQ(UnpublishedLine(all, 2027, 2026) + "," + UnpublishedLine(all, 2028, 2026), ",2028年放假安排未公布");
    }
    // The kept year is as fresh as its good answer, not as the refused ones after it.
    years.RoundStarted(kStart);
    EXPECT_EQ(years.Due(kStart + 7 * kDay, 2026, HolidayTable::BuiltIn(), HolidayTable()), std::vector<int>{2027});
}

}  // namespace
