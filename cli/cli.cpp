// vestrel-cal: the usage, the arguments of each mode, and the output's end.
#include "cli/cli.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "calendar/gregorian.h"
#include "cli/modes.h"
#include "cli/terminal_text.h"

namespace {

// UTF-8 as a whole: the first piece's prefix carries over to the pieces joined to it.
const char kUsage[] =
    u8"usage: vestrel-cal                       the current month\n"
    "       vestrel-cal YEAR MONTH            a month, 1900 2 ... 2100 12\n"
    "       vestrel-cal [YEAR MONTH] --holiday-json FILE...\n"
    "                                         the month with the days off of holiday-cn year files (below)\n"
    "       vestrel-cal --days FROM TO        one line per day, dates YYYY-MM-DD in 1900-02-01 ... 2100-12-31:\n"
    "                                         date weekday lunar-year lunar-month leap lunar-day month-days\n"
    "                                         label festival term (tab-separated)\n"
    "       vestrel-cal --details FROM TO     one line per day, dates as for --days: date, year stem-branch,\n"
    "                                         zodiac, month stem-branch, day stem-branch, ISO week, 数九 or\n"
    "                                         三伏 day or -, term with its time (UTC+8) or -, other named days\n"
    "                                         joined by 、 or - (tab-separated); 2026-12-22 is\n"
    "                                         2026-12-22 丙午 马 庚子 庚午 52 一九第1天 冬至 04:50 -\n"
    "       vestrel-cal --terms FROM TO       one line per solar term, years 1900 ... 2100:\n"
    "                                         year month which day hour minute name (tab-separated)\n"
    "       vestrel-cal --ics FROM TO [--notes DIR] [--skip-damaged] [--uid-domain NAME] [--source URL]\n"
    "                             [--holidays [--holiday-json FILE]...]\n"
    "                                         an iCalendar file (RFC 5545, UTF-8) of the years FROM ... TO\n"
    "                                         within 1900 ... 2100 (from 1900-02-01): every festival and solar\n"
    "                                         term as an all-day event, a term with its instant in UTC+8;\n"
    "                                         with --notes, the notes of the notes folder DIR (我的记事, or the\n"
    "                                         folder holding it): a dated note on its day, a yearly note by\n"
    "                                         Gregorian date and a weekly note as a repeating event until the\n"
    "                                         end of TO, a yearly note by lunar date on that lunar month and day\n"
    "                                         of every year, in the leap month of that number too; a note of\n"
    "                                         lunar day 30 falls on day 29 of a 29-day month. Colour-only marks\n"
    "                                         are left out. A note's lines that begin with a time (9:30, ９：３０)\n"
    "                                         are reminders: one timed event for each time, at floating local\n"
    "                                         time, 30 minutes long, with a display alarm at its start, its UID\n"
    "                                         the note's with -HHMM before the @; the other lines stay the\n"
    "                                         all-day event (none when every line has a time).\n"
    "                                         A damaged note file stops the export (status 1)\n"
    "                                         unless --skip-damaged, which names it and goes on without it.\n"
    "                                         A lunar-yearly note stays one event per occurrence, not one\n"
    "                                         RSCALE=CHINESE rule: each app would expand such a rule by its own\n"
    "                                         Chinese calendar, and the common one (ICU) differs from the\n"
    "                                         observed calendar on many days between 1917 and 2030.\n"
    "                                         A note's DTSTAMP and LAST-MODIFIED are its file's time of last\n"
    "                                         write. --uid-domain NAME puts NAME after the @ of every note UID\n"
    "                                         (default vestrel-cal), so two people's exports never share one;\n"
    "                                         --source URL names where the file is published (SOURCE).\n"
    "                                         --holidays adds the days off and adjusted workdays (see below)\n"
    "                                         that the notices of FROM ... TO decide, with the notes folder's\n"
    "                                         假日.txt when --notes is given: each run of days off of one\n"
    "                                         holiday as one event \"NAME放假\", each adjusted workday as one\n"
    "                                         event \"调休上班（NAME）\", the year's notices in the description;\n"
    "                                         a notice's days in the December before its year come with it.\n"
    "                                         Years without a notice add nothing and are named on stderr.\n"
    "                                         Out of memory: status 1, the output cut after a whole event\n"
    "                                         and without END:VCALENDAR.\n"
    "       vestrel-cal --holidays FROM TO [--notes DIR] [--holiday-json FILE]...\n"
    "                                         the statutory days off (休) and adjusted workdays (班) of the\n"
    "                                         years FROM ... TO within 1900 ... 2100, as the State Council's\n"
    "                                         notices give them: one line per marked day, date 休|班 holiday\n"
    "                                         (tab-separated); a year without a notice is one line YEAR 未公布.\n"
    "                                         With --notes, the notes folder's 假日.txt (GBK, the format of the\n"
    "                                         built-in data) replaces the years it holds; a bad line in it is\n"
    "                                         named on stderr and left out; a file that keeps changing while it\n"
    "                                         is read stops the run (status 1). No day before 1900-02-01 is\n"
    "                                         listed. The month view marks the days too.\n"
    "                                         --holiday-json FILE (repeatable) reads a holiday-cn year file\n"
    "                                         (JSON: year, papers, days; at most 64 KiB, its dates in its\n"
    "                                         year or the December before, 班 days on weekends) for a year\n"
    "                                         that neither the built-in data nor 假日.txt has; a file that\n"
    "                                         fails a check is named on stderr and not used.\n"
    "       vestrel-cal --find TEXT --notes DIR\n"
    "                                         every line of a note of the notes folder DIR, and of its memo\n"
    "                                         (备忘\\default), that holds TEXT (ASCII letters without case):\n"
    "                                         when (YYYY-MM-DD for a dated note; 每年1月18日, 农历每年十二月初八,\n"
    "                                         每周三, 记事小本), kind (dated, yearly, lunar-yearly, weekly, memo),\n"
    "                                         the line (tab-separated; control characters but tab as U+FFFD).\n"
    "                                         Upcoming first, nearest first (a yearly or weekly note by its next\n"
    "                                         day), then past dated notes, newest first, then the memo. Nothing\n"
    "                                         found prints nothing (status 0), as does a TEXT without a GBK form\n"
    "                                         (one line on stderr); a damaged list is named on stderr and the\n"
    "                                         rest is searched.\n"
    "       vestrel-cal --help\n";

// YYYY-MM-DD, a real date.
bool ParseDate(const char* s, SolarDate* out) {
    if (s == nullptr || std::strlen(s) != 10 || s[4] != '-' || s[7] != '-') return false;
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (s[i] < '0' || s[i] > '9') return false;
    const int y = std::atoi(s), m = std::atoi(s + 5), d = std::atoi(s + 8);
    if (m < 1 || m > 12 || d < 1 || d > DaysInMonth(y, m)) return false;
    *out = SolarDate{static_cast<uint16_t>(y), static_cast<uint16_t>(m), static_cast<uint16_t>(d)};
    return true;
}

bool MonthOnOffer(int y, int m) { return y * 12 + m >= 1900 * 12 + 2 && y * 12 + m <= 2100 * 12 + 12 && m >= 1 && m <= 12; }

// 0 when everything written so far reached out, else 1.
int Written(std::ostream& out) {
    out.flush();
    return out ? 0 : 1;
}

const char kUnknownArguments[] = "unknown arguments; months 1900 2 ... 2100 12, see --help";

// The month view of (year, month), today's when today, then the holiday-cn files given from
// argv[first] on (nothing else).
int RunMonth(int year, int month, bool today, int first, int argc, const char* const* argv, std::ostream& out,
             std::ostream& err, const CliEnv& env) {
    std::vector<std::string> jsonFiles;
    for (int i = first; i < argc; ++i) {
        bool ok = true;
        if (!TakeHolidayJson(argc, argv, &i, &jsonFiles, &ok) || !ok) return Fail(err, kUnknownArguments);
    }
    if (!MonthOnOffer(year, month))
        return Fail(err, today ? "today lies outside February 1900 ... December 2100; give YEAR MONTH"
                               : "YEAR MONTH must lie within 1900 2 ... 2100 12");
    if (const int status = CheckConverter(err)) return status;
    IcsHolidays holidays;
    LoadHolidays(nullptr, jsonFiles, env, &holidays, err);  // without a notes folder it cannot fail
    PrintMonth(year, month, holidays.table, out, env);
    return Written(out);
}

}  // namespace

