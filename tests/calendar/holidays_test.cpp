// The built-in 休/班 data against its own rules and the law of each year, and the parser on a user's
// file: override, malformed lines, garbage. Literals here are GBK, like the data the parser reads.
#include "calendar/holidays.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "calendar/gregorian.h"
#include "calendar/labels.h"
#include "calendar/lunar.h"

namespace {

HolidayTable ParseText(const std::string& text, std::vector<HolidayProblem>* problems) {
    return HolidayTable::Parse(text.data(), text.size(), "假日.txt", problems);
}

// The Gregorian date of lunar year/month/day (ordinary month) falling in the Gregorian year y, or 0.
int32_t LunarDay(int y, int month, int day) {
    for (int32_t n = DayNumber(y, 1, 1); n <= DayNumber(y, 12, 31); ++n) {
        const SolarDate s = SolarFromDayNumber(n);
        const LunarDate l = LunarDate::FromSolar(s.year, s.month, s.day);
        if (l.year == y && l.month == month && l.day == day && !l.isLeap) return n;
    }
    return 0;
}

TEST(HolidayData, EveryLineParsesAndPassesItsChecks) {
    // A 班 day on a weekday, a span whose length is not its count, a date outside its notice's year
    // or a day given twice all turn up here as a problem with its line.
    for (const HolidayProblem& p : HolidayTable::BuiltInProblems())
        ADD_FAILURE() << p.source << ":" << p.line << ": " << p.reason;
    std::vector<int> expected;
    for (int y = 2007; y <= 2026; ++y) expected.push_back(y);
    EXPECT_EQ(HolidayTable::BuiltIn().Years(), expected);
    for (int y : expected) EXPECT_STRNE(HolidayTable::BuiltIn().Notices(y)->front().number.c_str(), "") << y;
}

TEST(HolidayData, TheFestivalDaysOfEachYearsLawAreOff) {
    const HolidayTable& t = HolidayTable::BuiltIn();
    for (int y : t.Years()) {
        std::vector<int32_t> days = {DayNumber(y, 1, 1), DayNumber(y, 5, 1), DayNumber(y, 10, 1), DayNumber(y, 10, 2),
                                     DayNumber(y, 10, 3)};
        const int32_t springFestival = LunarDay(y, 1, 1);
        ASSERT_NE(springFestival, 0) << y;
        // 春节: 初一 ... 初三 (1999 law, 2014 on), 除夕 ... 初二 (2008 ... 2013), 除夕 ... 初三 (2025 on).
        for (int32_t n = springFestival - (y >= 2008 && (y <= 2013 || y >= 2025) ? 1 : 0);
             n <= springFestival + (y >= 2008 && y <= 2013 ? 1 : 2); ++n)
            days.push_back(n);
        if (y == 2007) {
            days.push_back(DayNumber(y, 5, 2));
            days.push_back(DayNumber(y, 5, 3));
        } else {  // 清明, 端午, 中秋 from 2008; a second May day from 2025
            SolarTermTime qingming, second;
            SolarTermDays(y, 4, &qingming, &second);
            ASSERT_STREQ(SolarTermName(4, 1), "清明");
            days.push_back(DayNumber(y, 4, qingming.day));
            days.push_back(LunarDay(y, 5, 5));
            days.push_back(LunarDay(y, 8, 15));
            if (y >= 2025) days.push_back(DayNumber(y, 5, 2));
        }
        for (int32_t n : days) {
            const SolarDate s = SolarFromDayNumber(n);
            EXPECT_EQ(t.Mark(s.year, s.month, s.day), HolidayMark::Off) << s.year << "-" << s.month << "-" << s.day;
        }
    }
}

TEST(HolidayData, AmendmentsSpansAcrossNewYearAndUnannouncedYears) {
    const HolidayTable& t = HolidayTable::BuiltIn();
    const char* name = nullptr;
    struct Case { int y, m, d; HolidayMark mark; const char* name; };
    const Case cases[] = {
        {2020, 2, 1, HolidayMark::Off, "春节"},       // the extension took back this 班 Saturday
        {2020, 2, 2, HolidayMark::Off, "春节"},       {2020, 2, 3, HolidayMark::None, ""},
        {2020, 1, 19, HolidayMark::Work, "春节"},     {2019, 5, 2, HolidayMark::Off, "劳动节"},
        {2019, 5, 5, HolidayMark::Work, "劳动节"},    {2015, 9, 3, HolidayMark::Off, "抗战胜利纪念日"},
        {2015, 9, 6, HolidayMark::Work, "抗战胜利纪念日"},
        {2019, 4, 6, HolidayMark::None, ""},          // "与周末连休": the weekend stays a weekend
        {2026, 4, 4, HolidayMark::Off, "清明节"},     // a Saturday inside a stated span
        {2018, 12, 29, HolidayMark::Work, "元旦"},    // 2019's notice reaching into 2018
        {2006, 12, 31, HolidayMark::Work, "元旦"},    {2027, 1, 1, HolidayMark::None, ""},
        {2026, 2, 30, HolidayMark::None, ""},         {-5, 99, 0, HolidayMark::None, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(t.Mark(c.y, c.m, c.d, &name), c.mark) << c.y << "-" << c.m << "-" << c.d;
        EXPECT_STREQ(name, c.name) << c.y << "-" << c.m << "-" << c.d;
    }
    ASSERT_EQ(t.Notices(2020)->size(), 2u);
    EXPECT_EQ(t.Notices(2020)->at(1).number, "国办发明电〔2020〕1号");
    EXPECT_EQ(t.Notices(2020)->at(1).date, "2020-01-26");
    EXPECT_TRUE(t.Notices(2020)->at(1).amends);
    EXPECT_FALSE(t.Announced(2006));
    EXPECT_FALSE(t.Announced(2027));
}

TEST(HolidayFile, AYearItHoldsReplacesTheBuiltInYearAndBadLinesAreNamed) {
    const std::string text =
        "# 自己改的\r\n"
        "年 2026 国办发明电〔2025〕7号 2025-11-04\r\n"
        "休 国庆节 2026-10-01 2026-10-08 8\n"
        "班 国庆节 2026-10-10\n"
        "休 国庆节 2026-10-01 2026-10-03 4\n"       // 5: count differs
        "班 国庆节 2026-10-12\n"                    // 6: a Monday
        "班 国庆节 2026-10-10\n"                    // 7: given already
        "休 国庆节 2025-11-30\n"                    // 8: before the December of the year before
        "年 2026 x -\n"                             // 9: a second 年
        "改 2031 x -\n"                             // 10: 改 without its 年
        "休 x 2026-01-01\n"                         // 11: no valid header above (line 10 was bad)
        "年 2031 国办发明电〔2030〕1号 2030-13-01\n"  // 12: bad date
        "元旦 2026-01-01\n"                         // 13: unknown
        "年 2032 \xB9\n"                            // 14: truncated GBK
        "年 2033 n -\n"
        "班 元旦 2032-12-25 2033-01-01 2033-01-01\n"  // 16: given twice on one line
        "休 元旦\n"                                 // 17: too few fields
        "休 元旦 2033-01-01 2033-01-01 -";           // last line without a newline: fine
    std::vector<HolidayProblem> problems;
    const HolidayTable user = ParseText(text, &problems);
    std::vector<int> lines;
    for (const HolidayProblem& p : problems) lines.push_back(p.line);
    EXPECT_EQ(problems.at(0).source, "假日.txt");
    EXPECT_EQ(lines, (std::vector<int>{5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 16, 17}));  // comments count as lines
    for (const HolidayProblem& p : problems)  // each reason in the user's words: Chinese, the date's pattern
        EXPECT_EQ(std::count_if(p.reason.begin(), p.reason.end(), [](char c) { return c >= 'a' && c <= 'z'; }), 0)
            << p.line << ": " << p.reason;
    const HolidayTable merged = HolidayTable::Overlay(HolidayTable::BuiltIn(), user);
    EXPECT_EQ(merged.Mark(2026, 10, 8), HolidayMark::Off);   // the user's year
    EXPECT_EQ(merged.Mark(2026, 9, 20), HolidayMark::None);  // the built-in 班 of 2026 is gone
    EXPECT_EQ(merged.Mark(2026, 2, 14), HolidayMark::None);
    EXPECT_EQ(merged.Mark(2025, 9, 28), HolidayMark::Work);  // other years stay
    EXPECT_EQ(merged.Mark(2033, 1, 1), HolidayMark::Off);
    EXPECT_TRUE(merged.Announced(2033));
    EXPECT_EQ(merged.Years().size(), HolidayTable::BuiltIn().Years().size() + 1);
}

// A day named by the notices of two years (2026-12-26: the 2026 notice's day off, the 2027 notice's
// workday) is the later notice's: its mark, and DaysOf lists it with that year alone.
TEST(HolidayFile, ALaterYearsNoticeDecidesTheDaysItNamesInTheDecemberBefore) {
    const HolidayTable t = ParseText("年 2026 a -\n休 X 2026-12-25 2026-12-26 2\n年 2027 b -\n班 元旦 2026-12-26\n"
                                     "休 元旦 2027-01-01\n", nullptr);
    auto days = [&](int year) {
        std::string s;
        for (const HolidayDay& d : t.DaysOf(year))
            s += std::to_string(d.dayNumber - DayNumber(2026, 12, 25)) + (d.mark == HolidayMark::Off ? "休" : "班") +
                 d.name + " ";
        return s;
    };
    EXPECT_EQ(days(2026), "0休X ");
    EXPECT_EQ(days(2027), "1班元旦 7休元旦 ");
    EXPECT_EQ(days(2028), "");
    const char* name = nullptr;
    EXPECT_EQ(t.Mark(2026, 12, 25, &name), HolidayMark::Off);
    EXPECT_STREQ(name, "X");
    EXPECT_EQ(t.Mark(2026, 12, 26, &name), HolidayMark::Work);
    EXPECT_STREQ(name, "元旦");
}

TEST(HolidayFile, GarbageAndMutatedLinesParseWithoutHarm) {
    std::mt19937 rng(20);
    const std::string text = "年 2026 n -\n休 春节 2026-02-15 2026-02-23 9\n班 春节 2026-02-14 2026-02-28\n";
    for (int round = 0; round < 3000; ++round) {  // bytes changed, inserted, cut off (run under ASan too)
        std::string s = text;
        for (int e = 1 + static_cast<int>(rng() % 8); e > 0; --e) {
            const size_t at = rng() % (s.size() + 1);
            const unsigned op = rng() % 3;
            if (op == 0 && at < s.size()) s[at] = static_cast<char>(rng());
            if (op == 1) s.insert(at, 1, static_cast<char>(rng()));
            if (op == 2) s.resize(at);
        }
        std::vector<HolidayProblem> problems;
        const HolidayTable t = ParseText(s, &problems);
        for (int y : t.Years()) EXPECT_TRUE(y >= kHolidayFirstYear && y <= kHolidayLastYear);
        t.Mark(2026, 2, 15);
    }
    std::vector<HolidayProblem> problems;
    EXPECT_TRUE(ParseText(std::string("\0\0\n\xFF\xFE\n\x81", 7), &problems).Years().empty());
    EXPECT_EQ(problems.size(), 3u);
    EXPECT_TRUE(HolidayTable::Parse(nullptr, 0, "x", nullptr).Years().empty());
}

}  // namespace

// A file saved in UTF-8, or too large, is not used and says why; one of bad lines is told once with
// their count and the first three, while only the first few problems are kept.
TEST(HolidayFile, TroubleIsToldInOneNoticeAndCostsNoMemory) {
    const std::string utf8 = "\xE5\xB9\xB4 2027 a -\n";  // "年" in UTF-8
    struct {
        std::string bytes;
        bool utf8;
    } rows[] = {{utf8, true}, {"\xEF\xBB\xBF# x\n", true}, {"年 2027 a -\n", false}, {"ascii only\n", false},
                {"\xE5\xB9", false}, {"\xC4\xEA\xE5\xB9\xB4", false}};
    for (const auto& r : rows) EXPECT_EQ(LooksLikeUtf8(r.bytes.data(), r.bytes.size()), r.utf8) << r.bytes;
    EXPECT_EQ(CheckHolidayFile(utf8.data(), utf8.size()), HolidayFileTrouble::Utf8);
    EXPECT_EQ(CheckHolidayFile("x", kMaxHolidayFileBytes + 1), HolidayFileTrouble::TooLarge);
    EXPECT_NE(HolidayFileNotice("假日.txt", HolidayFileTrouble::Utf8, {}, 0).find("UTF-8"), std::string::npos);

    std::string bad;
    for (int i = 0; i < 100000; ++i) bad += "nonsense\n";
    std::vector<HolidayProblem> problems;
    size_t count = 0;
    HolidayTable::Parse(bad.data(), bad.size(), "假日.txt", &problems, &count);
    EXPECT_EQ(count, 100000u);
    EXPECT_EQ(problems.size(), kMaxHolidayProblemsKept);
    const std::string notice = HolidayFileNotice("假日.txt", HolidayFileTrouble::BadLines, problems, count);
    EXPECT_EQ(notice.rfind("假日文件“假日.txt”有100000行有误", 0), 0u) << notice;
    EXPECT_NE(notice.find("第3行："), std::string::npos);
    EXPECT_EQ(notice.find("第4行"), std::string::npos);
    std::string words = notice;  // no English in the user's notice, but the file's name
    for (size_t at; (at = words.find("假日.txt")) != std::string::npos;) words.erase(at, 8);
    EXPECT_EQ(std::count_if(words.begin(), words.end(), [](char c) { return c >= 'a' && c <= 'z'; }), 0) << notice;
}
