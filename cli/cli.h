// vestrel-cal: the calendar in a terminal. The program's whole behaviour is RunCli, so tests drive
// it with strings; main() only gathers the environment.
#pragma once

#include <ostream>
#include <string>

struct CliEnv {
    int todayYear, todayMonth, todayDay;  // the local date
    bool color;                           // stdout is a terminal and NO_COLOR is not set
};

// Runs the tool: 0 on success, 2 on a bad argument (one line on err, nothing on out).
int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err, const CliEnv& env);

// GBK text as UTF-8 (invalid bytes become U+FFFD).
std::string GbkToUtf8(const std::string& gbk);

// Terminal columns of UTF-8 text: East Asian wide and fullwidth characters take two.
int DisplayWidth(const std::string& utf8);
