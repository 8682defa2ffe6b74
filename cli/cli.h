// vestrel-cal: the calendar in a terminal. The program's whole behaviour is RunCli, so tests drive
// it with strings; main() only gathers the environment.
#pragma once

#include <cstdio>
#include <ostream>

#include "cli/note_folder.h"

struct CliEnv {
    int todayYear, todayMonth, todayDay;  // the local date
    bool color;                           // escapes for colours (UseColor)
    HolidayFileSeam holidayFileSeam = nullptr;  // tests only: see ReadHolidayFile
};

// Whether the month view is coloured: stdout is a terminal, NO_COLOR is unset or empty (any other
// value turns colour off), and TERM is set, non-empty and not "dumb" (a terminal without escapes).
// noColor and term are the variables' values, null when unset.
bool UseColor(bool stdoutIsTerminal, const char* noColor, const char* term);

// RunCli's answer when it stopped for a reason it named on err, before writing to out: --ics met
// damaged note files without --skip-damaged (one line for each), there is no GBK converter, or
// 假日.txt kept changing while it was read. Only a note list damaged while --ics was writing (whole
// when checked) stops it after some output, cut after a whole event. The process exits with status 1.
constexpr int kCliStopped = 3;

// Runs the tool: 0 on success, 2 on a bad argument (one line on err, nothing on out), 1 when out
// went bad, flushing included: writing stops at the first failure and err is left to the caller,
// which knows what out is (see CloseOutput); kCliStopped as said there.
int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err, const CliEnv& env);

// Flushes and closes the file the output went to (stdout in main). 0 when every byte reached it.
// Otherwise, or when failedBefore (RunCli answered 1), one line on err and 1; the line names the
// reason: errno of the failed flush or close, else reasonBefore (errno of the run's failed write,
// 0 when unknown).
int CloseOutput(std::FILE* file, bool failedBefore, int reasonBefore, std::ostream& err);
