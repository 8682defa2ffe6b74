// The Windows environment the program relies on: the GBK code page, GBK literals, and GBK file names.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace {

TEST(Platform, AnsiCodePageIsGbk) { EXPECT_EQ(GetACP(), 936u); }

TEST(Platform, ChineseLiteralsAreGbkBytes) {
    const char text[] = "日历";
    ASSERT_EQ(strlen(text), 4u);
    const unsigned char want[] = {0xC8, 0xD5, 0xC0, 0xFA};
    EXPECT_EQ(memcmp(text, want, 4), 0);
}

TEST(Platform, GbkFileNameRoundTrips) {
    char temp[MAX_PATH];
    ASSERT_GT(GetTempPathA(sizeof temp, temp), 0u);
    const std::string dir = std::string(temp) + "vestrel-platform-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
    const std::string sub = dir + "\\日历";
    ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
    const std::string file = sub + "\\201703";

    FILE* f = fopen(file.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    fputs("记事", f);
    fclose(f);

    char back[16] = {};
    f = fopen(file.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    const size_t n = fread(back, 1, sizeof back - 1, f);
    fclose(f);
    EXPECT_EQ(n, 4u);
    EXPECT_STREQ(back, "记事");

    // The folder lists under its GBK name.
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &found);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    bool seen = false;
    do {
        seen = seen || strcmp(found.cFileName, "日历") == 0;
    } while (FindNextFileA(h, &found));
    FindClose(h);
    EXPECT_TRUE(seen);

    EXPECT_TRUE(DeleteFileA(file.c_str()));
    EXPECT_TRUE(RemoveDirectoryA(sub.c_str()));
    EXPECT_TRUE(RemoveDirectoryA(dir.c_str()));
}

}  // namespace