bool ParseInt(const char* s, int* out) {
    if (s == nullptr || *s == '\0') return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(s, &end, 10);
    if (errno != 0 || *end != '\0' || v < -100000 || v > 100000) return false;
    *out = static_cast<int>(v);
    return true;
}

int Fail(std::ostream& err, const std::string& message) {
    err << "vestrel-cal: " << message << "\n";
    return 2;
}

int CheckConverter(std::ostream& err) {
    int reason = 0;
    if (GbkConverterReady(&reason)) return 0;
    err << "vestrel-cal: no converter from GBK to UTF-8 (iconv_open: " << std::strerror(reason)
        << "); the C library's gconv modules are missing\n";
    return kCliStopped;
}

bool UseColor(bool stdoutIsTerminal, const char* noColor, const char* term) {
    if (!stdoutIsTerminal) return false;
    if (noColor != nullptr && noColor[0] != '\0') return false;
    return term != nullptr && term[0] != '\0' && std::strcmp(term, "dumb") != 0;
}

int CloseOutput(std::FILE* file, bool failedBefore, int reasonBefore, std::ostream& err) {
    bool failed = failedBefore;
    int reason = 0;
    errno = 0;
    if (std::fflush(file) != 0) {
        failed = true;
        reason = errno;
    }
    if (std::ferror(file)) failed = true;
    errno = 0;
    if (std::fclose(file) != 0) {
        failed = true;
        if (reason == 0) reason = errno;
    }
    if (!failed) return 0;
    if (reason == 0 && failedBefore) reason = reasonBefore;
    err << "vestrel-cal: cannot write the output";
    if (reason != 0) err << ": " << std::strerror(reason);
    err << "\n";
    return 1;
}

