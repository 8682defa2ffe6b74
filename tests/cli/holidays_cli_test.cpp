// vestrel-cal --holidays and the marks of the month view, through RunCli. Output is UTF-8 (u8""
// literals); the user's 假日.txt is written from plain literals, which are GBK.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace {

namespace fs = std::filesystem;

struct Result {
    int status;
    std::string out, err;
};

Result Cal(std::vector<const char*> args) {
    args.insert(args.begin(), "vestrel-cal");
    std::ostringstream out, err;
    const int status = RunCli(static_cast<int>(args.size()), args.data(), out, err, CliEnv{2026, 10, 1, false});
    return {status, out.str(), err.str()};
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
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
    EXPECT_NE(r.out.find(u8"2026-02-23\t休\t春节\n2026-02-28\t班\t春节\n"), std::string::npos);
    // A year without a notice still shows what the next year's notice names in its December.
    EXPECT_EQ(Cal({"--holidays", "2006", "2006"}).out, u8"2006\t未公布\n2006-12-30\t班\t元旦\n2006-12-31\t班\t元旦\n");
}

TEST(CliHolidays, TheNotesFoldersFileReplacesItsYearsAndNamesBadLinesOnce) {
    char name[] = "/tmp/vestrel-holidays-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    const fs::path root(name), notes = root / u8"我的记事";
    fs::create_directory(notes);
    std::ofstream(notes / "假日.txt", std::ios::binary) << "年 2026 自定 -\n休 国庆节 2026-10-01 2026-10-09 9\n"
                                                           "班 国庆节 2026-10-12\n年 2027 自定 -\n休 元旦 2027-01-01\n";
    const Result r = Cal({"--holidays", "2026", "2027", "--notes", name});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, u8"2026-10-01\t休\t国庆节\n2026-10-02\t休\t国庆节\n2026-10-03\t休\t国庆节\n2026-10-04\t休\t国庆节\n"
                     u8"2026-10-05\t休\t国庆节\n2026-10-06\t休\t国庆节\n2026-10-07\t休\t国庆节\n2026-10-08\t休\t国庆节\n"
                     u8"2026-10-09\t休\t国庆节\n2027-01-01\t休\t元旦\n");
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

TEST(CliHolidays, MonthViewMarksTheNationalDaySpanAndItsWorkdays) {
    const auto lines = Lines(Cal({"2026", "10"}).out);
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[2], std::string(45, ' ') + u8"1休       2休       3休");
    EXPECT_EQ(lines[4], u8"     4休       5休       6休       7休       8         9        10班");
    EXPECT_EQ(lines[6], "    11        12        13        14        15        16        17");
    EXPECT_EQ(Lines(Cal({"2026", "9"}).out)[8].substr(0, 9), u8"    20班");
}

}  // namespace
