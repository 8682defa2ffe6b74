// Registry settings and the start with Windows, on the test prefix's real registry.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/settings.h"

namespace {

std::string Read(const char* key, const char* value, int size = 256) {
    std::string buffer(static_cast<size_t>(size), '\x7F');
    if (ReadRegString(key, value, &buffer[0], size) != 0) return "<fail>";
    return std::string(buffer.c_str());
}

std::string ThisExe() {
    char path[MAX_PATH * 2];
    EXPECT_TRUE(ModulePath(path, sizeof path));
    return path;
}

class Settings : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
        HKEY run;
        // The start-up key exists on Windows; make sure the test prefix has it too.
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &run, nullptr),
                  ERROR_SUCCESS);
        RegDeleteValueA(run, kRunValue);
        RegCloseKey(run);
    }
    void TearDown() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
        SetAutoStart(0, kRunValue);
    }
};

TEST_F(Settings, WriteCreatesTheKeyAndReadsBack) {
    EXPECT_EQ(Read(kSettingsKey, kValuePosX), "<fail>");  // no key yet
    EXPECT_EQ(WriteRegString(kSettingsKey, kValueMemoShow, "1"), 0);
    EXPECT_EQ(Read(kSettingsKey, kValueMemoShow), "1");
    struct { const char* text; int number; } rows[] = {{"-12", -12}, {"500", 500}, {"abc", 0}, {"", 0}, {"12px", 12}};
    for (const auto& r : rows) {
        ASSERT_EQ(WriteRegString(kSettingsKey, kValuePosX, r.text), 0);
        EXPECT_EQ(std::atoi(Read(kSettingsKey, kValuePosX).c_str()), r.number) << r.text;
    }
    EXPECT_EQ(Read(kSettingsKey, "NoSuchValue"), "<fail>");
}

TEST_F(Settings, ValueWithoutNulIsTerminatedWithinTheBytesReturned) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, kValuePosY, 0, REG_SZ, reinterpret_cast<const BYTE*>("300xyz"), 3), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(Read(kSettingsKey, kValuePosY), "300");
    // Exactly filling a 4-byte buffer without a NUL does not fit.
    EXPECT_EQ(Read(kSettingsKey, kValuePosY, 4), "300");
    EXPECT_EQ(Read(kSettingsKey, kValuePosY, 3), "<fail>");
}

TEST_F(Settings, ValueLongerThanTheBufferIsAFailedRead) {
    const std::string longText(300, '7');
    ASSERT_EQ(WriteRegString(kSettingsKey, kValueMemoX, longText.c_str()), 0);
    EXPECT_EQ(Read(kSettingsKey, kValueMemoX, 256), "<fail>");
    EXPECT_EQ(Read(kSettingsKey, kValueMemoX, 301), longText);
}

TEST_F(Settings, SetAutoStartAddsAndRemoves) {
    EXPECT_EQ(SetAutoStart(1, kRunValue), ERROR_SUCCESS);
    EXPECT_EQ(Read(kRunKey, kRunValue, kLongPathSize), ThisExe());
    EXPECT_EQ(SetAutoStart(0, kRunValue), ERROR_SUCCESS);
    EXPECT_EQ(Read(kRunKey, kRunValue), "<fail>");
    EXPECT_NE(SetAutoStart(0, kRunValue), ERROR_SUCCESS);  // nothing to remove: the error is reported
}

// A window of the taskbar's class that records WM_HOTKEY.
struct TrayWindow {
    static WPARAM s_hotkey;
    static int s_count;
    HWND hwnd = nullptr;
    TrayWindow() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = [](HWND h, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
            if (msg == WM_HOTKEY) {
                s_hotkey = w;
                ++s_count;
                return 0;
            }
            return DefWindowProcA(h, msg, w, l);
        };
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "Shell_TrayWnd";
        RegisterClassA(&wc);
        hwnd = CreateWindowExA(WS_EX_TOPMOST, "Shell_TrayWnd", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                               wc.hInstance, nullptr);
        s_hotkey = 0;
        s_count = 0;
    }
    ~TrayWindow() { DestroyWindow(hwnd); }
};
WPARAM TrayWindow::s_hotkey;
int TrayWindow::s_count;

TEST_F(Settings, EnsureAutoStartRewritesUntilThePathMatches) {
    TrayWindow tray;
    ASSERT_NE(tray.hwnd, nullptr);
    if (FindWindowA("Shell_TrayWnd", nullptr) != tray.hwnd) GTEST_SKIP() << "another taskbar window comes first";

    EXPECT_FALSE(EnsureAutoStart());  // no value: written, taskbar told
    EXPECT_EQ(Read(kRunKey, kRunValue, kLongPathSize), ThisExe());
    EXPECT_EQ(TrayWindow::s_count, 1);
    EXPECT_EQ(TrayWindow::s_hotkey, kTrayRefreshHotkey);

    EXPECT_TRUE(EnsureAutoStart());  // equal: left alone
    EXPECT_EQ(TrayWindow::s_count, 1);

    // Differs only in letter case: rewritten.
    std::string upper = ThisExe();
    for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    ASSERT_NE(upper, ThisExe());
    ASSERT_EQ(WriteRegString(kRunKey, kRunValue, upper.c_str()), 0);
    EXPECT_FALSE(EnsureAutoStart());
    EXPECT_EQ(Read(kRunKey, kRunValue, kLongPathSize), ThisExe());
    EXPECT_EQ(TrayWindow::s_count, 2);
}

TEST_F(Settings, EnsureAutoStartKeepsALongStoredPath) {
    // A path of 255 bytes or more is read whole (the buffer holds any executable path), so a
    // matching value is not rewritten at every start.
    const std::string stored = ThisExe();
    ASSERT_EQ(WriteRegString(kRunKey, kRunValue, stored.c_str()), 0);
    EXPECT_TRUE(EnsureAutoStart());
    const std::string longValue = "C:\\" + std::string(400, 'd') + "\\Vestrel.exe";
    ASSERT_EQ(WriteRegString(kRunKey, kRunValue, longValue.c_str()), 0);
    EXPECT_EQ(Read(kRunKey, kRunValue, kLongPathSize), longValue);  // long values read whole
    EXPECT_FALSE(EnsureAutoStart());
    EXPECT_EQ(Read(kRunKey, kRunValue, kLongPathSize), stored);
}

}  // namespace
