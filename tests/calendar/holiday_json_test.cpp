// holiday-cn year files: the published ones against the built-in data, broken ones against each
// check, and the precedence of 假日.txt, the built-in data and fetched years. Narrow literals are GBK
// (what the table holds); JSON is UTF-8 like the files, so it is written in u8 literals.
#include "calendar/holiday_json.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "calendar/gregorian.h"

struct TestFile {
    const char* name;
    const unsigned char* data;
    size_t size;
};
extern const TestFile kTestFiles[];  // tests/calendar/data, compiled in
extern const size_t kTestFileCount;

namespace {

std::string DataFile(int year) {
    for (size_t i = 0; i < kTestFileCount; ++i)
        if (std::to_string(year) + ".json" == kTestFiles[i].name)
            return std::string(reinterpret_cast<const char*>(kTestFiles[i].data), kTestFiles[i].size);
    ADD_FAILURE() << "no data file for " << year;
    return std::string();
}

HolidayJsonResult Read(const std::string& s, int year) { return ReadHolidayJson(s.data(), s.size(), year); }

std::string File(const std::string& year, const std::string& papers, const std::string& days) {
    return u8"{\"$schema\": \"x\", \"year\": " + year + ", \"papers\": [" + papers + "], \"days\": [" + days + "]}";
}
std::string Day(const std::string& name, const std::string& date, const std::string& off = "true") {
    return "{\"name\": \"" + name + "\", \"date\": \"" + date + "\", \"isOffDay\": " + off + "}";
}
// count days named x from 1 January 2026 on: every day, or Saturdays and Sundays only.
std::string DayRun(int count, const std::string& off, bool weekendsOnly) {
    std::string days;
    for (int32_t d = DayNumber(2026, 1, 1); count > 0; ++d) {
        const SolarDate s = SolarFromDayNumber(d);
        if (weekendsOnly && DayOfWeek(s.year, s.month, s.day) % 6 != 0) continue;
        char date[32];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", s.year, s.month, s.day);
        days += (days.empty() ? "" : ",") + Day("x", date, off);
        --count;
    }
    return days;
}

const std::string kPaper = "\"https://www.gov.cn/zhengce/zhengceku/202511/content_7047091.htm\"";
const std::string kDays = Day(u8"元旦", "2026-01-01") + "," + Day(u8"元旦", "2026-01-04", "false");
const std::string kFile = File("2026", kPaper, kDays);

TEST(HolidayCnFile, PublishedYearsAgreeWithTheBuiltInDataAmendmentsIncluded) {
    struct Row { int year; size_t papers; const char* firstPaper; };
    const Row rows[] = {
        {2015, 2, "http://www.gov.cn/zhengce/zhengceku/2014-12/16/content_9302.htm"},
        {2019, 2, "http://www.gov.cn/zhengce/zhengceku/2018-12/06/content_5346276.htm"},
        {2024, 1, "https://www.gov.cn/zhengce/zhengceku/202310/content_6911528.htm"},
        {2025, 1, "https://www.gov.cn/zhengce/zhengceku/202411/content_6986383.htm"},
        {2026, 1, "https://www.gov.cn/zhengce/zhengceku/202511/content_7047091.htm"},
    };
    for (const Row& row : rows) {
        const HolidayJsonResult r = Read(DataFile(row.year), row.year);
        ASSERT_EQ(r.status, HolidayJsonStatus::Ok) << row.year << ": " << r.reason;
        EXPECT_EQ(r.papers.size(), row.papers);
        EXPECT_EQ(HolidayTable::BuiltIn().Notices(row.year)->size(), row.papers);  // 年 and 改 lines
        ASSERT_EQ(r.table.Years(), std::vector<int>{row.year});
        EXPECT_EQ(r.table.Source(row.year)->origin, HolidayOrigin::Fetched);
        EXPECT_EQ(r.table.Source(row.year)->address, row.firstPaper);
        EXPECT_EQ(r.table.Notices(row.year)->at(0).number, "holiday-cn");
        // Every day with its mark and name, 2015's anniversary under its full name.
        const std::vector<HolidayDay> fetched = r.table.DaysOf(row.year), built = HolidayTable::BuiltIn().DaysOf(row.year);
        ASSERT_EQ(fetched.size(), built.size()) << row.year;
        for (size_t i = 0; i < built.size(); ++i) {
            EXPECT_EQ(fetched[i].dayNumber, built[i].dayNumber) << row.year << " " << i;
            EXPECT_EQ(fetched[i].mark, built[i].mark) << row.year << " " << i;
            if (std::string(built[i].name) != "抗战胜利纪念日") EXPECT_STREQ(fetched[i].name, built[i].name);
            else EXPECT_STREQ(fetched[i].name, "抗日战争暨世界反法西斯战争胜利70周年纪念日");
        }
    }
    const HolidayJsonResult r2020 = Read(DataFile(2020), 2020);  // lists Monday 2020-02-03 as 班
    EXPECT_EQ(r2020.status, HolidayJsonStatus::Refused);
    EXPECT_NE(r2020.reason.find("2020-02-03 is a 班 day"), std::string::npos) << r2020.reason;
    const HolidayJsonResult r2027 = Read(DataFile(2027), 2027);  // the placeholder before the notice
    EXPECT_EQ(r2027.status, HolidayJsonStatus::NotPublished);
    EXPECT_TRUE(r2027.table.Years().empty());
}

TEST(HolidayCnFile, EachCheckRefusesTheWholeFileAndSaysWhy) {
    using S = HolidayJsonStatus;
    std::string longName;
    for (int i = 0; i < 24; ++i) longName += u8"节";
    struct Case { std::string text; int year; S status; const char* reason; };
    const Case cases[] = {
        {kFile, 2026, S::Ok, ""},
        {kFile, 0, S::Ok, ""},  // any year
        {kFile + std::string(64 * 1024 - kFile.size(), ' '), 2026, S::Ok, ""},
        {File("2026", kPaper, Day(u8"元旦", "2025-12-31")), 2026, S::Ok, ""},  // the December before
        {File("2026", kPaper, DayRun(60, "false", true)), 2026, S::Ok, ""},
        {File("2026", kPaper, Day(longName, "2026-01-01")), 2026, S::Ok, ""},  // 24 characters, 72 bytes
        {File("2026", "", ""), 2026, S::NotPublished, "no days"},
        {kFile, 2025, S::Refused, "\"year\" is 2026, not 2025"},
        {kFile + std::string(65 * 1024 - kFile.size(), ' '), 2026, S::Refused, "larger than 64 KiB"},
        {"\xEF\xBB\xBF" + kFile, 2026, S::Refused, "byte order mark"},
        {"\r\n <!DOCTYPE html><html><body>502 Bad Gateway</body></html>", 2026, S::Refused, "HTML"},
        {kFile.substr(0, kFile.size() - 1), 2026, S::Refused, "not valid JSON"},
        {"", 2026, S::Refused, "not valid JSON"},
        {File("2026", kPaper, Day("\xFF", "2026-01-01")), 2026, S::Refused, "not valid JSON"},  // not UTF-8
        {"[2026]", 2026, S::Refused, "not a JSON object"},
        {File("\"2026\"", kPaper, kDays), 2026, S::Refused, "no integer \"year\""},
        {File("2026.0", kPaper, kDays), 2026, S::Refused, "no integer \"year\""},
        {File("99999", kPaper, kDays), 0, S::Refused, "outside 1900 ... 2100"},
        {u8"{\"year\": 2026, \"days\": []}", 2026, S::Refused, "no array \"papers\""},
        {u8"{\"year\": 2026, \"papers\": [], \"days\": {}}", 2026, S::Refused, "no array \"days\""},
        {File("2026", "\"ftp://gov.cn/a\"", kDays), 2026, S::Refused, "a paper is not"},
        {File("2026", "\"https://gov.cn/a b\"", kDays), 2026, S::Refused, "a paper is not"},
        {File("2026", "", kDays), 2026, S::Refused, "without a notice address"},
        {File("2026", kPaper, DayRun(61, "false", true)), 2026, S::Refused, "61 days, more than 60"},
        {File("2026", kPaper, kDays + "," + Day(u8"元旦", "2026-01-05", "false")), 2026, S::Refused,
         "days[2]: 2026-01-05 is a 班 day that is not a Saturday or Sunday"},
        {File("2026", kPaper, kDays + "," + Day(u8"春节", "2026-01-01")), 2026, S::Refused, "2026-01-01 given twice"},
        {File("2026", kPaper, Day(u8"元旦", "2025-11-30")), 2026, S::Refused, "2025-11-30 lies outside"},
        {File("2026", kPaper, Day(u8"元旦", "2027-01-01")), 2026, S::Refused, "2027-01-01 lies outside"},
        {File("2026", kPaper, Day(u8"元旦", "2026-02-29")), 2026, S::Refused, "not a real date"},
        {File("2026", kPaper, Day(u8"元旦", "2026-1-01")), 2026, S::Refused, "not a real date"},
        {File("2026", kPaper, Day("", "2026-01-01")), 2026, S::Refused, "days[0]: an empty name"},
        {File("2026", kPaper, Day(longName + "x", "2026-01-01")), 2026, S::Refused, "longer than 24 characters"},
        {File("2026", kPaper, Day(u8"圣诞节", "2026-12-25")), 2026, S::Refused, "outside the holiday names' set"},
        {File("2026", kPaper, Day(u8"元 旦", "2026-01-01")), 2026, S::Refused, "outside the holiday names' set"},
        {File("2026", kPaper, Day(u8"元\\u0000旦", "2026-01-01")), 2026, S::Refused, "outside the holiday names' set"},
        {File("2026", kPaper, Day(u8"元旦", "2026-01-01", "1")), 2026, S::Refused, "no boolean \"isOffDay\""},
        {File("2026", kPaper, "[]"), 2026, S::Refused, "days[0]: not an object"},
        // Our own parser's rules hold too: no span of one name longer than 31 days.
        {File("2026", kPaper, DayRun(31, "true", false)), 2026, S::Ok, ""},
        {File("2026", kPaper, DayRun(32, "true", false)), 2026, S::Refused,
         "line 2: the span ends before it starts or is longer than 31 days"},
    };
    for (const Case& c : cases) {
        const HolidayJsonResult r = Read(c.text, c.year);
        const std::string what = c.reason + (" <- " + c.text.substr(0, 80));
        EXPECT_EQ(r.status, c.status) << what << ": " << r.reason;
        EXPECT_NE(r.reason.find(c.reason), std::string::npos) << what << ": " << r.reason;
        EXPECT_EQ(r.table.Years().empty(), c.status != S::Ok) << what;
        EXPECT_EQ(r.papers.empty(), c.status != S::Ok) << what;
    }
}

TEST(HolidayCnFile, DaysBecomeSpansAndWorkdaysOfTheirYear) {
    const HolidayJsonResult r = Read(File("2026", kPaper, kDays + "," + Day(u8"元旦", "2026-01-02") + "," +
                                          Day(u8"国庆节、中秋节", "2026-01-03") + "," + Day(u8"“五一”", "2025-12-31") + "," +
                                          Day(u8"元旦", "2026-01-07") + "," + Day(u8"元旦", "2026-01-09")), 2026);
    ASSERT_EQ(r.status, HolidayJsonStatus::Ok) << r.reason;
    std::string days;
    for (const HolidayDay& d : r.table.DaysOf(2026))
        days += std::to_string(d.dayNumber - DayNumber(2026, 1, 1)) + (d.mark == HolidayMark::Off ? "休" : "班") + d.name + " ";
    EXPECT_EQ(days, "-1休“五一” 0休元旦 1休元旦 2休国庆节、中秋节 3班元旦 6休元旦 8休元旦 ");
}

TEST(HolidayNames, TheSetConvertsToTheCompilersGbkAndNothingElseConverts) {
    std::string gbk;
    ASSERT_TRUE(HolidayNameToGbk(u8"“”、一世中争五元利动劳十午反周国夕年庆念战抗斯日旦明春暨法清界秋端纪胜节西际除70!~", &gbk));
    EXPECT_EQ(gbk, "“”、一世中争五元利动劳十午反周国夕年庆念战抗斯日旦明春暨法清界秋端纪胜节西际除70!~");
    for (const char* bad : {"\xC0\xAF", "\xED\xA0\x80", "\xE5\x85", "\xF4\x90\x80\x80", u8"圣", " ", "\t", "\x7F", u8"\u00A0"})
        EXPECT_FALSE(HolidayNameToGbk(bad, &gbk)) << bad;
}

TEST(HolidayPrecedence, TheUsersFileThenTheBuiltInDataThenFetchedYears) {
    const std::string text = "年 2026 自编 -\n休 国庆节 2026-10-01 2026-10-08 8\n年 2028 自编 -\n休 元旦 2028-01-01\n";
    const HolidayTable user = HolidayTable::Parse(text.data(), text.size(), "假日.txt", nullptr);
    std::vector<HolidayTable> fetched;
    for (const char* f : {"2025 a 2025-03-08", "2026 a 2026-03-07", "2027 a 2027-01-01", "2027 b 2027-01-02",
                          "2028 a 2028-01-03", "2029 a 2029-01-01"}) {
        const std::string s(f);
        const HolidayJsonResult r = Read(File(s.substr(0, 4), "\"https://" + s.substr(5, 1) + "/\"",
                                              Day(u8"元旦", s.substr(7))), 0);
        ASSERT_EQ(r.status, HolidayJsonStatus::Ok) << f << ": " << r.reason;
        fetched.push_back(r.table);
    }
    const HolidayTable t = HolidayTable::Combine(HolidayTable::BuiltIn(), user, fetched);
    struct Row { int year, month, day; HolidayMark mark; HolidayOrigin origin; const char* address; };
    const Row rows[] = {
        {2007, 2, 18, HolidayMark::Off, HolidayOrigin::BuiltIn, ""},
        {2025, 3, 8, HolidayMark::None, HolidayOrigin::BuiltIn, ""},  // the built-in year beats the fetched one
        {2026, 3, 7, HolidayMark::None, HolidayOrigin::UserFile, "假日.txt"},
        {2026, 2, 16, HolidayMark::None, HolidayOrigin::UserFile, "假日.txt"},  // the built-in 春节 is gone
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
    EXPECT_EQ(t.Source(2030), nullptr);
}

TEST(HolidayCnFile, MutatedFilesAreUsedWholeOrNotAtAll) {
    std::mt19937 rng(29);
    const std::string file = DataFile(2026);
    for (int round = 0; round < 2000; ++round) {  // bytes changed, inserted, cut off (run under ASan too)
        std::string s = file;
        for (int e = 1 + static_cast<int>(rng() % 4); e > 0; --e) {
            const size_t at = rng() % (s.size() + 1);
            const unsigned op = rng() % 3;
            if (op == 0 && at < s.size()) s[at] = static_cast<char>(rng());
            if (op == 1) s.insert(at, 1, static_cast<char>(rng()));
            if (op == 2 && rng() % 8 == 0) s.resize(at);
        }
        const HolidayJsonResult r = Read(s, 2026);
        if (r.status != HolidayJsonStatus::Ok) {
            EXPECT_TRUE(r.table.Years().empty() && !r.reason.empty());
            continue;
        }
        EXPECT_EQ(r.table.Years(), std::vector<int>{2026});
        for (const HolidayDay& d : r.table.DaysOf(2026))
            EXPECT_TRUE(d.dayNumber >= DayNumber(2025, 12, 1) && d.dayNumber <= DayNumber(2026, 12, 31));
    }
}

}  // namespace
