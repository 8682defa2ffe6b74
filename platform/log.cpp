// The diagnostic log.
#include "platform/log.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdarg>
#include <cstdio>
#include <mutex>

#include "platform/handles.h"
#include "platform/wide_text.h"

namespace {

constexpr LONGLONG kMaxLogBytes = 1024 * 1024;

std::mutex g_mutex;  // the headline worker logs too
bool g_decided = false, g_toFile = false;
std::string g_path;

bool SwitchedOn() {
    wchar_t env[8] = {};
    const DWORD n = ::GetEnvironmentVariableW(L"VESTREL_LOG", env, 8);
    if (n > 0 && n < 8 && std::wstring(env) == L"1") return true;
    wchar_t value[8] = {};
    DWORD size = sizeof value - sizeof value[0];
    return ::RegGetValueW(HKEY_CURRENT_USER, L"SOFTWARE\\Orvane\\Vestrel", L"Log", RRF_RT_REG_SZ, nullptr, value,
                          &size) == ERROR_SUCCESS &&
           std::wstring(value) == L"1";
}

std::string DefaultPath() {
    wchar_t base[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, base))) return "";
    const std::wstring folder = std::wstring(base) + L"\\Vestrel";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return Utf8FromWide(folder + L"\\vestrel.log");
}

void Decide() {
    if (g_decided) return;
    g_decided = true;
    g_toFile = SwitchedOn();
    if (g_toFile && g_path.empty()) g_path = DefaultPath();
    if (g_path.empty()) g_toFile = false;
}

void AppendToFile(const std::string& line) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    const std::wstring path = WideFromUtf8(g_path);
    if (::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        const LONGLONG size = (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        if (size > kMaxLogBytes) ::MoveFileExW(path.c_str(), (path + L".old").c_str(), MOVEFILE_REPLACE_EXISTING);
    }
    ScopedFile file(::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return;
    DWORD written = 0;
    ::WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace

void LogLine(const char* format, ...) {
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    char line[1100];
    std::snprintf(line, sizeof line, "%04u-%02u-%02u %02u:%02u:%02u.%03u Vestrel: %s\r\n", now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds, text);
    ::OutputDebugStringW(WideFromUtf8(line).c_str());
    std::lock_guard<std::mutex> lock(g_mutex);
    Decide();
    if (g_toFile) AppendToFile(line);
}

void LogFailure(const char* what, const std::string& path, unsigned long error) {
    // In English whatever the display language, so a log reads the same everywhere.
    wchar_t message[256] = {};
    const DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    DWORD n = ::FormatMessageW(flags, nullptr, error, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), message, 256, nullptr);
    if (n == 0) n = ::FormatMessageW(flags, nullptr, error, 0, message, 256, nullptr);
    std::string reason = Utf8FromWide(message, static_cast<int>(n));
    while (!reason.empty() && (reason.back() == '\r' || reason.back() == '\n' || reason.back() == ' '))
        reason.pop_back();
    LogLine("%s: %s (error %lu%s%s)", what, path.c_str(), error, reason.empty() ? "" : ": ", reason.c_str());
}

bool LogToFile() {
    std::lock_guard<std::mutex> lock(g_mutex);
    Decide();
    return g_toFile;
}

void SetLogFileForTesting(const std::string& path) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_path = path;
    g_decided = false;
}
