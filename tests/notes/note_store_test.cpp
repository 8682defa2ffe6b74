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

namespace {

std::string ReadAll(const char* path) {
    int size = 0;
    auto data = ReadWholeFile(path, &size);
    return data ? std::string(data.get(), static_cast<size_t>(size)) : std::string("<none>");
}

bool Exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

void Put(const char* path, const std::string& bytes) {
    ASSERT_EQ(WriteWholeFile(path, bytes.data(), static_cast<int>(bytes.size())), 0) << path;
}

void RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = dir + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(h, &found));
        FindClose(h);
    }
    RemoveDirectoryA(dir.c_str());
}

// Each test runs in a fresh notes root of its own, with "日历" and "备忘".
class NoteStore : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        GetCurrentDirectoryA(sizeof before_, before_);
        root_ = std::string(temp) + "vestrel-notes-" + std::to_string(GetCurrentProcessId()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name();
        RemoveTree(root_);
        ASSERT_EQ(EnterFolder(root_.c_str()), 0);
        ASSERT_EQ(EnterFolder("日历"), 0);
        ASSERT_EQ(EnterFolder(".."), 0);
        ASSERT_EQ(EnterFolder("备忘"), 0);
        ASSERT_EQ(EnterFolder(".."), 0);
    }
    void TearDown() override {
        SetWriteStepHook(nullptr);
        SetCurrentDirectoryA(before_);
        RemoveTree(root_);
    }
    std::string root_;
    char before_[MAX_PATH] = {};
};

TEST_F(NoteStore, MonthListFileBytesAndDeletionOfAnEmptiedList) {
    NoteList month;
    EXPECT_EQ(month.OpenMonth(2017, 3), 0);
    EXPECT_STREQ(month.FileName(), "日历\\201703");
    EXPECT_EQ(month.SetEntry(5, "abc", 3, 0), 0);
    EXPECT_EQ(ReadAll("日历\\201703"), std::string("\x64\x00\x05\x00\x03\x00\x00\x00\x00\x00\x61\x62\x63", 13));

    EXPECT_EQ(month.SetEntry(9, "记事", 4, OwnColorFlag | 0xFF), 0);
    EXPECT_EQ(month.SetEntry(5, "", 0, 0), 0);  // one note left: rewritten with just its record
    EXPECT_EQ(ReadAll("日历\\201703"), std::string("\x64\x00\x09\x00\x04\x00\xFF\x00\x00\x01", 10) + "记事");

    EXPECT_EQ(month.SetEntry(9, "", 0, 0), 0);  // the last note cleared: no file
    EXPECT_FALSE(Exists("日历\\201703"));
}

TEST_F(NoteStore, YearlyAndLunarFilesAndTheirSlots) {
    NoteList feb;
    feb.OpenMonth(1, 2);
    EXPECT_STREQ(feb.FileName(), "日历\\102");
    EXPECT_EQ(feb.SetEntry(29, "leap day", 8, 0), 0);
    NoteList lunar6;
    lunar6.OpenMonth(0, 6);
    EXPECT_STREQ(lunar6.FileName(), "日历\\006");
    EXPECT_EQ(lunar6.SetEntry(15, "mid", 3, 0), 0);

    NoteList again;
    EXPECT_EQ(again.OpenMonth(1, 2), 0);
    ASSERT_TRUE(again.Entry(29).Present());
    EXPECT_STREQ(again.Entry(29).text.get(), "leap day");
    EXPECT_EQ(again.OpenMonth(0, 6), 0);
    EXPECT_STREQ(again.Entry(15).text.get(), "mid");
    EXPECT_FALSE(again.Entry(29).Present());  // reopening discards the previous list

    NoteList week;
    EXPECT_EQ(week.OpenWeek(), 0);
    EXPECT_STREQ(week.FileName(), "日历\\week");
    EXPECT_EQ(week.LastIndex(), 7);
    EXPECT_EQ(week.SetEntry(6, "saturday", 8, 0), 0);
    EXPECT_EQ(week.SetEntry(8, "x", 1, 0), -1);  // no slot 8
    EXPECT_EQ(week.SetEntry(-1, "x", 1, 0), -1);
    EXPECT_EQ(ReadAll("日历\\week").size(), 2u + 8u + 8u);
}

TEST_F(NoteStore, BadIndexInAFileLoadsWhatCameBefore) {
    Put("日历\\201704", std::string("\x64\x00\x01\x00\x01\x00\x00\x00\x00\x00" "a"
                                    "\x20\x00\x01\x00\x00\x00\x00\x00" "b", 20));
    NoteList l;
    EXPECT_EQ(l.OpenMonth(2017, 4), -1);
    EXPECT_TRUE(l.Entry(1).Present());
    for (const std::string& bytes : {std::string(), std::string("\x64", 1), std::string("\x64\x00", 2)}) {
        Put("日历\\201705", bytes);
        EXPECT_EQ(l.OpenMonth(2017, 5), 0);
        for (int i = 0; i <= 31; ++i) EXPECT_FALSE(l.Entry(i).Present());
    }
}

