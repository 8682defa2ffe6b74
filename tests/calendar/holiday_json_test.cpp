// holiday-cn year files: the published ones against the built-in data, a broken one per check, and the
// precedence of 假日.txt, the built-in data and fetched years. Narrow literals are GBK (what the table
// holds); JSON is UTF-8 like the files, so it is written in u8 literals.
#include "calendar/holiday_json.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "calendar/gregorian.h"

struct TestFile { const char* name; const unsigned char* data; size_t size; };
extern const TestFile kTestFiles[];  // tests/calendar/data, compiled in
extern const size_t kTestFileCount;

namespace {

using S = HolidayJsonStatus;

HolidayJsonResult ReadData(int year) {
    for (size_t i = 0; i < kTestFileCount; ++i)
        if (std::to_string(year) + ".json" == kTestFiles[i].name)
            return ReadHolidayJson(reinterpret_cast<const char*>(kTestFiles[i].data), kTestFiles[i].size, year);
    ADD_FAILURE() << "no data file for " << year;
    return HolidayJsonResult();
}
std::string File(const std::string& year, const std::string& papers, const std::string& days) {
    return u8"{\"$schema\": \"x\", \"year\": " + year + ", \"papers\": [" + papers + "], \"days\": [" + days + "]}";
}
std::string Day(const std::string& name, const std::string& date, const std::string& off = "true") {
    return "{\"name\": \"" + name + "\", \"date\": \"" + date + "\", \"isOffDay\": " + off + "}";
}
// count days named x from 1 January 2026 on: every day, or Saturdays and Sundays only.
std::string Days(int count, const std::string& off, bool weekendsOnly) {
    std::string days;
    char date[32];
    for (SolarDate s{2026, 1, 1}; count > 0; s = NextDate(s))
        if (!weekendsOnly || DayOfWeek(s.year, s.month, s.day) % 6 == 0) {
            std::snprintf(date, sizeof date, "%04d-%02d-%02d", s.year, s.month, s.day);
            days += (days.empty() ? "" : ",") + Day("x", date, off);
            --count;
        }
    return days;
}
const std::string kPaper = "\"https://www.gov.cn/zhengce/zhengceku/202511/content_7047091.htm\"";
const std::string kDays = Day(u8"元旦", "2026-01-01") + "," + Day(u8"元旦", "2026-01-04", "false");
const std::string kFile = File("2026", kPaper, kDays);

TEST(HolidayCnFile, PublishedYearsAgreeWithTheBuiltInDataDayForDayAmendmentsIncluded) {
    for (int year : {2015, 2019, 2024, 2025, 2026}) {  // 2015 and 2019: a notice and its amendment
        const HolidayJsonResult r = ReadData(year);
        ASSERT_EQ(r.status, S::Ok) << year << ": " << r.reason;
        EXPECT_EQ(r.papers.size(), HolidayTable::BuiltIn().Notices(year)->size());  // 年 and 改 lines
        ASSERT_EQ(r.table.Years(), std::vector<int>{year});
        EXPECT_EQ(r.table.Source(year)->origin, HolidayOrigin::Fetched);
        EXPECT_EQ(r.table.Source(year)->address, r.papers.at(0));
        const std::vector<HolidayDay> fetched = r.table.DaysOf(year), built = HolidayTable::BuiltIn().DaysOf(year);
        ASSERT_EQ(fetched.size(), built.size()) << year;
        for (size_t i = 0; i < built.size(); ++i) {
            EXPECT_EQ(fetched[i].dayNumber, built[i].dayNumber) << year << " " << i;
            EXPECT_EQ(fetched[i].mark, built[i].mark) << year << " " << i;
            const bool victoryDay = std::string(built[i].name) == "抗战胜利纪念日";  // named in full in the file
            EXPECT_STREQ(fetched[i].name, victoryDay ? "抗日战争暨世界反法西斯战争胜利70周年纪念日" : built[i].name);
        }
    }
    const HolidayJsonResult r2020 = ReadData(2020), r2027 = ReadData(2027);
    EXPECT_EQ(r2020.reason, "days[12]: 2020-02-03 is a 班 day that is not a Saturday or Sunday");  // a Monday
    EXPECT_EQ(r2027.status, S::NotPublished);  // the placeholder before the notice: no papers, no days
}

TEST(HolidayCnFile, EachCheckRefusesTheWholeFileAndSaysWhy) {
    std::string name24;
    for (int i = 0; i < 24; ++i) name24 += u8"节";  // 72 bytes
    struct Case { std::string text; int year; S status; const char* reason; };
    const Case cases[] = {
        {kFile, 2026, S::Ok, ""}, {"[2026]", 2026, S::Refused, "not a JSON object"},
        {kFile + std::string(64 * 1024 - kFile.size(), ' '), 2026, S::Ok, ""},
        {File("2026", kPaper, Day(u8"元旦", "2025-12-31")), 2026, S::Ok, ""},  // the December before
        {File("2026", kPaper, Days(60, "false", true)), 2026, S::Ok, ""},
        {File("2026", kPaper, Day(name24, "2026-01-01")), 2026, S::Ok, ""},
        {File("2026", "", ""), 2026, S::NotPublished, "no days"},
        {kFile, 2025, S::Refused, "\"year\" is 2026, not 2025"},
        {kFile + std::string(65 * 1024 - kFile.size(), ' '), 2026, S::Refused, "larger than 64 KiB"},
        {"\xEF\xBB\xBF" + kFile, 2026, S::Refused, "byte order mark"},
        {"\r\n <!DOCTYPE html><html><body>502 Bad Gateway</body></html>", 2026, S::Refused, "HTML"},
        {kFile.substr(0, kFile.size() - 1), 2026, S::Refused, "not valid JSON"},
        {File("2026.0", kPaper, kDays), 2026, S::Refused, "no integer \"year\""},
        {File("2026", "\"ftp://gov.cn/a\"", kDays), 2026, S::Refused, "a paper is not"},
        {File("2026", "", kDays), 2026, S::Refused, "without a notice address"},
        {File("2026", kPaper, Days(61, "false", true)), 2026, S::Refused, "61 days, more than 60"},
        {File("2026", kPaper, kDays + "," + Day(u8"元旦", "2026-01-05", "false")), 2026, S::Refused,
         "days[2]: 2026-01-05 is a 班 day that is not a Saturday or Sunday"},
        {File("2026", kPaper, kDays + "," + Day(u8"春节", "2026-01-01")), 2026, S::Refused, "2026-01-01 given twice"},
        {File("2026", kPaper, Day(u8"元旦", "2025-11-30")), 2026, S::Refused, "2025-11-30 lies outside"},
        {File("2026", kPaper, Day(u8"元旦", "2026-02-29")), 2026, S::Refused, "not a real date"},
        {File("2026", kPaper, Day("", "2026-01-01")), 2026, S::Refused, "days[0]: an empty name"},
        {File("2026", kPaper, Day(name24 + "x", "2026-01-01")), 2026, S::Refused, "longer than 24 characters"},
        {File("2026", kPaper, Day(u8"圣诞节", "2026-12-25")), 2026, S::Refused, "outside the holiday names' set"},
        {File("2026", kPaper, Day(u8"元\\u0000旦", "2026-01-01")), 2026, S::Refused, "outside the holiday names'"},
        {File("2026", kPaper, Day(u8"元旦", "2026-01-01", "1")), 2026, S::Refused, "no boolean \"isOffDay\""},
        {File("2026", kPaper, Days(31, "true", false)), 2026, S::Ok, ""},  // our own parser's rules hold too
        {File("2026", kPaper, Days(32, "true", false)), 2026, S::Refused, "line 2: 末日早于首日，或一段长于31天"},
    };
    for (const Case& c : cases) {
        const HolidayJsonResult r = ReadHolidayJson(c.text.data(), c.text.size(), c.year);
        const std::string what = c.reason + (" <- " + c.text.substr(0, 80)) + ": " + r.reason;
        EXPECT_EQ(r.status, c.status) << what;
        EXPECT_NE(r.reason.find(c.reason), std::string::npos) << what;
        EXPECT_EQ(r.table.Years().empty() && r.papers.empty(), c.status != S::Ok) << what;  // all or nothing
    }
}

TEST(HolidayCnFile, NamesConvertToTheCompilersGbkWithinTheirCharacterSetOnly) {
    std::string gbk;
    ASSERT_TRUE(HolidayNameToGbk(u8"“”、一世中争五元利动劳十午反周国夕年庆念战抗斯日旦明春暨法清界秋端纪胜节西际除70!~", &gbk));
    EXPECT_EQ(gbk, "“”、一世中争五元利动劳十午反周国夕年庆念战抗斯日旦明春暨法清界秋端纪胜节西际除70!~");
    for (const char* bad : {"\xC0\xAF", "\xED\xA0\x80", "\xE5\x85", "\xF4\x90\x80\x80", u8"圣", " ", "\t", "\x7F"})
        EXPECT_FALSE(HolidayNameToGbk(bad, &gbk)) << bad;
}

TEST(HolidayPrecedence, TheUsersFileThenTheBuiltInDataThenFetchedYears) {
    const std::string text = "年 2026 自编 -\n休 国庆节 2026-10-01 2026-10-08 8\n年 2028 自编 -\n休 元旦 2028-01-01\n";
    const HolidayTable user = HolidayTable::Parse(text.data(), text.size(), "假日.txt", nullptr);
    std::vector<HolidayTable> fetched;  // year, the notice's host, a day off
    for (const std::string f : {"2025 a 2025-03-08", "2026 a 2026-03-07", "2027 a 2027-01-01", "2027 b 2027-01-02",
                                "2028 a 2028-01-03", "2029 a 2029-01-01"}) {
        const std::string file = File(f.substr(0, 4), "\"https://" + f.substr(5, 1) + "/\"", Day(u8"元旦", f.substr(7)));
        fetched.push_back(ReadHolidayJson(file.data(), file.size(), 0).table);
    }
    const HolidayTable t = HolidayTable::Combine(HolidayTable::BuiltIn(), user, fetched);
    struct Row { int year, month, day; HolidayMark mark; HolidayOrigin origin; const char* address; };
    const Row rows[] = {
        {2025, 3, 8, HolidayMark::None, HolidayOrigin::BuiltIn, ""},          // the built-in year beats a fetched one
        {2026, 3, 7, HolidayMark::None, HolidayOrigin::UserFile, "假日.txt"},  // the user's year beats both
        {2026, 2, 16, HolidayMark::None, HolidayOrigin::UserFile, "假日.txt"},
        {2026, 10, 8, HolidayMark::Off, HolidayOrigin::UserFile, "假日.txt"},
        {2027, 1, 1, HolidayMark::None, HolidayOrigin::Fetched, "https://b/"},  // the later file of a year
        {2027, 1, 2, HolidayMark::Off, HolidayOrigin::Fetched, "https://b/"},
        {2028, 1, 3, HolidayMark::None, HolidayOrigin::UserFile, "假日.txt"},
        {2029, 1, 1, HolidayMark::Off, HolidayOrigin::Fetched, "https://a/"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(t.Mark(row.year, row.month, row.day), row.mark) << row.year << "-" << row.month << "-" << row.day;
        ASSERT_NE(t.Source(row.year), nullptr) << row.year;
        EXPECT_EQ(t.Source(row.year)->origin, row.origin) << row.year;
        EXPECT_EQ(t.Source(row.year)->address, row.address) << row.year;
    }
    EXPECT_EQ(t.Years().size(), 2029u - 2007u + 1u);
}

}  // namespace
