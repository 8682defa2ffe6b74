// The diagnostic log: what failed and why, for the person looking into a fault, never shown to the
// user. Every line goes to the debugger (OutputDebugString); it also goes to the file
// %LOCALAPPDATA%\Vestrel\vestrel.log (kept under 1 MiB: the older half moves to vestrel.log.old)
// when the registry value "Log" under the settings key is "1" or the environment variable
// VESTREL_LOG is "1". Lines are UTF-8 (paths are); they name files and error codes, never the text
// of a note or the memo.
#pragma once

#include <string>

// One line, printf-style, stamped with the local time.
void LogLine(const char* format, ...) __attribute__((format(printf, 1, 2)));
// "what failed: path (error N: the system's message)".
void LogFailure(const char* what, const std::string& path, unsigned long error);

// Whether the file is written (read once, at the first line).
bool LogToFile();
// Test hook: the log file's path (UTF-8) instead of the one under local application data ("" = default),
// and the switch read again.
void SetLogFileForTesting(const std::string& path);
