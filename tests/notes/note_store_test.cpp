// The note store on real files under Wine: list files, the memo file, folders, and writes that
// never leave a half-written file.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "notes/note_files.h"
#include "notes/note_list.h"
#include "platform/log.h"
#include "tests/support/temp_tree.h"

namespace {

// Paths in these tests are relative to the notes root, as the store's file names are. ReadAll
// reads any size (the store's reads stop at a cap).
std::string ReadAll(const char* path) {
    HANDLE h = CreateFileW(testtree::W(NotePath(path)).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "<none>";
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(h);
    return bytes;
}

bool Exists(const char* path) { return GetFileAttributesW(testtree::W(NotePath(path)).c_str()) != INVALID_FILE_ATTRIBUTES; }

void Put(const char* path, const std::string& bytes) {
    ASSERT_TRUE(WriteWholeFile(NotePath(path), bytes.data(), static_cast<int>(bytes.size()))) << path;
}

// Writes bytes at offset of a list file as another program would, in place (no new file); with
// keepTime the file keeps its time of last write, as a copy that keeps times does.
void WriteInPlace(const char* path, long offset, const std::string& bytes, bool keepTime) {
    HANDLE h = CreateFileW(testtree::W(NotePath(path)).c_str(), GENERIC_READ | GENERIC_WRITE | FILE_WRITE_ATTRIBUTES, 0, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
    FILETIME written{};
    GetFileTime(h, nullptr, nullptr, &written);
    SetFilePointer(h, offset, nullptr, FILE_BEGIN);
    DWORD n = 0;
    EXPECT_TRUE(WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr));
    if (keepTime) SetFileTime(h, nullptr, nullptr, &written);
    CloseHandle(h);
}

// Each test runs in a fresh notes root of its own, with "日历" and "备忘".
class NoteStore : public ::testing::Test {
protected:
    void SetUp() override {
        GetCurrentDirectoryA(sizeof before_, before_);
        root_ = testtree::FreshFolder("vestrel-notes", ::testing::UnitTest::GetInstance()->current_test_info()->name());
        ASSERT_TRUE(SetUpNoteRoot(root_.c_str()));
        ASSERT_TRUE(NoteStoreReady());
        ASSERT_EQ(NotePath("日历\\x"), root_ + "\\" + testtree::U("日历\\x"));
    }
    void TearDown() override {
        SetWriteStepHook(nullptr);
        SetCurrentDirectoryA(before_);
        testtree::RemoveTree(root_);
    }
    std::string root_;
    char before_[MAX_PATH] = {};
};

TEST_F(NoteStore, MonthListFileBytesAndDeletionOfAnEmptiedList) {
    NoteList month;
    EXPECT_TRUE(month.OpenDated(2017, 3));
    EXPECT_STREQ(month.FileName(), "日历\\201703");
    EXPECT_TRUE(month.SetEntry(5, "abc", 3, 0));
    EXPECT_EQ(ReadAll("日历\\201703"), std::string("\x64\x00\x05\x00\x03\x00\x00\x00\x00\x00\x61\x62\x63", 13));

    EXPECT_TRUE(month.SetEntry(9, "记事", 4, OwnColorFlag | 0xFF));
    EXPECT_TRUE(month.SetEntry(5, "", 0, 0));  // one note left: rewritten with just its record
    EXPECT_EQ(ReadAll("日历\\201703"), std::string("\x64\x00\x09\x00\x04\x00\xFF\x00\x00\x01", 10) + "记事");

    EXPECT_TRUE(month.SetEntry(9, "", 0, 0));  // the last note cleared: no file
    EXPECT_FALSE(Exists("日历\\201703"));
}

TEST_F(NoteStore, YearlyAndLunarFilesAndTheirSlots) {
    NoteList feb;
    feb.OpenSolarYearly(2);
    EXPECT_STREQ(feb.FileName(), "日历\\102");
    EXPECT_TRUE(feb.SetEntry(29, "leap day", 8, 0));
    NoteList lunar6;
    lunar6.OpenLunarYearly(6);
    EXPECT_STREQ(lunar6.FileName(), "日历\\006");
    EXPECT_TRUE(lunar6.SetEntry(15, "mid", 3, 0));

    NoteList again;
    EXPECT_TRUE(again.OpenSolarYearly(2));
    ASSERT_TRUE(again.Entry(29).Present());
    EXPECT_STREQ(again.Entry(29).text.get(), "leap day");
    EXPECT_TRUE(again.OpenLunarYearly(6));
    EXPECT_STREQ(again.Entry(15).text.get(), "mid");
    EXPECT_FALSE(again.Entry(29).Present());  // reopening discards the previous list

    NoteList week;
    EXPECT_TRUE(week.OpenWeekly());
    EXPECT_STREQ(week.FileName(), "日历\\week");
    EXPECT_EQ(week.LastIndex(), 7);
    EXPECT_TRUE(week.SetEntry(6, "saturday", 8, 0));
    EXPECT_FALSE(week.SetEntry(8, "x", 1, 0));  // no slot 8
    EXPECT_FALSE(week.SetEntry(-1, "x", 1, 0));
    EXPECT_EQ(ReadAll("日历\\week").size(), 2u + 8u + 8u);
}

TEST_F(NoteStore, BadIndexInAFileLoadsWhatCameBefore) {
    Put("日历\\201704", std::string("\x64\x00\x01\x00\x01\x00\x00\x00\x00\x00" "a"
                                    "\x20\x00\x01\x00\x00\x00\x00\x00" "b", 20));
    NoteList l;
    EXPECT_FALSE(l.OpenDated(2017, 4));
    EXPECT_TRUE(l.Entry(1).Present());
    for (const std::string& bytes : {std::string(), std::string("\x64", 1), std::string("\x64\x00", 2)}) {
        Put("日历\\201705", bytes);
        EXPECT_TRUE(l.OpenDated(2017, 5));
        for (int i = 0; i <= 31; ++i) EXPECT_FALSE(l.Entry(i).Present());
    }
}

TEST_F(NoteStore, OverlongTextIsRefusedAndTheFileKept) {
    NoteList l;
    l.OpenDated(2020, 1);
    ASSERT_TRUE(l.SetEntry(1, "keep", 4, 0));
    const std::string before = ReadAll("日历\\202001");
    const std::string big(70000, 'x');
    EXPECT_FALSE(l.SetEntry(1, big.c_str(), static_cast<int>(big.size()), 0));
    EXPECT_STREQ(l.Entry(1).text.get(), "keep");
    EXPECT_EQ(ReadAll("日历\\202001"), before);
}

TEST_F(NoteStore, RandomListsRoundTripThroughSaveAndLoad) {
    std::mt19937 rng(42);
    for (int round = 0; round < 40; ++round) {
        NoteList l;
        l.OpenDated(2031, 1 + round % 12);
        std::string want[32];
        for (int i = 1; i <= 31; ++i) {
            if (rng() % 4 != 0) continue;
            want[i] = std::string(1 + rng() % 30, 'a' + static_cast<char>(rng() % 26));
            ASSERT_TRUE(l.SetEntry(i, want[i].c_str(), static_cast<int>(want[i].size()), rng() & 0x1FFFFFF));
        }
        NoteList back;
        back.OpenDated(2031, 1 + round % 12);
        for (int i = 0; i <= 31; ++i) {
            ASSERT_EQ(back.Entry(i).Present(), !want[i].empty()) << i;
            if (!want[i].empty()) {
                ASSERT_EQ(std::string(back.Entry(i).text.get()), want[i]);
                ASSERT_EQ(back.Entry(i).colourWord, l.Entry(i).colourWord);
            }
        }
        for (int i = 0; i <= 31; ++i) l.SetEntry(i, "", 0, 0);
        ASSERT_FALSE(Exists(l.FileName()));
    }
}

TEST_F(NoteStore, MemoFile) {
    EXPECT_TRUE(SaveMemo("default", "abc", 3));
    EXPECT_EQ(ReadAll("备忘\\default"), "abc");
    std::string text;
    EXPECT_EQ(ReadMemo("default", &text), MemoRead::Ok);
    EXPECT_EQ(text, "abc");
    EXPECT_TRUE(SaveMemo("default", "line 1\r\n第二行", 14));
    EXPECT_EQ(ReadAll("备忘\\default"), "line 1\r\n第二行");
    EXPECT_TRUE(SaveMemo("default", "", 0));  // empty memo: no file
    EXPECT_FALSE(Exists("备忘\\default"));
    EXPECT_EQ(ReadMemo("default", &text), MemoRead::Missing);
    EXPECT_EQ(text, "");
}

TEST_F(NoteStore, FailuresAreReported) {
    // No folder to write into: the reason, in the result and in the log (switched on by the
    // environment), which names the file and the code but never the note's text.
    const std::string log = root_ + "\\vestrel.log";
    SetEnvironmentVariableA("VESTREL_LOG", "1");
    SetLogFileForTesting(log);
    EXPECT_EQ(WriteWholeFile(NotePath("missing\\file"), "secret note", 11).error,
              static_cast<unsigned long>(ERROR_PATH_NOT_FOUND));
    SetEnvironmentVariableA("VESTREL_LOG", nullptr);
    SetLogFileForTesting("");
    const std::string logged = ReadAll("vestrel.log");
    EXPECT_NE(logged.find("missing\\file (error 3"), std::string::npos) << logged;
    EXPECT_EQ(logged.find("secret"), std::string::npos);
    NoteList l;
    ASSERT_TRUE(MoveFileW(testtree::W(NotePath("日历")).c_str(), testtree::W(NotePath("away")).c_str()));
    l.OpenDated(2017, 1);
    EXPECT_FALSE(l.SetEntry(1, "x", 1, 0));
    ASSERT_TRUE(MoveFileW(testtree::W(NotePath("away")).c_str(), testtree::W(NotePath("日历")).c_str()));
    EXPECT_FALSE(SaveMemo("nested\\deeper\\name", "x", 1));
    // A target that is a folder cannot be replaced: the folder stays.
    CreateDirectoryW(testtree::W(NotePath("日历\\201702")).c_str(), nullptr);
    EXPECT_FALSE(WriteWholeFile(NotePath("日历\\201702"), "x", 1));
    EXPECT_TRUE(GetFileAttributesW(testtree::W(NotePath("日历\\201702")).c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(Exists("日历\\201702.new"));
    // Removing a file that is not there is no failure.
    EXPECT_TRUE(RemoveFile(NotePath("日历\\nothing")));
}

// A write interrupted after any of its steps leaves the old content.
TEST_F(NoteStore, InterruptedWritesLeaveTheOldFile) {
    Put("日历\\202512", "old content");
    for (int stopAt = 1; stopAt <= 4; ++stopAt) {
        static int s_stop;
        s_stop = stopAt;
        SetWriteStepHook([](int step) { return step < s_stop; });
        EXPECT_FALSE(WriteWholeFile(NotePath("日历\\202512"), "new", 3)) << stopAt;
        SetWriteStepHook(nullptr);
        EXPECT_EQ(ReadAll("日历\\202512"), "old content") << "stopped before step " << stopAt;
    }
    // A later write succeeds over the leftover temporary file.
    Put("日历\\202512", "new");
    EXPECT_EQ(ReadAll("日历\\202512"), "new");
    EXPECT_FALSE(Exists("日历\\202512.new"));
}

// A writer process killed at random moments leaves the old or the new content, never a mix.
TEST_F(NoteStore, KilledWriterLeavesOldOrNewContent) {
    const std::string a(3000, 'A');
    const std::string b(100, 'B');
    Put("日历\\203001", a);
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    std::mt19937 rng(7);
    int kills = 0;
    const std::string eventName = "vestrel-writer-" + std::to_string(GetCurrentProcessId());
    HANDLE writing = CreateEventA(nullptr, TRUE, FALSE, eventName.c_str());
    ASSERT_NE(writing, nullptr);
    for (int round = 0; round < 25; ++round) {
        ResetEvent(writing);
        std::string cmd = std::string("\"") + exe + "\" --writer \"" + root_ + "\" " + eventName;
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        ASSERT_TRUE(CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
        // Kill it at a random moment once it is rewriting the file.
        ASSERT_EQ(WaitForSingleObject(writing, 20000), WAIT_OBJECT_0);
        Sleep(rng() % 15);
        kills += TerminateProcess(pi.hProcess, 9) ? 1 : 0;
        WaitForSingleObject(pi.hProcess, 10000);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        const std::string now = ReadAll("日历\\203001");
        ASSERT_TRUE(now == a || now == b) << "round " << round << ": " << now.size() << " bytes";
    }
    CloseHandle(writing);
    EXPECT_EQ(kills, 25);
}

// ---------------------------------------------------------------------------------------------------
// Nothing the user wrote is lost: blocked folders, damaged files, failed saves, leftovers

// A root that cannot be set up (itself, or one of its folders, is a file) leaves the store writing
// nowhere: every save reports -1, nothing appears beside the root, the current directory stays.
TEST_F(NoteStore, BlockedFoldersWriteNowhere) {
    const char* blockers[] = {"", "\\日历", "\\备忘"};
    for (const char* blocker : blockers) {
        const std::string root = root_ + "\\blocked";
        testtree::RemoveTree(root);
        if (blocker[0] != '\0') CreateDirectoryW(testtree::W(root).c_str(), nullptr);
        const std::string file = root + testtree::U(blocker);
        HANDLE h = CreateFileW(testtree::W(file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE) << file;
        CloseHandle(h);
        char cwdBefore[MAX_PATH], cwdAfter[MAX_PATH];
        GetCurrentDirectoryA(sizeof cwdBefore, cwdBefore);

        EXPECT_FALSE(SetUpNoteRoot(root.c_str())) << "blocked by " << file;
        EXPECT_FALSE(NoteStoreReady());
        EXPECT_EQ(NotePath("日历\\201701"), "");
        NoteList l;
        EXPECT_TRUE(l.OpenDated(2017, 1));
        EXPECT_FALSE(l.SetEntry(1, "x", 1, 0));
        EXPECT_FALSE(l.Entry(1).Present());
        EXPECT_FALSE(SaveMemo("default", "x", 1));
        GetCurrentDirectoryA(sizeof cwdAfter, cwdAfter);
        EXPECT_STREQ(cwdAfter, cwdBefore);
        // Nothing was made beside the root or in the current directory.
        for (const std::string& stray :
             {root_ + testtree::U("\\日历\\201701"), root_ + testtree::U("\\备忘\\default"), root + "\\201701",
              std::string(cwdBefore) + testtree::U("\\日历"), std::string(cwdBefore) + testtree::U("\\备忘")})
            EXPECT_EQ(GetFileAttributesW(testtree::W(stray).c_str()), INVALID_FILE_ATTRIBUTES) << stray;
        testtree::RemoveTree(root);
        DeleteFileW(testtree::W(root).c_str());
    }
    ASSERT_TRUE(SetUpNoteRoot(root_.c_str()));  // the fixture's root works again
}

// A list that did not load whole is kept as "<name>.damaged" (then ".damaged.2" ...) before the
// first edit rewrites it; the readable notes stay usable.
TEST_F(NoteStore, DamagedListIsKeptBeforeTheFirstEdit) {
    const std::string good = std::string("\x64\x00\x01\x00\x01\x00\x00\x00\x00\x00", 10) + "a";
    struct Case {
        const char* what;
        std::string bytes;
        bool firstNoteLoads;
    } cases[] = {
        {"index 40 after day 1", good + std::string("\x28\x00\x01\x00\x00\x00\x00\x00", 8) + "b" +
                                     std::string("\x02\x00\x01\x00\x00\x00\x00\x00", 8) + "c", true},
        {"text cut short", good + std::string("\x02\x00\x09\x00\x00\x00\x00\x00", 8) + "cut", true},
        {"header cut short", good + std::string("\x02\x00\x01", 3), true},
        {"larger than the read cap", good + std::string(kMaxNoteFileBytes, 'z'), false},
    };
    int round = 0;
    for (const Case& c : cases) {
        ++round;
        Put("日历\\201806", c.bytes);
        NoteList l;
        EXPECT_FALSE(l.OpenDated(2018, 6)) << c.what;
        EXPECT_TRUE(l.Damaged()) << c.what;
        EXPECT_EQ(l.Entry(1).Present(), c.firstNoteLoads) << c.what;
        ASSERT_TRUE(l.SetEntry(3, "new", 3, 0)) << c.what;
        const std::string kept = round == 1 ? "日历\\201806.damaged" : "日历\\201806.damaged." + std::to_string(round);
        EXPECT_EQ(ReadAll(kept.c_str()).size(), c.bytes.size()) << c.what;
        EXPECT_TRUE(ReadAll(kept.c_str()) == c.bytes) << c.what;
        EXPECT_FALSE(l.Damaged());
        // Later edits rewrite the list as usual; the kept file stays.
        ASSERT_TRUE(l.SetEntry(4, "more", 4, 0));
        NoteList back;
        EXPECT_TRUE(back.OpenDated(2018, 6)) << c.what;
        EXPECT_EQ(back.Entry(1).Present(), c.firstNoteLoads);
        EXPECT_STREQ(back.Entry(3).text.get(), "new");
        EXPECT_STREQ(back.Entry(4).text.get(), "more");
        EXPECT_FALSE(Exists("日历\\201806.new"));
    }
    // Clearing the last note of a damaged list keeps the file too, rather than deleting it.
    Put("日历\\201807", std::string("\x64\x00\x31\x00", 4));
    NoteList l;
    EXPECT_FALSE(l.OpenDated(2018, 7));
    EXPECT_TRUE(l.SetEntry(2, "", 0, 0));
    EXPECT_FALSE(Exists("日历\\201807"));
    EXPECT_EQ(ReadAll("日历\\201807.damaged"), std::string("\x64\x00\x31\x00", 4));
}

// A list file that cannot be read (held open without sharing by another program) is not replaced
// while it cannot be kept aside: the edit fails, the entry is as before, the file is intact.
TEST_F(NoteStore, UnreadableListIsNeverOverwritten) {
    const std::string bytes = std::string("\x64\x00\x07\x00\x02\x00\x00\x00\x00\x00", 10) + "ok";
    Put("日历\\201808", bytes);
    HANDLE lock = CreateFileW(testtree::W(NotePath("日历\\201808")).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    NoteList l;
    EXPECT_FALSE(l.OpenDated(2018, 8));
    EXPECT_TRUE(l.Damaged());
    EXPECT_FALSE(l.SetEntry(9, "x", 1, 0));
    EXPECT_FALSE(l.Entry(9).Present());
    CloseHandle(lock);
    EXPECT_EQ(ReadAll("日历\\201808"), bytes);
    // Once it can be read, the next edit reads it again and keeps every note: it was never damaged.
    EXPECT_TRUE(l.SetEntry(9, "x", 1, 0));
    EXPECT_FALSE(l.Damaged());
    EXPECT_EQ(ReadAll("日历\\201808"), bytes + std::string("\x09\x00\x01\x00\x00\x00\x00\x00", 8) + "x");
    EXPECT_FALSE(Exists("日历\\201808.damaged"));
}

// A damaged file kept aside goes back under its name when the rewrite then fails: the list on
// disk stays as it was, and the next edit tries again.
TEST_F(NoteStore, DamagedFileReturnsWhenTheRewriteFails) {
    const std::string bytes = std::string("\x64\x00\x40\x00\x00\x00\x00\x00\x00\x00", 10);  // index 64
    Put("日历\\201809", bytes);
    Put("备忘\\default", std::string("a\0b", 3));
    NoteList l;
    EXPECT_FALSE(l.OpenDated(2018, 9));
    std::string text;
    ASSERT_EQ(ReadMemo("default", &text), MemoRead::Damaged);
    SetWriteStepHook([](int) { return false; });
    EXPECT_FALSE(l.SetEntry(1, "x", 1, 0));
    EXPECT_FALSE(SaveMemo("default", "m", 1));
    SetWriteStepHook(nullptr);
    EXPECT_EQ(ReadAll("日历\\201809"), bytes);
    EXPECT_FALSE(Exists("日历\\201809.damaged"));
    EXPECT_EQ(ReadAll("备忘\\default"), std::string("a\0b", 3));
    EXPECT_TRUE(l.Damaged());
    EXPECT_TRUE(l.SetEntry(1, "x", 1, 0));
    EXPECT_EQ(ReadAll("日历\\201809.damaged"), bytes);
    EXPECT_TRUE(SaveMemo("default", "m", 1));
    EXPECT_EQ(ReadAll("备忘\\default.damaged"), std::string("a\0b", 3));
}

// A memo that cannot be shown whole reads as Damaged; the first keystroke's save
// keeps it as "default.damaged". A memo over the cap is refused, so every memo saved reads back.
TEST_F(NoteStore, DamagedMemoIsKeptBeforeTheFirstKeystroke) {
    const std::string withNul = std::string("before\0after", 12);
    const std::string overCap(kMaxNoteFileBytes + 1, 'm');
    const std::string* memos[] = {&withNul, &overCap};
    int round = 0;
    for (const std::string* memo : memos) {
        ++round;
        Put("备忘\\default", *memo);
        std::string text = "x";
        TakeNotices();
        EXPECT_EQ(ReadMemo("default", &text), MemoRead::Damaged);
        EXPECT_EQ(text, round == 1 ? "before" : "");  // what comes before the NUL is shown, as told
        const std::vector<std::string> told = TakeNotices();
        ASSERT_EQ(told.size(), 1u);
        EXPECT_NE(told[0].find(round == 1 ? "只显示损坏处之前" : "太大，没有显示"), std::string::npos) << told[0];
        ASSERT_TRUE(SaveMemo("default", "k", 1));
        const std::string kept = round == 1 ? "备忘\\default.damaged" : "备忘\\default.damaged.2";
        EXPECT_TRUE(ReadAll(kept.c_str()) == *memo) << kept;
        EXPECT_EQ(ReadAll("备忘\\default"), "k");
        ASSERT_TRUE(SaveMemo("default", "ke", 2));  // later keystrokes just rewrite
        EXPECT_FALSE(Exists(round == 1 ? "备忘\\default.damaged.2" : "备忘\\default.damaged.3"));
    }
    const std::string largest(kMaxMemoBytes, 'q');
    ASSERT_TRUE(SaveMemo("default", largest.data(), kMaxMemoBytes));
    std::string back;
    EXPECT_EQ(ReadMemo("default", &back), MemoRead::Ok);
    EXPECT_EQ(back.size(), static_cast<size_t>(kMaxMemoBytes));
    EXPECT_FALSE(SaveMemo("default", largest.data(), kMaxMemoBytes + 1));
    EXPECT_EQ(ReadAll("备忘\\default").size(), static_cast<size_t>(kMaxMemoBytes));
}

// A save that fails leaves the entry as it was, so the screen never claims what the disk lacks.
TEST_F(NoteStore, FailedSaveRestoresTheEntry) {
    NoteList l;
    l.OpenDated(2019, 2);
    ASSERT_TRUE(l.SetEntry(1, "keep", 4, OwnColorFlag | 0x123456));
    ASSERT_TRUE(RemoveFile(NotePath("日历\\201902")));
    ASSERT_TRUE(CreateDirectoryW(testtree::W(NotePath("日历\\201902")).c_str(), nullptr));  // cannot be replaced now
    EXPECT_FALSE(l.SetEntry(1, "changed", 7, 0));
    EXPECT_STREQ(l.Entry(1).text.get(), "keep");
    EXPECT_EQ(l.Entry(1).colourWord, OwnColorFlag | 0x123456);
    EXPECT_FALSE(l.SetEntry(2, "new", 3, 0));
    EXPECT_FALSE(l.Entry(2).Present());
    EXPECT_FALSE(l.SetEntry(1, "", 0, 0));  // a failed delete keeps the note too
    EXPECT_TRUE(l.Entry(1).Present());
}

// Lists read lately are kept by their time of last write: a list another program rewrites (same
// size, other bytes) is read afresh, and one it removes is gone.
TEST_F(NoteStore, AListChangedByAnotherProgramIsReadAfresh) {
    NoteList l;
    l.OpenDated(2018, 11);
    ASSERT_TRUE(l.SetEntry(2, "aaa", 3, 0));
    NoteList reader;
    ASSERT_TRUE(reader.OpenDated(2018, 11));
    EXPECT_STREQ(reader.Entry(2).text.get(), "aaa");
    Sleep(20);
    WriteInPlace("日历\\201811", 10, "bbb", false);
    ASSERT_TRUE(reader.OpenDated(2018, 11));
    EXPECT_STREQ(reader.Entry(2).text.get(), "bbb");
    ASSERT_TRUE(DeleteFileW(testtree::W(NotePath("日历\\201811")).c_str()));
    ASSERT_TRUE(reader.OpenDated(2018, 11));
    EXPECT_FALSE(reader.Entry(2).Present());
}

// The read before a write never trusts the cache: a list another program rewrote with the same
// size and time of last write keeps that program's note when this one edits another day. A
// damaged list is told to the user once, naming the file and where its original will be kept.
TEST_F(NoteStore, EditsStartFromTheDiskAndDamageIsToldOnce) {
    NoteList l;
    l.OpenDated(2018, 12);
    ASSERT_TRUE(l.SetEntry(2, "aaa", 3, 0));
    NoteList reader;
    ASSERT_TRUE(reader.OpenDated(2018, 12));  // now in the cache
    WriteInPlace("日历\\201812", 10, "bbb", true);
    ASSERT_TRUE(reader.SetEntry(5, "c", 1, 0));
    const std::string record2 = std::string("\x02\x00\x03\x00\x00\x00\x00\x00", 8) + "bbb";
    const std::string record5 = std::string("\x05\x00\x01\x00\x00\x00\x00\x00", 8) + "c";
    EXPECT_EQ(ReadAll("日历\\201812"), std::string("\x64\x00", 2) + record2 + record5);

    TakeNotices();
    Put("日历\\201901", std::string("\x64\x00\x40\x00", 4));
    NoteList damaged;
    EXPECT_FALSE(damaged.OpenDated(2019, 1));
    EXPECT_FALSE(damaged.OpenDated(2019, 1));
    const std::vector<std::string> told = TakeNotices();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find("损坏"), std::string::npos);
    EXPECT_NE(told[0].find("日历\\201901.damaged"), std::string::npos);
}

// A ".new" left by a crash goes when its list is saved or removed.
TEST_F(NoteStore, StaleTemporaryFilesAreRemoved) {
    Put("日历\\201810.new", "stale");
    NoteList l;
    l.OpenDated(2018, 10);
    ASSERT_TRUE(l.SetEntry(1, "a", 1, 0));
    EXPECT_FALSE(Exists("日历\\201810.new"));
    Put("日历\\201810.new", "stale again");
    ASSERT_TRUE(l.SetEntry(1, "", 0, 0));
    EXPECT_FALSE(Exists("日历\\201810"));
    EXPECT_FALSE(Exists("日历\\201810.new"));
}

// The folders an earlier build made on a Windows whose code page is 1252 ("ÎÒµÄ¼ÇÊÂ" with "ÈÕÀú" and
// "±¸Íü"): their files move into the real folders, one already there kept as ".conflict"; nothing is
// lost, the user is told once, and a second start finds nothing to do.
TEST_F(NoteStore, AFolderOfAnEarlierBuildUnderAnotherCodePageIsMerged) {
    const std::wstring documents = testtree::W(root_) + L"\\documents";
    const auto in1252 = [](const char* gbk) {
        wchar_t name[64] = {};
        MultiByteToWideChar(1252, 0, gbk, -1, name, 64);
        return std::wstring(name);
    };
    const auto put = [](const std::wstring& path, const std::string& bytes) {
        HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        DWORD n = 0;
        WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
        CloseHandle(h);
    };
    const std::wstring old = documents + L"\\" + in1252("我的记事"), real = documents + L"\\" + WideFromGbk("我的记事");
    for (const std::wstring& d : {documents, old, old + L"\\" + in1252("日历"), old + L"\\" + in1252("备忘"), real,
                                  real + L"\\" + WideFromGbk("日历")})
        CreateDirectoryW(d.c_str(), nullptr);
    put(old + L"\\" + in1252("日历") + L"\\201701", "old list");
    put(old + L"\\" + in1252("备忘") + L"\\default", "old memo");
    put(real + L"\\" + WideFromGbk("日历") + L"\\201701", "new list");
    TakeNotices();

    EXPECT_FALSE(MergeGarbledNotesFolder(documents, 936));  // a Chinese system: its names were right
    ASSERT_TRUE(MergeGarbledNotesFolder(documents, 1252));
    ASSERT_TRUE(SetUpNoteRoot(Utf8FromWide(real).c_str()));
    EXPECT_EQ(ReadAll("日历\\201701"), "new list");
    EXPECT_EQ(ReadAll("日历\\201701.conflict"), "old list");
    EXPECT_EQ(ReadAll("备忘\\default"), "old memo");
    EXPECT_EQ(GetFileAttributesW(old.c_str()), INVALID_FILE_ATTRIBUTES);
    const std::vector<std::string> told = TakeNotices();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find("2个文件已移到“我的记事”"), std::string::npos) << told[0];
    EXPECT_FALSE(MergeGarbledNotesFolder(documents, 1252));
    EXPECT_TRUE(TakeNotices().empty());
}

TEST(NoteFolders, SetUpCreatesTheTreeUnderDocumentsAndLeavesTheCurrentDirectory) {
    char before[MAX_PATH];
    GetCurrentDirectoryA(sizeof before, before);
    wchar_t documents[MAX_PATH];
    ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents), S_OK);
    EXPECT_TRUE(SetUpNoteFolders());
    char now[MAX_PATH];
    GetCurrentDirectoryA(sizeof now, now);
    EXPECT_STREQ(now, before);
    const std::string root = Utf8FromWide(documents) + "\\" + testtree::U("我的记事");
    EXPECT_EQ(NotePath("日历"), root + "\\" + testtree::U("日历"));
    EXPECT_TRUE(GetFileAttributesW(testtree::W(root + "\\" + testtree::U("日历")).c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(GetFileAttributesW(testtree::W(root + "\\" + testtree::U("备忘")).c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(SetUpNoteFolders());  // again: nothing to create
}

}  // namespace

// With "--writer ROOT EVENT" the executable rewrites 日历\203001 under ROOT with two contents in
// turn, setting the named EVENT after its first write, until it is killed (the test above).
int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--writer") {
        SetUpNoteRoot(argv[2]);
        HANDLE writing = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[3]);
        const std::string a(3000, 'A');
        const std::string b(100, 'B');
        for (unsigned i = 0;; ++i) {
            const std::string& s = (i % 2) ? a : b;
            WriteWholeFile(NotePath("日历\\203001"), s.data(), static_cast<int>(s.size()));
            if (i == 0 && writing) SetEvent(writing);
        }
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
