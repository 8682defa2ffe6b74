// Registry settings and the start with Windows.
#include "app/settings.h"

#include <cstring>
#include <memory>

namespace {

// A registry key closed when it leaves scope.
class ScopedKey {
public:
    ScopedKey() = default;
    ~ScopedKey() {
        if (key_) RegCloseKey(key_);
    }
    ScopedKey(const ScopedKey&) = delete;
    ScopedKey& operator=(const ScopedKey&) = delete;
    HKEY* out() { return &key_; }
    HKEY get() const { return key_; }
    LONG Close() {
        const LONG rc = key_ ? RegCloseKey(key_) : ERROR_SUCCESS;
        key_ = nullptr;
        return rc;
    }

private:
    HKEY key_ = nullptr;
};

}  // namespace

int ReadRegString(const char* subkey, const char* valueName, char* buffer, int size) {
    if (buffer == nullptr || size <= 0) return -1;
    buffer[0] = '\0';
    ScopedKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subkey, 0, KEY_QUERY_VALUE, key.out()) != ERROR_SUCCESS) return -1;
    DWORD bytes = static_cast<DWORD>(size);
    const LONG rc = RegQueryValueExA(key.get(), valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &bytes);
    if (rc != ERROR_SUCCESS) {
        buffer[0] = '\0';
        return -1;  // missing, or longer than the buffer (ERROR_MORE_DATA)
    }
    // A value written without its NUL is terminated within the bytes returned; one that fills the
    // buffer without a NUL did not fit.
    if (bytes == 0) return 0;
    if (buffer[bytes - 1] == '\0') return 0;
    if (bytes < static_cast<DWORD>(size)) {
        buffer[bytes] = '\0';
        return 0;
    }
    buffer[0] = '\0';
    return -1;
}

int WriteRegString(const char* subkey, const char* valueName, const char* text) {
    ScopedKey key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        key.out(), nullptr) != ERROR_SUCCESS)
        return -1;
    const DWORD bytes = static_cast<DWORD>(std::strlen(text) + 1);
    if (RegSetValueExA(key.get(), valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes) != ERROR_SUCCESS)
        return -1;
    return 0;
}

bool ModulePath(char* buffer, int size) {
    const DWORD n = GetModuleFileNameA(nullptr, buffer, static_cast<DWORD>(size));
    return n > 0 && n < static_cast<DWORD>(size);
}

LONG SetAutoStart(int add, const char* valueName) {
    ScopedKey key;
    LONG rc = RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_WRITE, key.out());
    if (rc != ERROR_SUCCESS) return rc;
    if (add == 1) {
        std::unique_ptr<char[]> path(new char[kLongPathSize]);
        if (!ModulePath(path.get(), kLongPathSize)) {
            rc = static_cast<LONG>(GetLastError());
            if (rc == ERROR_SUCCESS) rc = ERROR_INSUFFICIENT_BUFFER;
        } else {
            rc = RegSetValueExA(key.get(), valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.get()),
                                static_cast<DWORD>(std::strlen(path.get()) + 1));
        }
    } else {
        rc = RegDeleteValueA(key.get(), valueName);
    }
    const LONG closed = key.Close();
    return rc != ERROR_SUCCESS ? rc : closed;
}

bool EnsureAutoStart() {
    std::unique_ptr<char[]> path(new char[kLongPathSize]);
    std::unique_ptr<char[]> stored(new char[kLongPathSize + 1]);
    if (ModulePath(path.get(), kLongPathSize) &&
        ReadRegString(kRunKey, kRunValue, stored.get(), kLongPathSize + 1) == 0 &&
        std::strcmp(stored.get(), path.get()) == 0)
        return true;
    SetAutoStart(1, kRunValue);
    if (HWND tray = FindWindowA("Shell_TrayWnd", nullptr)) {
        // A taskbar that does not answer within a second must not hold up the calendar's start.
        DWORD_PTR result = 0;
        SendMessageTimeoutA(tray, WM_HOTKEY, kTrayRefreshHotkey, 0, SMTO_ABORTIFHUNG, 1000, &result);
    }
    return false;
}
