// The find window's worker: the folder read once and again when told, the last text asked the
// one searched (texts asked during a search skipped), and the line under the rows.
#include "notes/note_finder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

namespace {

TEST(NoteFinder, ReadsOnceSearchesTheLastTextAndReadsAgainWhenTold) {
    std::mutex lock, gate;  // gate held: the loader waits
    std::condition_variable ready;
    int loads = 0, calls = 0;  // under lock
    std::string memo = "dentist at 3\nplumber 555";
    const auto waitFor = [&](int count) {
        std::unique_lock<std::mutex> hold(lock);
        return ready.wait_for(hold, std::chrono::seconds(5), [&] { return calls >= count; });
    };
    gate.lock();
    NoteFinder finder(
        [&](NoteIndex* index) {
            std::lock_guard<std::mutex> pass(gate);
            std::lock_guard<std::mutex> hold(lock);
            ++loads;
            index->AddMemo(memo.data(), memo.size());
            index->AddDamaged("日历\\202704");
            return FolderRead::Ok;
        },
        [&] {
            std::lock_guard<std::mutex> hold(lock);
            ++calls;
            ready.notify_all();
        });
    NoteFinder::Result r;
    EXPECT_FALSE(finder.Take(&r));
    for (const char* text : {"d", "de", "pl", "PLUMBER"}) finder.Find(text, SolarDate{2027, 1, 18});
    gate.unlock();  // "d" (or a later text) is searched, then the last: never one in between
    ASSERT_TRUE(waitFor(1));
    for (int i = 0; i < 250 && !(finder.Take(&r) && r.asked == 4); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_EQ(r.asked, 4u);
    EXPECT_EQ(r.query + "|" + r.rows.at(0).line + "|" + r.damaged.at(0).name, "PLUMBER|plumber 555|日历\\202704");
    EXPECT_EQ(r.rows.size(), 1u);
    EXPECT_FALSE(finder.Take(&r));
    std::unique_lock<std::mutex> hold(lock);
    EXPECT_EQ(loads, 1);
    EXPECT_LE(calls, 2);
    const int before = calls;
    hold.unlock();

    // Told the folder changed: read again, the same text searched in what is there now.
    {
        std::lock_guard<std::mutex> pass(gate);
        memo = "plumber moved\nplumber 666";
    }
    finder.Reload();
    ASSERT_TRUE(waitFor(before + 1));
    ASSERT_TRUE(finder.Take(&r));
    EXPECT_EQ(r.asked, 4u);
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(r.rows[1].line, "plumber 666");
    finder.Find("", SolarDate{2027, 1, 18});  // nothing for an empty text, from the index read
    ASSERT_TRUE(waitFor(before + 2));
    ASSERT_TRUE(finder.Take(&r));
    EXPECT_TRUE(r.rows.empty());
    hold.lock();
    EXPECT_EQ(loads, 2);
}

TEST(NoteFinder, StatusLineNamesWhatWentWrong) {
    NoteFinder::Result r;
    r.rows.resize(3);
    EXPECT_EQ(FindStatusLine(r, 3), "");
    r.damaged = {DamagedFile{"日历\\202704", {}}, DamagedFile{"备忘\\default", {}}};
    r.read = FolderRead::Unreadable;
    EXPECT_EQ(FindStatusLine(r, 2), "“日历”文件夹无法读取；无法读取或已损坏：日历\\202704 等2个文件；只列出前2条，共3条");
    r = NoteFinder::Result();
    r.read = FolderRead::Missing;
    r.damaged = {DamagedFile{"日历\\202704", {}}};
    EXPECT_EQ(FindStatusLine(r, 10), "找不到记事文件夹；无法读取或已损坏：日历\\202704");
}

}  // namespace
