// The find window's worker: the folder read once and again when told, the last text asked the
// one searched, texts asked during a search skipped, and the line under the rows.
#include "notes/note_finder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

namespace {

constexpr SolarDate kToday{2027, 1, 18};

// Waits for the ready calls and takes the results.
struct Results {
    std::mutex lock;
    std::condition_variable ready;
    int calls = 0;

    void Ready() {
        std::lock_guard<std::mutex> hold(lock);
        ++calls;
        ready.notify_all();
    }
    int Calls() {
        std::lock_guard<std::mutex> hold(lock);
        return calls;
    }
    // Blocks until count calls were made (at most 5 s).
    bool WaitFor(int count) {
        std::unique_lock<std::mutex> hold(lock);
        return ready.wait_for(hold, std::chrono::seconds(5), [&] { return calls >= count; });
    }
};

std::vector<std::string> Lines(const NoteFinder::Result& r) {
    std::vector<std::string> lines;
    for (const FoundRow& row : r.rows) lines.push_back(row.when + " " + row.line);
    return lines;
}

TEST(NoteFinder, ReadsOnceSearchesTheLastTextAndReadsAgainWhenTold) {
    std::atomic<int> loads{0};
    std::mutex gate;       // held: the loader waits
    std::string memo = "dentist at 3\nplumber 555";
    gate.lock();
    Results seen;
    NoteFinder finder(
        [&](NoteIndex* index) {
            std::lock_guard<std::mutex> pass(gate);
            ++loads;
            index->AddMemo(memo.data(), memo.size());
            index->AddDamaged("日历\\202704");
            return FolderRead::Ok;
        },
        [&] { seen.Ready(); });
    NoteFinder::Result r;
    EXPECT_FALSE(finder.Take(&r));
    finder.Find("d", kToday);  // read while the gate is shut: the next three texts wait
    finder.Find("de", kToday);
    finder.Find("pl", kToday);
    finder.Find("PLUMBER", kToday);
    gate.unlock();
    ASSERT_TRUE(seen.WaitFor(1));
    // The first search may have taken "d" or any later text; once all are done, the last text's
    // result is the one kept, and no text was searched twice.
    for (int i = 0; i < 50 && !(finder.Take(&r) && r.asked == 4); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(r.asked, 4u);
    EXPECT_EQ(r.query, "PLUMBER");
    EXPECT_EQ(Lines(r), std::vector<std::string>{"记事小本 plumber 555"});
    EXPECT_EQ(r.damaged.size(), 1u);
    EXPECT_EQ(r.notes, 1u);
    EXPECT_LE(seen.Calls(), 2);
    EXPECT_EQ(loads, 1);
    EXPECT_FALSE(finder.Take(&r));

    // Told the folder changed: read again, the same text searched in what is there now.
    gate.lock();
    memo = "plumber moved\nplumber 666";
    gate.unlock();
    const int before = seen.Calls();
    finder.Reload();
    ASSERT_TRUE(seen.WaitFor(before + 1));
    ASSERT_TRUE(finder.Take(&r));
    EXPECT_EQ(loads, 2);
    EXPECT_EQ(r.asked, 4u);
    EXPECT_EQ(Lines(r), (std::vector<std::string>{"记事小本 plumber moved", "记事小本 plumber 666"}));
    finder.Find("", kToday);  // nothing for an empty text, from the index already read
    ASSERT_TRUE(seen.WaitFor(before + 2));
    ASSERT_TRUE(finder.Take(&r));
    EXPECT_TRUE(r.rows.empty());
    EXPECT_EQ(loads, 2);
}

TEST(NoteFinder, StatusLineNamesWhatWentWrong) {
    NoteFinder::Result r;
    r.rows.resize(3);
    EXPECT_EQ(FindStatusLine(r, 3), "");
    EXPECT_EQ(FindStatusLine(r, 2), "只列出前2条，共3条");
    r.damaged.push_back(DamagedFile{"日历\\202704", {}});
    EXPECT_EQ(FindStatusLine(r, 3), "无法读取或已损坏：日历\\202704");
    r.damaged.push_back(DamagedFile{"备忘\\default", {}});
    r.read = FolderRead::Unreadable;
    EXPECT_EQ(FindStatusLine(r, 2), "“日历”文件夹无法读取；无法读取或已损坏：日历\\202704 等2个文件；只列出前2条，共3条");
    NoteFinder::Result missing;
    missing.read = FolderRead::Missing;
    EXPECT_EQ(FindStatusLine(missing, 10), "找不到记事文件夹");
}

}  // namespace
