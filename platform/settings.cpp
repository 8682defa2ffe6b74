// Registry settings and the start with Windows.
#include "platform/settings.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/handles.h"
#include "platform/log.h"
#include "platform/wide_text.h"

bool ReadRegString(const char* subkey, const char* valueName, char* buffer, int size) {
    if (buffer == nullptr || size <= 0) return false;
    buffer[0] = '\0';
    std::wstring value;
    if (!ReadRegWide(subkey, valueName, &value)) return false;
    bool lossless = true;
    const std::string text = GbkFromWide(value, &lossless);
    if (text.size() + 1 > static_cast<size_t>(size)) return false;  // does not fit: as missing
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return true;
}

bool ReadRegWide(const char* subkey, const char* valueName, std::wstring* value) {
    value->clear();
    ScopedRegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, WideFromGbk(subkey).c_str(), 0, KEY_QUERY_VALUE, key.out()) != ERROR_SUCCESS)
        return false;
    const std::wstring name = WideFromGbk(valueName);
    DWORD type = REG_NONE, bytes = 0;
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || bytes > kMaxRegTextBytes)
        return false;  // missing, not text, or beyond any value the program writes
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD got = bytes;
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&text[0]), &got) !=
        ERROR_SUCCESS)
        return false;
    // A value written without its NUL is terminated within the bytes returned.
    text.resize(got / sizeof(wchar_t));
    const size_t nul = text.find(L'\0');
    if (nul != std::wstring::npos) text.resize(nul);
    *value = text;
    return true;
}

bool ParseWholeInt(const char* text, int* value) {
    if (text == nullptr) return false;
    const char* p = text;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    if (*p < '0' || *p > '9') return false;
    long long n = 0;  // |n| <= 2^31 while digits are taken
    for (; *p >= '0' && *p <= '9'; ++p) {
        n = n * 10 + (*p - '0');
        if (n > static_cast<long long>(INT_MAX) + 1) return false;
    }
    if (*p != '\0') return false;
    if (negative) n = -n;
    if (n < INT_MIN || n > INT_MAX) return false;
    *value = static_cast<int>(n);
    return true;
}

bool ReadRegInt(const char* subkey, const char* valueName, int* value) {
    char text[32];
    int parsed = 0;
    if (!ReadRegString(subkey, valueName, text, sizeof text) || !ParseWholeInt(text, &parsed)) return false;
    *value = parsed;
    return true;
}

namespace {

WinResult RegistryFailed(const char* what, const char* subkey, const char* valueName, LONG rc) {
    LogFailure(what, std::string("HKCU\\") + subkey + "\\" + (valueName ? valueName : ""), static_cast<DWORD>(rc));
    return WinResult::Failed(static_cast<DWORD>(rc));
}

}  // namespace

WinResult WriteRegString(const char* subkey, const char* valueName, const char* text) {
    ScopedRegKey key;
    LONG rc = RegCreateKeyExW(HKEY_CURRENT_USER, WideFromGbk(subkey).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, key.out(), nullptr);
    if (rc != ERROR_SUCCESS) return RegistryFailed("registry key not opened", subkey, valueName, rc);
    const std::wstring wide = WideFromGbk(text);
    const DWORD bytes = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));
    rc = RegSetValueExW(key.get(), WideFromGbk(valueName).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                        bytes);
    if (rc != ERROR_SUCCESS) return RegistryFailed("registry value not written", subkey, valueName, rc);
    return WinResult::Ok();
}

WinResult WriteRegInt(const char* subkey, const char* valueName, int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return WriteRegString(subkey, valueName, text);
}

std::wstring ModulePath() {
    std::wstring path(kLongPathSize, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (n == 0 || n >= path.size()) return std::wstring();
    path.resize(n);
    return path;
}

std::wstring RunValueFor(const std::wstring& path) {
    return path.find(L' ') == std::wstring::npos ? path : L"\"" + path + L"\"";
}

WinResult SetAutoStart(bool add, const char* valueName) {
    ScopedRegKey key;
    LONG rc = RegOpenKeyExW(HKEY_CURRENT_USER, WideFromGbk(kRunKey).c_str(), 0, KEY_WRITE, key.out());
    if (rc != ERROR_SUCCESS) return RegistryFailed("start-up key not opened", kRunKey, valueName, rc);
    const std::wstring name = WideFromGbk(valueName);
    if (add) {
        const std::wstring path = ModulePath();
        if (path.empty()) {
            rc = ERROR_INSUFFICIENT_BUFFER;
        } else {
            // UTF-16 as the registry keeps it: a path with Chinese characters starts on any locale.
            const std::wstring value = RunValueFor(path);
            rc = RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        }
    } else {
        rc = RegDeleteValueW(key.get(), name.c_str());
    }
    const bool closed = key.Close();
    if (rc == ERROR_SUCCESS && !closed) rc = static_cast<LONG>(GetLastError());
    if (rc != ERROR_SUCCESS)
        return RegistryFailed(add ? "start-up value not written" : "start-up value not removed", kRunKey, valueName, rc);
    return WinResult::Ok();
}

bool EnsureAutoStart() {
    const std::wstring path = ModulePath();
    std::wstring stored;
    if (!path.empty() && ReadRegWide(kRunKey, kRunValue, &stored) &&
        (stored == path || stored == L"\"" + path + L"\""))
        return true;
    SetAutoStart(true, kRunValue);
    if (HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr)) {
        // A taskbar that does not answer within a second must not hold up the calendar's start.
        DWORD_PTR result = 0;
        SendMessageTimeoutW(tray, WM_HOTKEY, kTrayRefreshHotkey, 0, SMTO_ABORTIFHUNG, 1000, &result);
    }
    return false;
}
