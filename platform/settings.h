// The program's settings in the registry (HKEY_CURRENT_USER, REG_SZ text) and the start with
// Windows.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win_result.h"

// The settings key and its values: numbers as decimal text ("%d"), read back with ReadRegInt.
constexpr const char* kSettingsKey = "SOFTWARE\\Orvane\\Vestrel";
constexpr const char* kValuePosX = "PosX";
constexpr const char* kValuePosY = "PosY";
constexpr const char* kValueMemoShow = "MemoShow";
constexpr const char* kValueMemoX = "MemoX";
constexpr const char* kValueMemoY = "MemoY";

// The start-up key and the program's value there: the full path of the executable, in double
// quotes when it holds a space (RunValueFor).
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunValue = "Vestrel";

// The taskbar is told about a new start-up value with WM_HOTKEY and this wParam.
constexpr WPARAM kTrayRefreshHotkey = 501;

// Reads a text value (REG_SZ, or REG_EXPAND_SZ left unexpanded) of HKCU\subkey into buffer, which
// holds size bytes; the text is NUL-terminated within the bytes the registry returned. False
// (buffer "") when the key or value is missing, the value is of another type, or the value (with
// its terminator) does not fit in size bytes.
// Names and text are GBK; the registry is read and written with the wide functions.
bool ReadRegString(const char* subkey, const char* valueName, char* buffer, int size);
// The same value as UTF-16, whole (a path with any character); false when missing or not text.
bool ReadRegWide(const char* subkey, const char* valueName, std::wstring* value);
// The longest text value read: far beyond any the program writes (a path of kLongPathSize).
constexpr unsigned long kMaxRegTextBytes = 2 * 32768 * sizeof(wchar_t);

// Reads a number stored as text: a whole decimal number in int range with an optional sign and
// nothing before or after it. True and *value set, or false (*value untouched) when the value
// is missing or is anything else ("", " 5", "12px", "99999999999", a REG_DWORD ...).
bool ReadRegInt(const char* subkey, const char* valueName, int* value);
// The parsing rule of ReadRegInt on its own.
bool ParseWholeInt(const char* text, int* value);

// Writes text (with its NUL) as a REG_SZ value of HKCU\subkey, creating the key path. A failure
// carries the registry's error code and is logged.
WinResult WriteRegString(const char* subkey, const char* valueName, const char* text);
// Writes a number as its decimal text ("%d"), as ReadRegInt reads it back.
WinResult WriteRegInt(const char* subkey, const char* valueName, int value);

// The start-up value for an executable path: the path, in double quotes when it holds a space,
// so Windows cannot take "C:\Program" for the program.
std::wstring RunValueFor(const std::wstring& path);

// add: stores RunValueFor(this executable) as valueName under the start-up key (UTF-16, so that
// Windows starts a path with Chinese characters on any locale); else removes the value. The
// start-up key is never created. A failed step carries its error code and is logged.
WinResult SetAutoStart(bool add, const char* valueName);

// The rule run at every start: when the start-up value is neither this executable's path nor
// that path in double quotes, store RunValueFor(path) and tell the taskbar ("Shell_TrayWnd") with
// WM_HOTKEY 501. Returns true when the value already named this executable.
bool EnsureAutoStart();

// The full path of this executable (any length Windows allows), or "" when it cannot be had.
std::wstring ModulePath();
constexpr int kLongPathSize = 32768;
