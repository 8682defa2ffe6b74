// Registry settings and the start with Windows, on the test prefix's real registry.
#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>

#include "platform/settings.h"
#include "platform/wide_text.h"

namespace {

std::string Read(const char* key, const char* value, int size = 256) {
    std::string buffer(static_cast<size_t>(size), '\x7F');
    if (!ReadRegString(key, value, &buffer[0], size)) return "<fail>";
    return std::string(buffer.c_str());
}

std::string ThisExe() {
    const std::wstring path = ModulePath();
    EXPECT_FALSE(path.empty());
    return GbkFromWide(path);
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
        SetAutoStart(false, kRunValue);
    }
};

TEST_F(Settings, WriteCreatesTheKeyAndReadsBack) {
    EXPECT_EQ(Read(kSettingsKey, kValuePosX), "<fail>");  // no key yet
    EXPECT_TRUE(WriteRegString(kSettingsKey, kValueMemoShow, "1"));
    EXPECT_EQ(Read(kSettingsKey, kValueMemoShow), "1");
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
    ASSERT_TRUE(WriteRegString(kSettingsKey, kValueMemoX, longText.c_str()));
    EXPECT_EQ(Read(kSettingsKey, kValueMemoX, 256), "<fail>");
    EXPECT_EQ(Read(kSettingsKey, kValueMemoX, 301), longText);
}

TEST_F(Settings, SetAutoStartAddsAndRemoves) {
    EXPECT_TRUE(SetAutoStart(true, kRunValue));
    EXPECT_EQ(Read(kRunKey, kRunValue, kLongPathSize), ThisExe());
    EXPECT_TRUE(SetAutoStart(false, kRunValue));
    EXPECT_EQ(Read(kRunKey, kRunValue), "<fail>");
    EXPECT_EQ(SetAutoStart(false, kRunValue).error, static_cast<unsigned long>(ERROR_FILE_NOT_FOUND));  // nothing to remove: why is said
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
    ASSERT_TRUE(WriteRegString(kRunKey, kRunValue, upper.c_str()));
    EXPECT_FALSE(EnsureAutoStart());
    EXPECT_EQ(Read(kRunKey, kRunValue, kLongPathSize), ThisExe());
    EXPECT_EQ(TrayWindow::s_count, 2);
}

TEST_F(Settings, EnsureAutoStartKeepsALongStoredPath) {
    // A path of 255 bytes or more is read whole (the buffer holds any executable path), so a
    // matching value is not rewritten at every start.
    const std::string stored = ThisExe();
    ASSERT_TRUE(WriteRegString(kRunKey, kRunValue, stored.c_str()));
    EXPECT_TRUE(EnsureAutoStart());
    const std::string longValue = "C:\\" + std::string(400, 'd') + "\\Vestrel.exe";
    ASSERT_TRUE(WriteRegString(kRunKey, kRunValue, longValue.c_str()));
    EXPECT_EQ(Read(kRunKey, kRunValue, kLongPathSize), longValue);  // long values read whole
    EXPECT_FALSE(EnsureAutoStart());
    EXPECT_EQ(Read(kRunKey, kRunValue, kLongPathSize), stored);
}

