// The program's settings in the registry (HKEY_CURRENT_USER, REG_SZ text) and the start with
// Windows.
#pragma once

#include <windows.h>

// The settings key and its values: numbers as decimal text ("%d"), read back with atoi.
constexpr const char* kSettingsKey = "SOFTWARE\\Orvane\\Vestrel";
constexpr const char* kValuePosX = "PosX";
constexpr const char* kValuePosY = "PosY";
constexpr const char* kValueMemoShow = "MemoShow";
constexpr const char* kValueMemoX = "MemoX";
constexpr const char* kValueMemoY = "MemoY";

// The start-up key and the program's value there: the full path of the executable.
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunValue = "Vestrel";

// The taskbar is told about a new start-up value with WM_HOTKEY and this wParam.
constexpr WPARAM kTrayRefreshHotkey = 501;

// Reads a value of HKCU\subkey into buffer, which holds size bytes; the text is NUL-terminated
// within the bytes the registry returned. 0, or -1 when the key or value is missing or the value
// (with its terminator) does not fit in size bytes.
int ReadRegString(const char* subkey, const char* valueName, char* buffer, int size);

// Writes text (with its NUL) as a REG_SZ value of HKCU\subkey, creating the key path. 0 or -1.
int WriteRegString(const char* subkey, const char* valueName, const char* text);

// add = 1: stores this executable's full path as valueName under the start-up key; else removes
// the value. The start-up key is never created. Returns ERROR_SUCCESS or the first error met.
LONG SetAutoStart(int add, const char* valueName);

// The rule run at every start: when the start-up value does not name this executable byte for
// byte, store it and tell the taskbar ("Shell_TrayWnd") with WM_HOTKEY 501. Returns true when the
// value already named this executable.
bool EnsureAutoStart();

// The full path of this executable (any length Windows allows).
bool ModulePath(char* buffer, int size);
constexpr int kLongPathSize = 32768;
