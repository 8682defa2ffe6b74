// Registry settings and the start with Windows.
#include "platform/settings.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/handles.h"
#include "platform/log.h"

bool ReadRegString(const char* subkey, const char* valueName, char* buffer, int size) {
    if (buffer == nullptr || size <= 0) return false;
    buffer[0] = '\0';
    ScopedRegKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subkey, 0, KEY_QUERY_VALUE, key.out()) != ERROR_SUCCESS) return false;
    DWORD type = REG_NONE;
    DWORD bytes = static_cast<DWORD>(size);
    const LONG rc = RegQueryValueExA(key.get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes);
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
        buffer[0] = '\0';
        return false;  // missing, longer than the buffer (ERROR_MORE_DATA), or not text
    }
    // A value written without its NUL is terminated within the bytes returned; one that fills the
    // buffer without a NUL did not fit.
    if (bytes == 0) return true;
    if (buffer[bytes - 1] == '\0') return true;
    if (bytes < static_cast<DWORD>(size)) {
        buffer[bytes] = '\0';
        return true;
    }
    buffer[0] = '\0';
    return false;
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
    LONG rc = RegCreateKeyExA(HKEY_CURRENT_USER, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                              key.out(), nullptr);
    if (rc != ERROR_SUCCESS) return RegistryFailed("registry key not opened", subkey, valueName, rc);
    const DWORD bytes = static_cast<DWORD>(std::strlen(text) + 1);
    rc = RegSetValueExA(key.get(), valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes);
    if (rc != ERROR_SUCCESS) return RegistryFailed("registry value not written", subkey, valueName, rc);
    return WinResult::Ok();
}

WinResult WriteRegInt(const char* subkey, const char* valueName, int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return WriteRegString(subkey, valueName, text);
}

bool ModulePath(char* buffer, int size) {
    const DWORD n = GetModuleFileNameA(nullptr, buffer, static_cast<DWORD>(size));
    return n > 0 && n < static_cast<DWORD>(size);
}

std::string RunValueFor(const char* path) {
    const std::string p(path ? path : "");
    return p.find(' ') == std::string::npos ? p : "\"" + p + "\"";
}

WinResult SetAutoStart(bool add, const char* valueName) {
    ScopedRegKey key;
    LONG rc = RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_WRITE, key.out());
    if (rc != ERROR_SUCCESS) return RegistryFailed("start-up key not opened", kRunKey, valueName, rc);
    if (add) {
        std::unique_ptr<char[]> path(new char[kLongPathSize]);
        if (!ModulePath(path.get(), kLongPathSize)) {
            rc = ERROR_INSUFFICIENT_BUFFER;
        } else {
            const std::string value = RunValueFor(path.get());
            rc = RegSetValueExA(key.get(), valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                static_cast<DWORD>(value.size() + 1));
        }
    } else {
        rc = RegDeleteValueA(key.get(), valueName);
    }
    const bool closed = key.Close();
    if (rc == ERROR_SUCCESS && !closed) rc = static_cast<LONG>(GetLastError());
    if (rc != ERROR_SUCCESS)
        return RegistryFailed(add ? "start-up value not written" : "start-up value not removed", kRunKey, valueName, rc);
    return WinResult::Ok();
}

bool EnsureAutoStart() {
    std::unique_ptr<char[]> path(new char[kLongPathSize]);
    constexpr int kStoredSize = kLongPathSize + 3;  // the path, two quotes and the NUL
    std::unique_ptr<char[]> stored(new char[kStoredSize]);
    if (ModulePath(path.get(), kLongPathSize) && ReadRegString(kRunKey, kRunValue, stored.get(), kStoredSize) &&
        (std::strcmp(stored.get(), path.get()) == 0 ||
         std::strcmp(stored.get(), ("\"" + std::string(path.get()) + "\"").c_str()) == 0))
        return true;
    SetAutoStart(true, kRunValue);
    if (HWND tray = FindWindowA("Shell_TrayWnd", nullptr)) {
        // A taskbar that does not answer within a second must not hold up the calendar's start.
        DWORD_PTR result = 0;
        SendMessageTimeoutA(tray, WM_HOTKEY, kTrayRefreshHotkey, 0, SMTO_ABORTIFHUNG, 1000, &result);
    }
    return false;
}