// Only text values count; numbers are whole decimal numbers in int range and nothing else.
TEST_F(Settings, ValueTypesAndWholeNumbers) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const DWORD hundred = 100;
    struct {
        DWORD type;
        std::string bytes;  // stored as given, NUL included where wanted
        const char* text;   // ReadRegString's answer
    } types[] = {
        {REG_DWORD, std::string(reinterpret_cast<const char*>(&hundred), 4), "<fail>"},  // once read as "d"
        {REG_BINARY, std::string("7\0", 2), "<fail>"},
        {REG_MULTI_SZ, std::string("5\0\0", 3), "<fail>"},
        {REG_EXPAND_SZ, std::string("%TEMP%\0", 7), "%TEMP%"},  // left unexpanded
        {REG_SZ, std::string("42\0", 3), "42"},
    };
    for (const auto& t : types) {
        ASSERT_EQ(RegSetValueExA(key, kValuePosX, 0, t.type, reinterpret_cast<const BYTE*>(t.bytes.data()),
                                 static_cast<DWORD>(t.bytes.size())),
                  ERROR_SUCCESS);
        EXPECT_EQ(Read(kSettingsKey, kValuePosX), t.text) << "type " << t.type;
        int n = -777;
        EXPECT_EQ(ReadRegInt(kSettingsKey, kValuePosX, &n), t.type == REG_SZ) << "type " << t.type;
        EXPECT_EQ(n, t.type == REG_SZ ? 42 : -777);
    }
    RegCloseKey(key);

    struct {
        const char* text;
        bool whole;
        int value;
    } numbers[] = {
        {"0", true, 0},           {"-12", true, -12},           {"+7", true, 7},
        {"500", true, 500},       {"2147483647", true, INT_MAX}, {"-2147483648", true, INT_MIN},
        {"2147483648", false, 0}, {"-2147483649", false, 0},    {"99999999999", false, 0},  // atoi: 1215752191
        {"", false, 0},           {"-", false, 0},              {"12px", false, 0},
        {" 5", false, 0},         {"5 ", false, 0},             {"0x10", false, 0},
        {"1e3", false, 0},        {"--1", false, 0},            {"00000000000000000000042", true, 42},
    };
    for (const auto& r : numbers) {
        ASSERT_TRUE(WriteRegString(kSettingsKey, kValueMemoX, r.text));
        int n = -777;
        EXPECT_EQ(ReadRegInt(kSettingsKey, kValueMemoX, &n), r.whole) << '"' << r.text << '"';
        EXPECT_EQ(n, r.whole ? r.value : -777) << '"' << r.text << '"';
    }
    int n = -777;
    EXPECT_FALSE(ReadRegInt(kSettingsKey, "NoSuchValue", &n));
    EXPECT_EQ(n, -777);
}

// Runs this test executable again as path with "--ensure-auto-start": its exit code is 1 when
// EnsureAutoStart found the program registered, 0 when it (re)wrote the value.
int EnsureAutoStartAs(const std::wstring& path) {
    std::wstring cmd = L"\"" + path + L"\" --ensure-auto-start";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(path.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
    WaitForSingleObject(pi.hProcess, 30000);
    DWORD code = 99;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return static_cast<int>(code);
}

// A path with a space is stored in double quotes; either form counts as registered.
TEST_F(Settings, RunValueIsQuotedWhenThePathHasASpace) {
    EXPECT_EQ(RunValueFor(L"C:\\Vestrel\\Vestrel.exe"), L"C:\\Vestrel\\Vestrel.exe");
    EXPECT_EQ(RunValueFor(L"C:\\Program Files\\Vestrel\\Vestrel.exe"), L"\"C:\\Program Files\\Vestrel\\Vestrel.exe\"");

    // Under a folder with Chinese characters (and one that GBK cannot name), whatever the
    // system's code page: the value holds the path's UTF-16.
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        std::wstring(temp) + L"Vestrel \x65E5\x5386 \xD55C " + std::to_wstring(GetCurrentProcessId());  // 日历 한
    const std::wstring copy = folder + L"\\start up.exe";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(ModulePath().c_str(), copy.c_str(), FALSE));
    const auto stored = [] {
        std::wstring value;
        return ReadRegWide(kRunKey, kRunValue, &value) ? value : L"<none>";
    };
    const auto write = [](const std::wstring& value) {
        HKEY key;
        ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0,
                                KEY_SET_VALUE, &key), ERROR_SUCCESS);
        RegSetValueExW(key, L"Vestrel", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    };

    EXPECT_EQ(EnsureAutoStartAs(copy), 0);  // not registered: written
    EXPECT_EQ(stored(), L"\"" + copy + L"\"");
    EXPECT_EQ(EnsureAutoStartAs(copy), 1);  // the quoted form counts
    write(copy);
    EXPECT_EQ(EnsureAutoStartAs(copy), 1);  // so does the bare path, left as it is
    EXPECT_EQ(stored(), copy);
    write(L"\"" + copy);
    EXPECT_EQ(EnsureAutoStartAs(copy), 0);  // half-quoted is not this program
    EXPECT_EQ(stored(), L"\"" + copy + L"\"");

    DeleteFileW(copy.c_str());
    RemoveDirectoryW(folder.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--ensure-auto-start") return EnsureAutoStart() ? 1 : 0;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
