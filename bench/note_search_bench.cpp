// Note search timings (make bench): a notes folder of 200 list files with every slot that a day has
// filled (a list holds at most 31 notes: about 6,000 notes of one to three lines, 16,000 lines) and
// a memo of 2,000 lines, written to a temporary folder; the time to read it into the index, then the
// time of one search (one keystroke) for queries from one letter to a word that no note holds.
// Prints ms per search, the mean and the slowest of the runs. Then the same for a folder with every
// month of 1900 ... 2100 full (about 74,000 notes), to show how the time grows.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "calendar/gregorian.h"
#include "notes/note_codec.h"
#include "notes/note_search.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Words of the notes, GBK (narrow literals compile to GBK); "牙医预约" is kept rare.
const char* const kWords[] = {"会议", "买菜", "生日", "电话", "水管工", "开会", "还书", "体检", "交房租", "接孩子",
                              "看电影", "出差", "报销", "同学聚会", "缴费", "Zhang", "Li Wei", "dentist",
                              "Tel 138", "plumber", "，", "。", "下午3点", "带上"};

struct Counts {
    int files = 0, notes = 0, lines = 0;
};

// One note: one to three lines of six to fourteen words, CR LF between lines.
std::string NoteText(std::mt19937* random, bool rare) {
    std::string text;
    const int lines = 1 + static_cast<int>((*random)() % 3);
    for (int line = 0; line < lines; ++line) {
        if (line > 0) text += "\r\n";
        const int words = 6 + static_cast<int>((*random)() % 9);
        for (int w = 0; w < words; ++w) text += kWords[(*random)() % (sizeof kWords / sizeof kWords[0])];
        if (rare && line == 0) text += "牙医预约";
    }
    return text;
}

void WriteList(const fs::path& path, const std::vector<std::string>& slots, Counts* counts) {
    NoteEntry entries[32];
    for (size_t slot = 0; slot < slots.size(); ++slot) {
        if (slots[slot].empty()) continue;
        entries[slot].Assign(slots[slot].data(), static_cast<int>(slots[slot].size()), 0);
        ++counts->notes;
        counts->lines += 1 + static_cast<int>(std::count(slots[slot].begin(), slots[slot].end(), '\n'));
    }
    const std::vector<char> bytes = EncodeNoteList(entries, static_cast<int>(slots.size()) - 1);
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ++counts->files;
}

// months of dated notes from January firstYear on, 12 Gregorian-yearly, 12 lunar-yearly and the
// weekly list. Every 300th note holds the rare word.
Counts MakeFolder(const fs::path& lists, const fs::path& memos, int firstYear, int months) {
    std::mt19937 random(2027);
    Counts counts;
    int made = 0;
    const auto fill = [&](int lastSlot, int firstDay, int lastDay) {
        std::vector<std::string> slots(static_cast<size_t>(lastSlot + 1));
        for (int day = firstDay; day <= lastDay; ++day) slots[static_cast<size_t>(day)] = NoteText(&random, ++made % 300 == 0);
        return slots;
    };
    char name[16];
    for (int i = 0; i < months; ++i) {
        const int year = firstYear + i / 12, month = 1 + i % 12;
        std::snprintf(name, sizeof name, "%d%02d", year, month);
        WriteList(lists / name, fill(31, 1, DaysInMonth(year, month)), &counts);
    }
    for (int month = 1; month <= 12; ++month) {
        std::snprintf(name, sizeof name, "1%02d", month);
        WriteList(lists / name, fill(31, 1, DaysInMonth(2000, month)), &counts);
        std::snprintf(name, sizeof name, "0%02d", month);
        WriteList(lists / name, fill(31, 1, 30), &counts);
    }
    WriteList(lists / "week", fill(7, 0, 6), &counts);

    std::string memo;
    for (int line = 0; line < 2000; ++line) memo += NoteText(&random, line % 500 == 0) + "\r\n";
    std::ofstream(memos / "default", std::ios::binary) << memo;
    counts.lines += static_cast<int>(std::count(memo.begin(), memo.end(), '\n'));
    return counts;
}

// Writes the folder, reads it, times the searches; the slowest search in ms, or -1.
double Run(int firstYear, int months) {
    const fs::path dir = fs::temp_directory_path() / ("note_search_bench_" + std::to_string(std::random_device()()));
    const fs::path root = dir / fs::u8path(u8"我的记事");
    fs::create_directories(root / fs::u8path(u8"日历"));
    fs::create_directories(root / fs::u8path(u8"备忘"));
    const Counts counts = MakeFolder(root / fs::u8path(u8"日历"), root / fs::u8path(u8"备忘"), firstYear, months);

    constexpr int kLoads = 3;
    double loadMs = 1e9;
    NoteIndex index;
    for (int i = 0; i < kLoads; ++i) {
        NoteIndex fresh;
        const Clock::time_point start = Clock::now();
        if (LoadNoteIndex(dir, &fresh) != FolderRead::Ok) {
            std::fprintf(stderr, "note_search_bench: the folder made in %s cannot be read\n", dir.string().c_str());
            return -1;
        }
        loadMs = std::min(loadMs, MsSince(start));
        index = std::move(fresh);
    }
    std::printf("note search: %d list files + memo, %d notes, %d lines, %.2f MB of text; folder read into the index in %.1f ms (fastest of %d)\n",
                counts.files, counts.notes, counts.lines, static_cast<double>(index.TextBytes()) / 1e6, loadMs, kLoads);

    // Label (UTF-8, for the terminal) and query (GBK).
    const struct {
        const char* label;
        const char* query;
    } queries[] = {
        {u8"a", "a"},           {u8"牙", "牙"},           {u8"牙医", "牙医"},         {u8"牙医预约", "牙医预约"},
        {u8"ZHANG", "ZHANG"},   {u8"会议", "会议"},       {u8"，", "，"},             {u8"没有的字", "没有的字"},
        {u8"3", "3"},           {u8"plumber tel", "plumber tel"},
    };
    constexpr int kRuns = 20;
    const SolarDate today{2027, 1, 18};
    double slowest = 0;
    for (const auto& q : queries) {
        double total = 0, worst = 0;
        size_t rows = 0;
        for (int run = 0; run < kRuns; ++run) {
            const Clock::time_point start = Clock::now();
            rows = index.Search(q.query, today).size();
            const double ms = MsSince(start);
            total += ms;
            worst = std::max(worst, ms);
        }
        slowest = std::max(slowest, worst);
        std::printf("  %-12s %6zu rows  %7.2f ms per search (slowest of %d: %.2f ms)\n", q.label, rows, total / kRuns,
                    kRuns, worst);
    }
    std::error_code error;
    fs::remove_all(dir, error);
    return slowest;
}

}  // namespace

int main() {
    const double folder = Run(2012, 175);  // 2012-01 ... 2026-07: 200 files with the yearly and weekly lists
    if (folder < 0) return 1;
    std::printf("note search: slowest search %.2f ms with 200 files (target: under 50 ms per keystroke)\n\n", folder);
    const double whole = Run(1900, 201 * 12);
    if (whole < 0) return 1;
    std::printf("note search: slowest search %.2f ms with every month of 1900 ... 2100\n", whole);
    return 0;
}
