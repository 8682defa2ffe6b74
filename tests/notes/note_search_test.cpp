// Finding notes: matching GBK lines, the words and next days of each kind, the order of the rows,
// and the reading of a notes folder with damaged files in it.
#include "notes/note_search.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "notes/note_codec.h"

namespace {

namespace fs = std::filesystem;

// The bytes of a list file with the given (slot, text) entries.
std::string ListBytes(const std::vector<std::pair<int, std::string>>& slots) {
    NoteEntry e[32];
    for (const auto& s : slots) e[s.first].Assign(s.second.data(), static_cast<int>(s.second.size()), 0);
    const std::vector<char> bytes = EncodeNoteList(e, 31);
    return std::string(bytes.begin(), bytes.end());
}

void Add(NoteIndex* index, const std::string& name, const std::vector<std::pair<int, std::string>>& slots) {
    const std::string bytes = ListBytes(slots);
    ASSERT_TRUE(index->AddList(name, bytes.data(), bytes.size()));
}

std::string Iso(const SolarDate& d) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
    return d.year == 0 ? "none" : text;
}

constexpr SolarDate kToday{2027, 1, 18};  // a Monday; lunar 2026 十二月十一

TEST(NoteSearch, MatchesWholeGbkCharactersOnOneLine) {
    struct Row {
        const char* text;
        const char* query;
        std::vector<std::pair<int, std::string>> lines;  // line number, line
    } rows[] = {
        {"买牙膏\r\n看牙医\r\n", "牙医", {{1, "看牙医"}}},
        {"Dentist at 3\nsee the DENTIST", "dEnTiSt", {{0, "Dentist at 3"}, {1, "see the DENTIST"}}},
        {"牙医 牙医 牙医", "牙医", {{0, "牙医 牙医 牙医"}}},  // one row per line
        {"abc\r\ndef", "cd", {}},                           // no match across a line break
        {"abc\r\ndef", "c\r\nd", {}},
        {"abc", "", {}},
        // Trail bytes 0x61 'a' and 0x41 'A' (GBK B061, B041) are no letters.
        {"\xB0\x61\xB0\x41", "a", {}},
        {"\xB0\x61\xB0\x41", "A", {}},
        {"\xB0\x61 xa", "A", {{0, "\xB0\x61 xa"}}},  // a false hit first, a true one after it
        {"\xB0\x41", "\xB0\x61", {}},                  // B041 and B061 are two characters
        {"\xB0\x61", "\xB0\x41", {}},
        // B0B0 A1A1: 啊 (B0A1) lies across the two characters.
        {"\xB0\xB0\xA1\xA1", "\xB0\xA1", {}},
        {"\xB0\xB0\xB0\xA1", "\xB0\xA1", {{0, "\xB0\xB0\xB0\xA1"}}},
        {"\xB0\xA1", "\xB0", {}},                  // a query ending inside a character
        {"x\xB0\nab", "\xB0", {{0, "x\xB0"}}},     // a lead byte before a break stands alone
        {"x\xB0\nab", "ab", {{1, "ab"}}},
        {"\n\n\nEnd\r\n", "end", {{3, "End"}}},
        {"a\rb", "a\rb", {}},
    };
    for (const Row& r : rows) {
        NoteIndex index;
        index.AddMemo(r.text, std::strlen(r.text));
        std::vector<std::pair<int, std::string>> got;
        for (const FoundRow& row : index.Search(r.query, kToday)) got.emplace_back(row.lineNumber, row.line);
        EXPECT_EQ(got, r.lines) << r.text << " / " << r.query;
    }
}

TEST(NoteSearch, ListNamesAndSlotsNoDayHas) {
    NoteIndex index;
    for (const char* name : {"2027", "13", "113", "000", "202713", "202700", "202701.damaged", "wee", "weeks", "2o2701"}) {
        const std::string bytes = ListBytes({{1, "x"}});
        EXPECT_FALSE(index.AddList(name, bytes.data(), bytes.size())) << name;
    }
    Add(&index, "202704", {{0, "x0"}, {30, "x30"}, {31, "x31"}});  // April has no 31st
    Add(&index, "102", {{29, "x29"}, {30, "x30"}});                 // 29 February is shown, 30 never
    Add(&index, "002", {{0, "x0"}, {30, "x30"}, {31, "x31"}});
    Add(&index, "week", {{6, "x6"}, {7, "x7"}});
    index.AddMemo("", 0);
    std::vector<std::string> whens;
    for (const FoundRow& f : index.Search("x", kToday)) whens.push_back(f.when + " " + f.line);
    EXPECT_EQ(whens, std::vector<std::string>({"每周六 x6", "农历每年二月三十 x30", "2027年4月30日 x30",
                                               "每年2月29日 x29"}));
}

