// The modes of vestrel-cal, one file each, and what they share; RunCli (cli.cpp) picks one.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "calendar/gregorian.h"
#include "calendar/holidays.h"
#include "cli/cli.h"
#include "cli/ics_export.h"

// Whole decimal number, optionally signed, nothing else.
bool ParseInt(const char* s, int* out);

// Whether an option's value was given: present, not empty and not beginning with "-", which is
// the next option (a folder named so is written ./-name).
inline bool IsOptionValue(const char* value) { return value != nullptr && value[0] != '\0' && value[0] != '-'; }

// One line "vestrel-cal: message" on err; returns 2, the status of a bad argument.
int Fail(std::ostream& err, const std::string& message);

// 0 when GBK text can be converted to UTF-8; else one line on err naming why, and kCliStopped.
// Every mode but --help asks before its first byte goes out.
int CheckConverter(std::ostream& err);

// The month view (month_view.cpp): title, weekday header and six rows of day numbers and labels,
// the days holidays marks with 休 or 班.
void PrintMonth(int year, int month, const HolidayTable& holidays, std::ostream& out, const CliEnv& env);

// The dumps (day_dumps.cpp), tab-separated: one line per day of from ... to (--days), the day's
// details per day (--details, FormatDetailsRow's columns), per solar term of the years from ... to
// (--terms). They stop at the first failed write.
void PrintDays(const SolarDate& from, const SolarDate& to, std::ostream& out);
void PrintDetails(const SolarDate& from, const SolarDate& to, std::ostream& out);
void PrintTerms(int from, int to, std::ostream& out);

// The holidays (holidays_mode.cpp). "休" or "班" (UTF-8) for a marked day, else "".
const char* MarkText(HolidayMark mark);
// Takes "--holiday-json FILE" at argv[*i] into *files (and steps *i past FILE): true when argv[*i]
// is that option, *ok false when its FILE is missing (IsOptionValue).
bool TakeHolidayJson(int argc, const char* const* argv, int* i, std::vector<std::string>* files, bool* ok);
// The holiday data of a run: the built-in table, the 假日.txt of notesDir's notes folder when
// notesDir is not null (read as ReadHolidayFile says, env.holidayFileSeam passed on; each bad line
// of it one line on err), and the holiday-cn year files jsonFiles, of any year, each read whole and
// used only when it passes ReadHolidayJson's checks (else one line on err naming it and why), all
// three combined by HolidayTable::Combine. 0, else one line on err and 2 when the folder or
// 假日.txt cannot be read, kCliStopped when 假日.txt kept changing while it was read.
int LoadHolidays(const char* notesDir, const std::vector<std::string>& jsonFiles, const CliEnv& env,
                 IcsHolidays* holidays, std::ostream& err);
// One line on err for each run of years of from ... to that no notice announces.
void NameUnannounced(const HolidayTable& table, int from, int to, std::ostream& err);
// --holidays FROM TO [--notes DIR] [--holiday-json FILE]...: argv as RunCli has it.
int RunHolidays(int argc, const char* const* argv, std::ostream& out, std::ostream& err, const CliEnv& env);

// --ics (ics_mode.cpp): argv as RunCli has it.
int RunIcs(int argc, const char* const* argv, std::ostream& out, std::ostream& err, const CliEnv& env);

// --find (find_mode.cpp): argv as RunCli has it. 0 also when nothing is found.
int RunFind(int argc, const char* const* argv, std::ostream& out, std::ostream& err, const CliEnv& env);
