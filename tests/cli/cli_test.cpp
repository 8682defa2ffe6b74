// vestrel-cal through RunCli: month view, --days, --details, --terms, --holidays, --find and argument
// errors. Expected text is written as u8"" literals: the tool prints UTF-8; narrow literals are GBK, as
// note files hold it.
#include "cli/cli.h"
#include "cli/terminal_text.h"
#include "notes/note_codec.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

namespace fs = std::filesystem;

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
    // Row 0: 2017-01-01 is a Sunday, so day 1 sits in column 0. 1 and 2 January are days off (休).
    EXPECT_EQ(lines[2], u8"     1休       2休       3         4         5         6         7");
    EXPECT_EQ(lines[3], u8"   元旦      初五      初六      初七      小寒      初九      初十");
    EXPECT_EQ(lines[9], u8"   廿五      廿六      廿七      廿八      廿九      除夕      春节");
    EXPECT_EQ(lines[8], u8"    22班      23        24        25        26        27休      28休");
    EXPECT_EQ(lines[10], u8"    29休      30休      31休");
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
    const Result outside = Cal({}, {2101, 1, 1, false});
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
    const auto range = Lines(Cal({"--days", "1900-02-01", "2100-12-31"}).out);
    ASSERT_EQ(range.size(), 73383u);  // every day on offer
    EXPECT_EQ(range[54755], u8"2049-12-31\t5\t2049\t12\t0\t7\t29\t初七\t\t0");
    EXPECT_EQ(range.back(), u8"2100-12-31\t5\t2100\t12\t0\t1\t29\t十二月小\t\t0");
}

// The whole range, one line per day in date order; a few rows in full (the dialog's 丙午年 庚子月
// 庚午日 for 2026-12-22 is the row's 丙午 庚子 庚午).
TEST(CliDetails, NineColumnsPerDay) {
    const auto lines = Lines(Cal({"--details", "1900-02-01", "2100-12-31"}).out);
    ASSERT_EQ(lines.size(), 73383u);
    for (const std::string& line : lines) ASSERT_EQ(std::count(line.begin(), line.end(), '\t'), 8) << line;
    for (const char* row : {u8"1900-02-01\t庚子\t鼠\t丁丑\t乙巳\t5\t-\t-\t-",
                            u8"1923-02-19\t癸亥\t猪\t甲寅\t癸亥\t8\t七九第6天\t雨水 24:00\t-",  // stored 23:60
                            u8"2020-10-01\t庚子\t鼠\t乙酉\t丁丑\t40\t-\t-\t国庆节",           // labelled 中秋
                            u8"2021-07-11\t辛丑\t牛\t乙未\t庚申\t27\t初伏第1天\t-\t-",         // 夏至 a 庚 day
                            u8"2026-12-22\t丙午\t马\t庚子\t庚午\t52\t一九第1天\t冬至 04:50\t-",
                            u8"2027-01-15\t丙午\t马\t辛丑\t甲午\t2\t三九第7天\t-\t腊八",       // before 立春
                            u8"2100-12-31\t庚申\t猴\t戊子\t丁未\t52\t二九第1天\t-\t-"}) {
        const auto it = std::lower_bound(lines.begin(), lines.end(), std::string(row, 10));
        EXPECT_EQ(it == lines.end() ? "" : *it, row);
    }
}

TEST(CliTerms, OneLinePerTerm) {
    const auto lines = Lines(Cal({"--terms", "2021", "2021"}).out);
    ASSERT_EQ(lines.size(), 24u);
    EXPECT_EQ(lines[0].substr(0, 10), "2021\t1\t1\t5");
    EXPECT_EQ(lines[23].substr(0, 16), "2021\t12\t2\t21\t23\t");
    EXPECT_NE(lines[23].find(u8"冬至"), std::string::npos);
    EXPECT_EQ(Lines(Cal({"--terms", "1900", "2100"}).out).size(), 201u * 24u);
}