// Next days found from a today: the yearly, lunar-yearly and weekly rules.
TEST(NoteSearch, NextDayOfRecurringNotes) {
    struct Row {
        SolarDate today;
        const char* list;
        int slot;
        const char* next;
        bool leap;
    } rows[] = {
        {{2027, 1, 18}, "101", 18, "2027-01-18", false},  // today itself
        {{2027, 1, 18}, "101", 17, "2028-01-17", false},
        {{2028, 3, 1}, "102", 29, "2032-02-29", false},
        {{2096, 3, 1}, "102", 29, "2104-02-29", false},  // 2100 is no leap year
        {{2027, 1, 15}, "012", 8, "2027-01-15", false},  // 腊八 2027
        {{2027, 1, 18}, "012", 8, "2028-01-04", false},
        {{2027, 1, 18}, "005", 30, "2027-07-03", false},  // 五月 2027 has 29 days: day 30 on its 29th
        {{2028, 6, 1}, "005", 5, "2028-06-27", true},     // after 端午 2028-05-28: 闰五月初五
        {{2028, 6, 1}, "005", 30, "2028-06-22", false},   // 五月 2028 has 30 days
        {{2028, 6, 23}, "005", 30, "2028-07-21", true},   // 闰五月 has 29
        {{2101, 6, 1}, "001", 1, "none", false},          // past the lunar table
        {{2027, 1, 18}, "week", 1, "2027-01-18", false},
        {{2027, 1, 18}, "week", 0, "2027-01-24", false},
        {{2027, 1, 23}, "week", 0, "2027-01-24", false},
        {{0, 0, 0}, "week", 0, "none", false},  // no valid today
        {{0, 0, 0}, "202701", 18, "2027-01-18", false},
    };
    for (const Row& r : rows) {
        NoteIndex index;
        Add(&index, r.list, {{r.slot, "q"}});
        const std::vector<FoundRow> found = index.Search("q", r.today);
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(Iso(found[0].next), r.next) << Iso(r.today) << " " << r.list << " " << r.slot;
        EXPECT_EQ(found[0].nextInLeapMonth, r.leap) << Iso(r.today) << " " << r.list << " " << r.slot;
    }
}

// The order, and each row's kind, key, words and ISO date.
TEST(NoteSearch, UpcomingNearestFirstThenPastNewestFirstThenMemo) {
    NoteIndex index;
    const std::string memo = "会 one\r\nno\r\n会 two";
    index.AddMemo(memo.data(), memo.size());
    Add(&index, "202505", {{5, "会"}});
    Add(&index, "202612", {{1, "会"}});
    Add(&index, "202701", {{18, "会"}, {19, "会"}, {20, "会\r\n会议"}});
    Add(&index, "203001", {{1, "会"}});
    Add(&index, "101", {{17, "会"}, {19, "会"}});
    Add(&index, "102", {{29, "会"}});
    Add(&index, "005", {{30, "会"}});
    Add(&index, "012", {{8, "会"}});
    Add(&index, "WEEK", {{0, "会"}, {1, "会"}});
    std::vector<std::string> got;
    for (const FoundRow& f : index.Search("会", kToday)) {
        got.push_back(Iso(f.next) + " " + FoundKindName(f.kind) + " " + std::to_string(f.year) + "/" +
                      std::to_string(f.month) + "/" + std::to_string(f.day) + " " + f.when + " [" + f.isoDate + "] " +
                      f.line);
    }
    EXPECT_EQ(got, std::vector<std::string>({
                       "2027-01-18 dated 2027/1/18 2027年1月18日 [2027-01-18] 会",
                       "2027-01-18 weekly 0/0/1 每周一 [] 会",
                       "2027-01-19 dated 2027/1/19 2027年1月19日 [2027-01-19] 会",
                       "2027-01-19 yearly 0/1/19 每年1月19日 [] 会",
                       "2027-01-20 dated 2027/1/20 2027年1月20日 [2027-01-20] 会",
                       "2027-01-20 dated 2027/1/20 2027年1月20日 [2027-01-20] 会议",
                       "2027-01-24 weekly 0/0/0 每周日 [] 会",
                       "2027-07-03 lunar-yearly 0/5/30 农历每年五月三十 [] 会",
                       "2028-01-04 lunar-yearly 0/12/8 农历每年腊月初八 [] 会",
                       "2028-01-17 yearly 0/1/17 每年1月17日 [] 会",
                       "2028-02-29 yearly 0/2/29 每年2月29日 [] 会",
                       "2030-01-01 dated 2030/1/1 2030年1月1日 [2030-01-01] 会",
                       "2026-12-01 dated 2026/12/1 2026年12月1日 [2026-12-01] 会",
                       "2025-05-05 dated 2025/5/5 2025年5月5日 [2025-05-05] 会",
                       "none memo 0/0/0 记事小本 [] 会 one",
                       "none memo 0/0/0 记事小本 [] 会 two",
                   }));
    EXPECT_TRUE(index.Search("会会", kToday).empty());  // two notes never run together
}

