// vestrel-cal through RunCli: month view, --days, --terms and argument errors. Expected text is
// written as u8"" literals: the tool prints UTF-8.
#include "cli/cli.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

struct Result {
    int status;
    std::string out, err;
};

Result Cal(std::vector<const char*> args, CliEnv env = {2017, 1, 28, false}) {
    args.insert(args.begin(), "vestrel-cal");
    std::ostringstream out, err;
    const int status = RunCli(static_cast<int>(args.size()), args.data(), out, err, env);
    return {status, out.str(), err.str()};
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(CliMonth, TitleHeaderAndSixRowsOfCells) {
    const Result r = Cal({"2017", "1"});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 2u + 12u);  // title, header, six rows of number and label lines
    EXPECT_NE(lines[0].find(u8"2017年1月  丙申【猴】年－丁酉【鸡】年"), std::string::npos);
    EXPECT_EQ(lines[1], u8"    日        一        二        三        四        五        六");
    // Row 0: 2017-01-01 is a Sunday, so day 1 sits in column 0.
    EXPECT_EQ(lines[2], "     1         2         3         4         5         6         7");
    EXPECT_EQ(lines[3], u8"   元旦      初五      初六      初七      小寒      初九      初十");
    EXPECT_EQ(lines[9], u8"   廿五      廿六      廿七      廿八      廿九      除夕      春节");
    EXPECT_EQ(lines[10], "    29        30        31");
    EXPECT_EQ(lines[12], "");  // the sixth row is empty in a five-row month
    EXPECT_EQ(r.out.find('\033'), std::string::npos);  // no colour when asked for none
}

TEST(CliMonth, ColumnsFollowTheWeekdayOfDayOne) {
    // July 2017 starts on a Saturday: day 1 in the last column, days 30 and 31 in the sixth row.
    const auto lines = Lines(Cal({"2017", "7"}).out);
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[2], std::string(60, ' ') + "     1");
    EXPECT_EQ(lines[12], "    30        31");
}

TEST(CliMonth, DisplayWidthCountsChineseAsTwoColumns) {
    EXPECT_EQ(DisplayWidth("abc"), 3);
    EXPECT_EQ(DisplayWidth(u8"元宵节"), 6);
    EXPECT_EQ(DisplayWidth(u8"【猴】－"), 8);
    EXPECT_EQ(DisplayWidth(u8"闰十一月小"), 10);
}

TEST(CliMonth, ColoursOnATerminal) {
    const Result r = Cal({"2017", "1"}, {2017, 1, 28, true});
    ASSERT_EQ(r.status, 0);
    EXPECT_NE(r.out.find(u8"\033[31m   元旦   \033[0m"), std::string::npos);  // festival: red
    EXPECT_NE(r.out.find(u8"\033[34m   小寒   \033[0m"), std::string::npos);  // solar term: blue
    EXPECT_NE(r.out.find(u8"\033[32m   初十   \033[0m"), std::string::npos);  // Saturday: green
    EXPECT_NE(r.out.find(u8"\033[31m   十一   \033[0m"), std::string::npos);  // Sunday: red
    EXPECT_NE(r.out.find(u8"\033[31m\033[7m   春节   \033[0m"), std::string::npos);  // today: reversed
    const Result feb = Cal({"2017", "2"}, {2017, 1, 28, true});
    EXPECT_EQ(feb.out.find("\033[7m"), std::string::npos);  // today is not in February
    EXPECT_NE(feb.out.find(u8"\033[1m  二月大  \033[0m"), std::string::npos);  // month name: bold
}

TEST(CliMonth, NoArgumentsShowsTheCurrentMonth) {
    const Result r = Cal({}, {2023, 4, 1, false});
    ASSERT_EQ(r.status, 0);
    EXPECT_NE(r.out.find(u8"2023年4月  癸卯【兔】年"), std::string::npos);
    const Result outside = Cal({}, {2050, 1, 1, false});
    EXPECT_EQ(outside.status, 2);
    EXPECT_EQ(outside.out, "");
}