TEST(CliErrors, OneLineOnStderrStatusTwoNothingOnStdout) {
    const std::vector<std::vector<const char*>> bad = {
        {"1900", "1"}, {"2101", "1"}, {"2017", "13"}, {"2017", "0"}, {"2017"}, {"2017", "1", "1"},
        {"20x7", "1"}, {"2017", ""}, {"--days", "2017-1-1", "2017-01-02"}, {"--days", "2017-02-29", "2017-03-01"},
        {"--days", "1900-01-31", "1900-02-01"}, {"--days", "2100-12-31", "2101-01-01"},
        {"--days", "2017-01-02", "2017-01-01"}, {"--days", "2017-01-01"}, {"--terms", "1899", "1900"},
        {"--details", "1900-01-31", "1900-02-01"}, {"--details", "2100-12-31", "2101-01-01"},
        {"--details", "2017-01-02", "2017-01-01"}, {"--details", "2017-01-01", "2017-01-01", "x"},
        {"--terms", "2100", "2101"}, {"--terms", "2000", "1999"}, {"--terms", "x", "2000"}, {"--bogus"},
        {"--help", "extra"}, {"--ics"}, {"--ics", "2017"}, {"--ics", "2017", "2016"}, {"--ics", "1899", "1900"},
        {"--ics", "2100", "2101"}, {"--ics", "x", "2017"}, {"--ics", "2017", "2017x"},
        {"--ics", "2017", "2017", "--notes"}, {"--ics", "2017", "2017", "--notes", ""},
        {"--ics", "2017", "2017", "--bogus"}, {"--ics", "2017", "2017", "--notes", "/tmp", "--notes", "/tmp"},
        {"--ics", "2017", "2017", "--skip-damaged", "--skip-damaged"}, {"--ics", "2017", "2017", "--holidays", "x"},
        {"--ics", "2017", "2017", "--holidays", "--holidays"}, {"--holidays"}, {"--holidays", "2026"},
        {"--holidays", "1899", "1900"}, {"--holidays", "2100", "2101"}, {"--holidays", "2027", "2026"},
        {"--holidays", "2026", "2026", "--notes"}, {"--holidays", "2026", "2026", "--notes", ""},
        {"--holidays", "2026", "2026", "--bogus", "/tmp"}, {"--holidays", "2026", "2026", "--holiday-json"},
        {"--ics", "2017", "2017", "--holiday-json", "x.json"}, {"2017", "1", "--holiday-json"}, {"2017", "1", "x"},
        {"--holiday-json", "-"},
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

// A value beginning with "-" is the next option, never the value: the mode's usage line, status 2.
TEST(CliErrors, AnOptionValueBeginningWithADashIsRefused) {
    const std::string ics = "vestrel-cal: --ics takes FROM_YEAR", holidays = "vestrel-cal: --holidays takes FROM_YEAR";
    struct { std::vector<const char*> args; const std::string& usage; } rows[] = {
        {{"--ics", "2026", "2026", "--uid-domain", "--holidays"},            ics},  // once exported without holidays
        {{"--ics", "2026", "2026", "--uid-domain", "-x.org"},                ics},
        {{"--ics", "2026", "2026", "--notes", "--holidays"},                 ics},
        {{"--ics", "2026", "2026", "--notes", "-"},                          ics},
        {{"--ics", "2026", "2026", "--holidays", "--source", "--notes"},     ics},
        {{"--ics", "2026", "2026", "--notes", "/tmp", "--uid-domain", "-"},  ics},
        {{"--holidays", "2026", "2026", "--notes", "--ics"},                 holidays},
        {{"--holidays", "2026", "2026", "--notes", "-d"},                    holidays},
    };
    for (const auto& row : rows) {
        const Result r = Cal(row.args);
        EXPECT_EQ(std::make_pair(r.status, r.out.size()), std::make_pair(2, size_t{0})) << row.args[4];
        EXPECT_EQ(r.err.rfind(row.usage, 0), 0u) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
}

TEST(CliHelp, Usage) {
    const Result r = Cal({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("--days"), std::string::npos);
    EXPECT_NE(r.out.find("--terms"), std::string::npos);
    EXPECT_NE(r.out.find("a month, 1900 2 ... 2100 12"), std::string::npos);
    EXPECT_NE(r.out.find("--ics FROM TO [--notes DIR] [--skip-damaged] [--uid-domain NAME] [--source URL]"),
              std::string::npos);
    EXPECT_NE(r.out.find(u8"[--holidays [--holiday-json FILE]...]\n"), std::string::npos);
    EXPECT_NE(r.out.find("RSCALE=CHINESE"), std::string::npos);
    EXPECT_NE(r.out.find("lunar day 30 falls on day 29 of a 29-day month"), std::string::npos);
    EXPECT_NE(r.out.find("--holidays FROM TO [--notes DIR]"), std::string::npos);
    EXPECT_NE(r.out.find("--find TEXT --notes DIR\n"), std::string::npos);
}

TEST(CliColor, OnlyATerminalWithEscapesAndNoNonEmptyNoColor) {
    struct { bool terminal; const char* noColor; const char* term; bool color; } rows[] = {
        // terminal  NO_COLOR   TERM              colour
        {true,       nullptr,   "xterm-256color", true},
        {true,       "",        "xterm",          true},   // an empty NO_COLOR does not count
        {true,       "1",       "xterm",          false},
        {true,       "0",       "xterm",          false},  // any non-empty value counts
        {true,       nullptr,   "dumb",           false},
        {true,       "",        "dumb",           false},
        {true,       nullptr,   "",               false},
        {true,       nullptr,   nullptr,          false},  // no TERM: nothing says escapes work
        {false,      nullptr,   "xterm",          false},  // a file or a pipe
        {false,      "",        "xterm",          false},
    };
    for (const auto& r : rows)
        EXPECT_EQ(UseColor(r.terminal, r.noColor, r.term), r.color)
            << r.terminal << " NO_COLOR=" << (r.noColor ? r.noColor : "(unset)")
            << " TERM=" << (r.term ? r.term : "(unset)");
}

// Takes room bytes, then refuses every byte as a full disk would; sync fails when told to.
class FullAfter : public std::streambuf {
public:
    FullAfter(size_t room, bool syncFails) : room_(room), syncFails_(syncFails) {}
    size_t taken = 0;

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        if (taken == room_) return traits_type::eof();
        ++taken;
        return c;
    }
    std::streamsize xsputn(const char*, std::streamsize n) override {
        const std::streamsize k = std::min<std::streamsize>(n, static_cast<std::streamsize>(room_ - taken));
        taken += static_cast<size_t>(k);
        return k;
    }
    int sync() override { return syncFails_ ? -1 : 0; }

private:
    size_t room_;
    bool syncFails_;
};

TEST(CliLostOutput, AFailedWriteOrFlushIsStatusOne) {
    constexpr size_t kAll = size_t(1) << 30;
    struct { std::vector<const char*> args; size_t room; bool syncFails; int status; } rows[] = {
        // arguments                                 room   sync fails  status
        {{"2017", "1"},                              kAll,  false,      0},
        {{"2017", "1"},                              100,   false,      1},
        {{"2017", "1"},                              kAll,  true,       1},  // the flush at the end fails
        {{},                                         0,     false,      1},  // today's month
        {{"--days", "1900-02-01", "2100-12-31"},     1000,  false,      1},
        {{"--days", "2017-01-01", "2017-01-01"},     kAll,  true,       1},
        {{"--details", "1900-02-01", "2100-12-31"},  1000,  false,      1},
        {{"--terms", "1900", "2100"},                10,    false,      1},
        {{"--help"},                                 10,    false,      1},
        {{"--ics", "2017", "2017"},                  1000,  false,      1},
        {{"2101", "1"},                              0,     false,      2},  // a bad argument stays 2
    };
    for (const auto& r : rows) {
        std::vector<const char*> argv = r.args;
        argv.insert(argv.begin(), "vestrel-cal");
        FullAfter buffer(r.room, r.syncFails);
        std::ostream out(&buffer);
        std::ostringstream err;
        std::string joined;
        for (const char* a : r.args) joined += std::string(a) + " ";
        EXPECT_EQ(RunCli(static_cast<int>(argv.size()), argv.data(), out, err, {2017, 1, 28, false}), r.status)
            << joined;
        if (r.status == 1) {
            EXPECT_EQ(err.str(), "") << joined;  // main reports, knowing what out is
        }
    }
}

// Files for CloseOutput, each with a few bytes waiting in its buffer.
std::FILE* Written(std::FILE* f) {
    if (f != nullptr) std::fputs("2017", f);
    return f;
}
std::FILE* TempFile() { return Written(std::tmpfile()); }
std::FILE* FullDevice() { return Written(std::fopen("/dev/full", "w")); }
std::FILE* PipeNobodyReads() {  // SIGPIPE is ignored while the test runs
    int fds[2];
    if (pipe(fds) != 0) return nullptr;
    close(fds[0]);
    return Written(fdopen(fds[1], "w"));
}
std::FILE* ClosedDescriptor() {
    std::FILE* f = TempFile();
    if (f != nullptr) close(fileno(f));
    return f;
}

TEST(CliLostOutput, CloseOutputNamesTheReasonOnOneLine) {
    const std::string prefix = "vestrel-cal: cannot write the output";
    struct {
        const char* name;
        std::FILE* (*open)();
        bool failedBefore;
        int reasonBefore;
        int status;
        int reason;  // errno named in the line, 0 = none
    } rows[] = {
        // name                          file               failed before  reason before  status  reason
        {"every byte reached the file",  TempFile,          false,         0,             0,      0},
        {"a full device",                FullDevice,        false,         0,             1,      ENOSPC},
        {"a pipe nobody reads",          PipeNobodyReads,   false,         0,             1,      EPIPE},
        {"a closed descriptor",          ClosedDescriptor,  false,         0,             1,      EBADF},
        {"the run's write failed",       TempFile,          true,          EPIPE,         1,      EPIPE},
        {"the flush's reason first",     FullDevice,        true,          EPIPE,         1,      ENOSPC},
        {"failed, reason unknown",       TempFile,          true,          0,             1,      0},
    };
    void (*previous)(int) = std::signal(SIGPIPE, SIG_IGN);
    for (const auto& r : rows) {
        std::FILE* f = r.open();
        ASSERT_NE(f, nullptr) << r.name;
        std::ostringstream err;
        EXPECT_EQ(CloseOutput(f, r.failedBefore, r.reasonBefore, err), r.status) << r.name;
        if (r.status == 0) {
            EXPECT_EQ(err.str(), "") << r.name;
        } else if (r.reason == 0) {
            EXPECT_EQ(err.str(), prefix + "\n") << r.name;
        } else {
            EXPECT_EQ(err.str(), prefix + ": " + std::strerror(r.reason) + "\n") << r.name;
        }
    }
    std::signal(SIGPIPE, previous);
}

TEST(GbkToUtf8, ConvertsAndReplacesBadBytes) {
    EXPECT_EQ(GbkToUtf8("\xC8\xD5\xC0\xFA"), u8"日历");
    EXPECT_EQ(GbkToUtf8("a\xFF" "b"), "a\xEF\xBF\xBD" "b");
    EXPECT_EQ(GbkToUtf8(""), "");
}

TEST(CliHolidays, The2026NoticeAndAYearWithoutOne) {
    const Result r = Cal({"--holidays", "2026", "2027"});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    const auto lines = Lines(r.out);
    // 3 + 9 + 3 + 5 + 3 + 3 + 7 days off and 6 workdays, then one line for 2027.
    ASSERT_EQ(lines.size(), 33u + 6u + 1u);
    EXPECT_EQ(lines.front(), u8"2026-01-01\t休\t元旦");
    EXPECT_EQ(lines.back(), u8"2027\t未公布");
    std::string work;
    for (const std::string& l : lines)
        if (l.find(u8"\t班\t") != std::string::npos) work += l.substr(0, 10) + " ";
    EXPECT_EQ(work, "2026-01-04 2026-02-14 2026-02-28 2026-05-09 2026-09-20 2026-10-10 ");
    // A year without a notice still shows what the next year's notice names in its December.
    EXPECT_EQ(Cal({"--holidays", "2006", "2006"}).out, u8"2006\t未公布\n2006-12-30\t班\t元旦\n2006-12-31\t班\t元旦\n");
}

TEST(CliHolidays, TheNotesFoldersFileReplacesItsYearsAndNamesBadLinesOnce) {
    char name[] = "/tmp/vestrel-holidays-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    namespace fs = std::filesystem;
    const fs::path root(name), notes = root / u8"我的记事";
    fs::create_directory(notes);
    std::ofstream(notes / "假日.txt", std::ios::binary) << "年 2026 自定 -\n休 国庆节 2026-10-01 2026-10-09 9\n"
                                                           "班 国庆节 2026-10-12\n年 2027 自定 -\n休 元旦 2027-01-01\n";
    const Result r = Cal({"--holidays", "2026", "2027", "--notes", name});
    EXPECT_EQ(r.status, 0);
    const auto lines = Lines(r.out);  // 2026 and 2027 as the file gives them, its bad line left out
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[8], u8"2026-10-09\t休\t国庆节");
    EXPECT_EQ(lines[9], u8"2027-01-01\t休\t元旦");
    EXPECT_EQ(Lines(r.err).size(), 1u);
    EXPECT_NE(r.err.find(".txt:3: "), std::string::npos) << r.err;  // the name as stored (GBK here)
    // A folder without the file: the built-in data; a missing folder: one line, status 2.
    fs::remove(notes / "假日.txt");
    EXPECT_EQ(Cal({"--holidays", "2026", "2026", "--notes", name}).out, Cal({"--holidays", "2026", "2026"}).out);
    const std::string missing = (root / "none").string();
    const Result gone = Cal({"--holidays", "2026", "2026", "--notes", missing.c_str()});
    EXPECT_EQ(gone.status, 2);
    EXPECT_EQ(gone.out, "");
    fs::remove_all(root);
}

// 假日.txt saved in place while it is read (the seam rewrites it, longer and with a new time of
// last write, in the middle of the first `changes` reads): read again until one read is whole, else
// named as changing, status 1 and nothing on stdout.
TEST(CliHolidays, AFileChangingWhileReadIsReadAgainOrNamed) {
    char name[] = "/tmp/vestrel-holidays-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    namespace fs = std::filesystem;
    const fs::path notes = fs::path(name) / u8"我的记事", file = notes / "假日.txt";
    fs::create_directories(notes / u8"日历");
    const std::string notesDir = notes.string(), oneDay = u8"2026-10-01\t休\t国庆节\n";
    const std::string threeDays = oneDay + u8"2026-10-02\t休\t国庆节\n2026-10-03\t休\t国庆节\n";
    const int tries = kHolidayFileTries;
    struct { const char* mode; int changes; int status; const std::string& out; } rows[] = {
        // mode          rewritten in reads     status        stdout
        {"--holidays",   0,                     0,            oneDay},     // as written first
        {"--holidays",   1,                     0,            threeDays},  // the editor's save, read whole
        {"--holidays",   tries - 1,             0,            threeDays},
        {"--holidays",   tries,                 kCliStopped,  ""},
        {"--ics",        tries,                 kCliStopped,  ""},
    };
    for (const auto& row : rows) {
        std::ofstream(file, std::ios::binary) << "年 2026 自定 -\n休 国庆节 2026-10-01\n";
        int changed = 0;
        CliEnv env{2017, 1, 28, false, [&](const std::string& path) {
                       if (changed == row.changes) return;
                       ++changed;
                       std::ofstream(path, std::ios::binary | std::ios::trunc)
                           << "年 2026 自定 -\n休 国庆节 2026-10-01 2026-10-03 3\n" << std::string(changed, '#') << "\n";
                       const timespec times[2] = {{0, UTIME_OMIT}, {1700000000 + changed, 0}};
                       utimensat(AT_FDCWD, path.c_str(), times, 0);
                   }};
        std::vector<const char*> args = {row.mode, "2026", "2026", "--notes", notesDir.c_str()};
        if (std::string(row.mode) == "--ics") args.push_back("--holidays");
        const Result r = Cal(args, env);
        EXPECT_EQ(std::make_tuple(r.status, r.out, changed), std::make_tuple(row.status, row.out, row.changes))
            << row.mode << " " << row.changes << ": " << r.err;
        if (row.status != 0) {
            EXPECT_EQ(r.err, "vestrel-cal: holiday file " + file.string() + ": changing while read (" +
                                 std::to_string(tries) + " tries); run again once it is saved\n");
        }
    }
    fs::remove_all(name);
}

// A folder of every kind of note, a damaged list (its first note still read) and a memo, searched on
// 2026-12-22, a Tuesday; then the statuses of bad arguments and folders.
TEST(CliFind, RowsInTheWindowsOrderDamagedListsNamedAndStatuses) {
    char name[] = "/tmp/vestrel-find-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    const fs::path notes = fs::path(name) / u8"我的记事", lists = notes / u8"日历";
    fs::create_directories(lists), fs::create_directories(notes / u8"备忘");
    const auto list = [&](const char* file, std::vector<std::pair<int, const char*>> slots) {
        NoteEntry entries[32];
        for (const auto& [slot, text] : slots) entries[slot].Assign(text, static_cast<int>(std::strlen(text)), 0);
        const std::vector<char> bytes = EncodeNoteList(entries, 31);
        std::ofstream(lists / file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    };
    list("202612", {{22, "today DENTIST"}}), list("202701", {{18, "牙医 Dentist\r\n带病历"}});
    list("201503", {{2, "dentist again"}}), list("101", {{18, "每年 dentist"}}), list("012", {{8, "腊八 dentist"}});
    list("week", {{2, "tue dentist"}, {3, "周三 DENTIST"}});
    std::ofstream(lists / "201604", std::ios::binary)  // slot 1, then slot 8 with 3 of its 9 bytes
        << std::string("\x64\0\x01\0\x0b\0\0\0\0\0old dentist\x08\0\x09\0\0\0\0\0abc", 32);
    std::ofstream(notes / u8"备忘" / "default", std::ios::binary) << "memo\r\nthe dentist's 555\r\ntab\tdentist\x01" "!";
    const std::string damaged = "vestrel-cal: damaged note file " + (lists / "201604").string() + "\n";
    struct { const char* text; std::string out, err; } rows[] = {
        {"dentist", u8"2026-12-22\tdated\ttoday DENTIST\n每周二\tweekly\ttue dentist\n每周三\tweekly\t周三 DENTIST\n"
                    u8"农历每年腊月初八\tlunar-yearly\t腊八 dentist\n2027-01-18\tdated\t牙医 Dentist\n"
                    u8"每年1月18日\tyearly\t每年 dentist\n2016-04-01\tdated\told dentist\n2015-03-02\tdated\tdentist again\n"
                    u8"记事小本\tmemo\tthe dentist's 555\n记事小本\tmemo\ttab\tdentist\uFFFD!\n", damaged},
        {u8"病历", u8"2027-01-18\tdated\t带病历\n", damaged},
        {"Dentist\n", "", damaged},  // never across a line break
        {u8"\U0001F600", "", damaged + "vestrel-cal: --find: the text is not UTF-8 or has a character GBK lacks; "
                                     "no note holds it\n"},
    };
    for (const auto& row : rows) {
        const Result r = Cal({"--find", row.text, "--notes", name}, {2026, 12, 22, false});
        EXPECT_EQ(std::make_tuple(r.status, r.out, r.err), std::make_tuple(0, row.out, row.err)) << row.text;
    }
    const std::string missing = std::string(name) + "/none", noLists = (notes / u8"备忘").string();
    for (const std::vector<const char*>& args : std::vector<std::vector<const char*>>{
             {"x", "--notes"}, {"", "--notes", name}, {"x", "--notes", "-d"}, {"x", "--bogus", name},
             {"x", "--notes", name, "x"}, {"x", "--notes", missing.c_str()}, {"x", "--notes", noLists.c_str()}}) {
        std::vector<const char*> argv = {"--find"};
        argv.insert(argv.end(), args.begin(), args.end());
        const Result r = Cal(argv);
        EXPECT_EQ(std::make_tuple(r.status, r.out, Lines(r.err).size()), std::make_tuple(2, std::string(), size_t{1}))
            << args.back();
    }
    fs::remove_all(name);
}

// A holiday-cn file for 2027 (which the built-in data lacks) adds its days to --holidays, the
// month view and the ICS events (described by its notice's address); one for 2026 loses to the built-in year, and 假日.txt beats both. A file failing a
// check, a placeholder without days and a missing file are each named on stderr and not used.
TEST(CliHolidays, HolidayCnFilesFillOnlyTheYearsNeitherOtherSourceHas) {
    char name[] = "/tmp/vestrel-holiday-json-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    const std::string dir = name, good = dir + "/2027.json", weekday = dir + "/weekday.json", empty = dir + "/2028.json",
                      other2026 = dir + "/2026.json", missing = dir + "/none.json";
    const auto write = [](const std::string& path, int year, const std::string& days) {  // days: date name off...
        std::ofstream(path, std::ios::binary) << "{\"year\": " << year << ", \"papers\": "
                                              << (days.empty() ? "[]" : "[\"https://www.gov.cn/a.htm\"]")
                                              << ", \"days\": [" << days << "]}";
    };
    const char* day = R"({"name": "%s", "date": "%s", "isOffDay": %s})";
    const auto d = [&](const char* name, const char* date, const char* off) {
        char text[128];
        std::snprintf(text, sizeof text, day, name, date, off);
        return std::string(text);
    };
    write(good, 2027, d(u8"元旦", "2027-01-01", "true") + "," + d(u8"春节", "2027-02-05", "true") + "," +
                          d(u8"春节", "2027-02-06", "true") + "," + d(u8"春节", "2027-02-14", "false"));
    write(weekday, 2027, d(u8"春节", "2027-02-15", "false"));  // a Monday as 班
    write(empty, 2028, "");
    write(other2026, 2026, d(u8"元旦", "2026-01-05", "true"));
    std::vector<const char*> args = {"--holidays", "2026", "2028"};
    for (const std::string* f : {&weekday, &good, &empty, &other2026, &missing}) args.push_back("--holiday-json"), args.push_back(f->c_str());
    const Result r = Cal(args);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, Cal({"--holidays", "2026", "2026"}).out + u8"2027-01-01\t休\t元旦\n2027-02-05\t休\t春节\n"
                                                            u8"2027-02-06\t休\t春节\n2027-02-14\t班\t春节\n2028\t未公布\n");
    const auto err = Lines(r.err);
    ASSERT_EQ(err.size(), 3u) << r.err;
    EXPECT_EQ(err[0], "vestrel-cal: holiday-cn file " + weekday + u8": days[0]: 2027-02-15 is a 班 day that is not a Saturday or Sunday, not used");
    EXPECT_EQ(err[1], "vestrel-cal: holiday-cn file " + empty + u8": no days yet (2028 未公布), not used");
    EXPECT_EQ(err[2], "vestrel-cal: holiday-cn file " + missing + ": cannot be read, not used");
    const auto month = Lines(Cal({"2027", "2", "--holiday-json", good.c_str()}).out);
    EXPECT_EQ(month[2], std::string(15, ' ') + u8"1         2         3         4         5休       6休");
    EXPECT_EQ(month[6].substr(0, 9), u8"    14班");
    EXPECT_EQ(Lines(Cal({"2027", "2"}).out)[2].find(u8"休"), std::string::npos);
    const std::string ics = Cal({"--ics", "2027", "2027", "--holidays", "--holiday-json", good.c_str()}).out;
    for (const char* line : {u8"UID:20270205-holiday@vestrel-cal\r\n", u8"SUMMARY:春节放假\r\n", u8"SUMMARY:调休上班（春节）\r\n",
                             u8"DESCRIPTION:放假安排：https://www.gov.cn/a.htm\r\n", "DTEND;VALUE=DATE:20270207\r\n"})
        EXPECT_NE(ics.find(line), std::string::npos) << line;
    // 假日.txt's 2027 beats the file.
    fs::create_directory(dir + u8"/我的记事");
    std::ofstream(dir + u8"/我的记事/假日.txt", std::ios::binary) << "年 2027 自定 -\n休 元旦 2027-01-01\n";
    EXPECT_EQ(Cal({"--holidays", "2027", "2027", "--notes", name, "--holiday-json", good.c_str()}).out,
              u8"2027-01-01\t休\t元旦\n");
    fs::remove_all(dir);
}

TEST(CliHolidays, MonthViewMarksTheNationalDaySpanAndItsWorkdays) {
    const auto lines = Lines(Cal({"2026", "10"}).out);
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[2], std::string(45, ' ') + u8"1休       2休       3休");
    EXPECT_EQ(lines[4], u8"     4休       5休       6休       7休       8         9        10班");
    EXPECT_EQ(lines[6], "    11        12        13        14        15        16        17");
    EXPECT_EQ(Lines(Cal({"2026", "9"}).out)[8].substr(0, 9), u8"    20班");
}

}  // namespace