TEST_F(NoteStore, OverlongTextIsRefusedAndTheFileKept) {
    NoteList l;
    l.OpenMonth(2020, 1);
    ASSERT_EQ(l.SetEntry(1, "keep", 4, 0), 0);
    const std::string before = ReadAll("日历\\202001");
    const std::string big(70000, 'x');
    EXPECT_EQ(l.SetEntry(1, big.c_str(), static_cast<int>(big.size()), 0), -1);
    EXPECT_STREQ(l.Entry(1).text.get(), "keep");
    EXPECT_EQ(ReadAll("日历\\202001"), before);
}

TEST_F(NoteStore, RandomListsRoundTripThroughSaveAndLoad) {
    std::mt19937 rng(42);
    for (int round = 0; round < 40; ++round) {
        NoteList l;
        l.OpenMonth(2031, 1 + round % 12);
        std::string want[32];
        for (int i = 1; i <= 31; ++i) {
            if (rng() % 4 != 0) continue;
            want[i] = std::string(1 + rng() % 30, 'a' + static_cast<char>(rng() % 26));
            ASSERT_EQ(l.SetEntry(i, want[i].c_str(), static_cast<int>(want[i].size()), rng() & 0x1FFFFFF), 0);
        }
        NoteList back;
        back.OpenMonth(2031, 1 + round % 12);
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
    EXPECT_EQ(SaveMemo("default", "abc", 3), 0);
    EXPECT_EQ(ReadAll("备忘\\default"), "abc");
    int size = -1;
    auto text = LoadMemo("default", &size);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(size, 3);
    EXPECT_STREQ(text.get(), "abc");
    EXPECT_EQ(SaveMemo("default", "line 1\r\n第二行", 14), 0);
    EXPECT_EQ(ReadAll("备忘\\default"), "line 1\r\n第二行");
    EXPECT_EQ(SaveMemo("default", "", 0), 0);  // empty memo: no file
    EXPECT_FALSE(Exists("备忘\\default"));
    EXPECT_EQ(LoadMemo("default", &size), nullptr);
    EXPECT_EQ(size, 0);
}

TEST_F(NoteStore, FailuresAreReported) {
    // No folder to write into: -1, and nothing appears.
    EXPECT_EQ(WriteWholeFile("missing\\file", "x", 1), -1);
    NoteList l;
    l.Open(31, "missing\\201701");
    EXPECT_EQ(l.SetEntry(1, "x", 1, 0), -1);
    EXPECT_EQ(SaveMemo("nested\\deeper\\name", "x", 1), -1);
    // A target that is a folder cannot be replaced: the folder stays.
    CreateDirectoryA("日历\\201702", nullptr);
    EXPECT_EQ(WriteWholeFile("日历\\201702", "x", 1), -1);
    EXPECT_TRUE(GetFileAttributesA("日历\\201702") & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(Exists("日历\\201702.new"));
    // Removing a file that is not there is no failure.
    EXPECT_EQ(RemoveFile("日历\\nothing"), 0);
}

// A write interrupted after any of its steps leaves the old content.
TEST_F(NoteStore, InterruptedWritesLeaveTheOldFile) {
    Put("日历\\202512", "old content");
    for (int stopAt = 1; stopAt <= 4; ++stopAt) {
        static int s_stop;
        s_stop = stopAt;
        SetWriteStepHook([](int step) { return step < s_stop; });
        EXPECT_EQ(WriteWholeFile("日历\\202512", "new", 3), -1) << stopAt;
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

TEST(NoteFolders, SetUpCreatesTheTreeUnderDocuments) {
    char before[MAX_PATH];
    GetCurrentDirectoryA(sizeof before, before);
    char documents[MAX_PATH];
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, documents, CSIDL_PERSONAL, FALSE));
    EXPECT_EQ(SetUpNoteFolders(), 0);
    char now[MAX_PATH];
    GetCurrentDirectoryA(sizeof now, now);
    EXPECT_EQ(std::string(now), std::string(documents) + "\\我的记事");
    EXPECT_TRUE(GetFileAttributesA("日历") & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_NE(GetFileAttributesA("备忘"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(SetUpNoteFolders(), 0);  // again: nothing to create
    SetCurrentDirectoryA(before);
}

}  // namespace

// With "--writer ROOT EVENT" the executable rewrites 日历\203001 under ROOT with two contents in
// turn, setting the named EVENT after its first write, until it is killed (the test above).
int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--writer") {
        SetCurrentDirectoryA(argv[2]);
        HANDLE writing = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[3]);
        const std::string a(3000, 'A');
        const std::string b(100, 'B');
        for (unsigned i = 0;; ++i) {
            const std::string& s = (i % 2) ? a : b;
            WriteWholeFile("日历\\203001", s.data(), static_cast<int>(s.size()));
            if (i == 0 && writing) SetEvent(writing);
        }
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