int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err, const CliEnv& env) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (argc == 1 || mode == "--holiday-json") return RunMonth(env.todayYear, env.todayMonth, true, 1, argc, argv, out, err, env);
    if (mode == "--help" || mode == "-h") {
        if (argc != 2) return Fail(err, "--help takes no argument; months are 1900 2 ... 2100 12");
        out << kUsage;
        return Written(out);
    }
    if (mode == "--days" || mode == "--details") {
        SolarDate from, to;
        if (argc != 4 || !ParseDate(argv[2], &from) || !ParseDate(argv[3], &to))
            return Fail(err, mode + " takes two dates YYYY-MM-DD within 1900-02-01 ... 2100-12-31");
        const int32_t a = DayNumber(from.year, from.month, from.day), b = DayNumber(to.year, to.month, to.day);
        if (!DayOnOffer(a) || !DayOnOffer(b) || a > b)
            return Fail(err, mode + " takes FROM <= TO within 1900-02-01 ... 2100-12-31");
        if (const int status = CheckConverter(err)) return status;
        (mode == "--days" ? PrintDays : PrintDetails)(from, to, out);
        return Written(out);
    }
    if (mode == "--ics") {
        const int status = RunIcs(argc, argv, out, err, env);
        return status != 0 ? status : Written(out);
    }
    if (mode == "--find") {
        const int status = RunFind(argc, argv, out, err, env);
        return status != 0 ? status : Written(out);
    }
    if (mode == "--holidays") {
        const int status = RunHolidays(argc, argv, out, err, env);
        return status != 0 ? status : Written(out);
    }
    if (mode == "--terms") {
        int from, to;
        if (argc != 4 || !ParseInt(argv[2], &from) || !ParseInt(argv[3], &to) || from < 1900 || to > 2100 || from > to)
            return Fail(err, "--terms takes FROM_YEAR <= TO_YEAR within 1900 ... 2100");
        if (const int status = CheckConverter(err)) return status;
        PrintTerms(from, to, out);
        return Written(out);
    }
    int year, month;
    if (argc >= 3 && ParseInt(argv[1], &year) && ParseInt(argv[2], &month))
        return RunMonth(year, month, false, 3, argc, argv, out, err, env);
    return Fail(err, kUnknownArguments);
}