TEST(NoteSearch, DamagedListKeepsTheNotesBeforeTheBadRecord) {
    NoteIndex index;
    std::string bytes = ListBytes({{3, "first"}, {9, "second"}});
    bytes.resize(bytes.size() - 2);  // the second text cut short
    EXPECT_TRUE(index.AddList("202704", bytes.data(), bytes.size()));
    index.AddMemo("memo\0x", 6);  // the pad refuses a NUL
    index.AddDamaged("日历\\202705");
    std::vector<std::string> names;
    for (const DamagedFile& d : index.Damaged()) names.push_back(d.name);
    EXPECT_EQ(names, std::vector<std::string>({"日历\\202704", "备忘\\default", "日历\\202705"}));
    EXPECT_EQ(index.Search("first", kToday).size(), 1u);
    EXPECT_TRUE(index.Search("second", kToday).empty());
    EXPECT_EQ(index.Search("x", kToday).size(), 1u);
}

class NotesFolder : public testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("note_search_test_" + std::to_string(std::random_device()()));
        fs::create_directories(dir);
    }
    void TearDown() override {
        std::error_code error;
        fs::remove_all(dir, error);
    }
    static void Write(const fs::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    fs::path dir;
};

TEST_F(NotesFolder, ReadsEveryListAndTheMemoNamesTheDamagedAndTellsWhatIsMissing) {
    const fs::path root = dir / fs::u8path(u8"我的记事");
    const fs::path lists = root / fs::u8path(u8"日历");
    fs::create_directories(lists);
    fs::create_directories(root / fs::u8path(u8"备忘"));
    for (const char* name : {"190502", "209912", "week", "101", "202705.damaged", "202706.new", "2027"})
        Write(lists / name, ListBytes({{name[0] == '2' && name[4] == '1' ? 31 : 2, std::string("find ") + name}}));
    std::string cut = ListBytes({{3, "find before"}, {9, "find after"}});
    cut.resize(cut.size() - 1);
    Write(lists / "202704", cut);
    std::string big = ListBytes({{1, "find big"}});  // records of one slot repeated: well formed, too large
    while (big.size() <= kMaxSearchedFileBytes) big += ListBytes({{1, std::string(60000, 'x')}}).substr(2);
    Write(lists / "202707", big);
    fs::create_directory(lists / "202708");
#ifndef _WIN32
    ASSERT_EQ(mkfifo((lists / "202709").c_str(), 0600), 0);  // never opened, or the read would hang
#endif
    Write(root / fs::u8path(u8"备忘") / "default", "find memo\r\n");
    Write(root / fs::u8path(u8"备忘") / "other", "find other");

    NoteIndex index;
    ASSERT_EQ(LoadNoteIndex(dir, &index), FolderRead::Ok);
    std::vector<std::string> lines;
    for (const FoundRow& f : index.Search("FIND", kToday)) lines.push_back(f.line);
    EXPECT_EQ(lines, std::vector<std::string>({"find week", "find before", "find 101", "find 209912", "find 190502",
                                               "find memo"}));
    std::vector<std::string> damaged;
    for (const DamagedFile& d : index.Damaged()) {
        damaged.push_back(d.name);
        EXPECT_EQ(d.path.parent_path(), lists);
    }
    std::vector<std::string> expected = {"日历\\202704", "日历\\202707", "日历\\202708"};
#ifndef _WIN32
    expected.push_back("日历\\202709");
#endif
    EXPECT_EQ(damaged, expected);
    EXPECT_EQ(NotesFolderPathOf(dir), root);
    EXPECT_EQ(NotesFolderPathOf(root), root);

    EXPECT_EQ(LoadNoteIndex(dir / "absent", &index), FolderRead::Missing);
    EXPECT_EQ(LoadNoteIndex(lists / "190502", &index), FolderRead::Missing);  // a file
    EXPECT_EQ(LoadNoteIndex(lists, &index), FolderRead::NoListFolder);
#ifndef _WIN32
    // The program's own GBK bytes as names, as a copy from a Windows disk may have them.
    const fs::path gbk = dir / "gbk" / "\xCE\xD2\xB5\xC4\xBC\xC7\xCA\xC2" / "\xC8\xD5\xC0\xFA";  // 我的记事, 日历
    fs::create_directories(gbk);
    fs::create_directories(gbk.parent_path() / "\xB1\xB8\xCD\xFC");  // 备忘 without a memo
    Write(gbk / "202701", ListBytes({{2, "gbk"}}));
    NoteIndex fromGbk;
    ASSERT_EQ(LoadNoteIndex(dir / "gbk", &fromGbk), FolderRead::Ok);
    EXPECT_EQ(fromGbk.Search("gbk", kToday).size(), 1u);
    EXPECT_TRUE(fromGbk.Damaged().empty());
#endif
}

}  // namespace