TEST(CliDays, TenTabSeparatedFields) {
    const Result r = Cal({"--days", "2017-01-27", "2017-01-28"});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              u8"2017-01-27\t5\t2016\t12\t0\t30\t30\t除夕\t除夕\t0\n"
              u8"2017-01-28\t6\t2017\t1\t0\t1\t29\t春节\t春节\t0\n");
}

TEST(CliDays, LeapMonthsTermsAndMonthBoundaries) {
    const auto lines = Lines(Cal({"--days", "2017-07-22", "2017-08-01"}).out);
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[0], u8"2017-07-22\t6\t2017\t6\t0\t29\t29\t大暑\t\t2");
    EXPECT_EQ(lines[1], u8"2017-07-23\t0\t2017\t6\t1\t1\t30\t闰六月大\t\t0");
    EXPECT_EQ(lines[10], u8"2017-08-01\t2\t2017\t6\t1\t10\t30\t初十\t\t0");
    const auto range = Lines(Cal({"--days", "1900-02-01", "2049-12-31"}).out);
    EXPECT_EQ(range.size(), 54756u);  // every day on offer
    EXPECT_EQ(range.back(), u8"2049-12-31\t5\t2049\t12\t0\t7\t29\t初七\t\t0");
}

TEST(CliTerms, OneLinePerTerm) {
    const auto lines = Lines(Cal({"--terms", "2021", "2021"}).out);
    ASSERT_EQ(lines.size(), 24u);
    EXPECT_EQ(lines[0].substr(0, 10), "2021\t1\t1\t5");
    EXPECT_EQ(lines[23].substr(0, 16), "2021\t12\t2\t21\t23\t");
    EXPECT_NE(lines[23].find(u8"冬至"), std::string::npos);
    EXPECT_EQ(Lines(Cal({"--terms", "1900", "2054"}).out).size(), 155u * 24u);
}

TEST(CliErrors, OneLineOnStderrStatusTwoNothingOnStdout) {
    const std::vector<std::vector<const char*>> bad = {
        {"1900", "1"}, {"2050", "1"}, {"2017", "13"}, {"2017", "0"}, {"2017"}, {"2017", "1", "1"},
        {"20x7", "1"}, {"2017", ""}, {"--days", "2017-1-1", "2017-01-02"}, {"--days", "2017-02-29", "2017-03-01"},
        {"--days", "1900-01-31", "1900-02-01"}, {"--days", "2049-12-31", "2050-01-01"},
        {"--days", "2017-01-02", "2017-01-01"}, {"--days", "2017-01-01"}, {"--terms", "1899", "1900"},
        {"--terms", "2054", "2055"}, {"--terms", "2000", "1999"}, {"--terms", "x", "2000"}, {"--bogus"},
        {"--help", "extra"},
    };
    for (const auto& args : bad) {
        const Result r = Cal(args);
        std::string joined;
        for (const char* a : args) joined += std::string(a) + " ";
        EXPECT_EQ(r.status, 2) << joined;
        EXPECT_EQ(r.out, "") << joined;
        ASSERT_FALSE(r.err.empty()) << joined;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << joined;  // exactly one line
        EXPECT_TRUE(r.err.find("1900") != std::string::npos) << "names the valid range: " << r.err;
    }
}

TEST(CliHelp, Usage) {
    const Result r = Cal({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("--days"), std::string::npos);
    EXPECT_NE(r.out.find("--terms"), std::string::npos);
}

TEST(GbkToUtf8, ConvertsAndReplacesBadBytes) {
    EXPECT_EQ(GbkToUtf8("\xC8\xD5\xC0\xFA"), u8"日历");
    EXPECT_EQ(GbkToUtf8("a\xFF" "b"), "a\xEF\xBF\xBD" "b");
    EXPECT_EQ(GbkToUtf8(""), "");
}

}  // namespace
