// vestrel-cal: month view, day and solar-term dumps.
#include "cli/cli.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "calendar/gregorian.h"
#include "calendar/holidays.h"
#include "calendar/labels.h"
#include "calendar/month_layout.h"
#include "cli/ics_export.h"
#include "cli/note_folder.h"

namespace {

constexpr int kCellWidth = 10;  // terminal columns per day cell; the longest label is 10 columns

// UTF-8 as a whole: the first piece's prefix carries over to the pieces joined to it.
const char kUsage[] =
    u8"usage: vestrel-cal                       the current month\n"
    "       vestrel-cal YEAR MONTH            a month, 1900 2 ... 2100 12\n"
    "       vestrel-cal --days FROM TO        one line per day, dates YYYY-MM-DD in 1900-02-01 ... 2100-12-31:\n"
    "                                         date weekday lunar-year lunar-month leap lunar-day month-days\n"
    "                                         label festival term (tab-separated)\n"
    "       vestrel-cal --terms FROM TO       one line per solar term, years 1900 ... 2100:\n"
    "                                         year month which day hour minute name (tab-separated)\n"
    "       vestrel-cal --ics FROM TO [--notes DIR] [--skip-damaged] [--uid-domain NAME] [--source URL]\n"
    "                             [--holidays]\n"
    "                                         an iCalendar file (RFC 5545, UTF-8) of the years FROM ... TO\n"
    "                                         within 1900 ... 2100 (from 1900-02-01): every festival and solar\n"
    "                                         term as an all-day event, a term with its instant in UTC+8;\n"
    "                                         with --notes, the notes of the notes folder DIR (我的记事, or the\n"
    "                                         folder holding it): a dated note on its day, a yearly note by\n"
    "                                         Gregorian date and a weekly note as a repeating event until the\n"
    "                                         end of TO, a yearly note by lunar date on that lunar month and day\n"
    "                                         of every year, in the leap month of that number too; a note of\n"
    "                                         lunar day 30 falls on day 29 of a 29-day month. Colour-only marks\n"
    "                                         are left out. A damaged note file stops the export (status 1)\n"
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
    "       vestrel-cal --holidays FROM TO [--notes DIR]\n"
    "                                         the statutory days off (休) and adjusted workdays (班) of the\n"
    "                                         years FROM ... TO within 1900 ... 2100, as the State Council's\n"
    "                                         notices give them: one line per marked day, date 休|班 holiday\n"
    "                                         (tab-separated); a year without a notice is one line YEAR 未公布.\n"
    "                                         With --notes, the notes folder's 假日.txt (GBK, the format of the\n"
    "                                         built-in data) replaces the years it holds; a bad line in it is\n"
    "                                         named on stderr and left out. The month view marks the days too.\n"
    "       vestrel-cal --help\n";

// Whole decimal number, optionally signed, nothing else.
bool ParseInt(const char* s, int* out) {
    if (s == nullptr || *s == '\0') return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(s, &end, 10);
    if (errno != 0 || *end != '\0' || v < -100000 || v > 100000) return false;
    *out = static_cast<int>(v);
    return true;
}

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

int Fail(std::ostream& err, const std::string& message) {
    err << "vestrel-cal: " << message << "\n";
    return 2;
}

std::string Pad(int columns) { return std::string(columns > 0 ? columns : 0, ' '); }

// Text centred in a cell of kCellWidth columns.
std::string Centre(const std::string& utf8) {
    const int w = DisplayWidth(utf8);
    const int left = (kCellWidth - w) / 2;
    return Pad(left) + utf8 + Pad(kCellWidth - w - left);
}

const char* ToneColor(DayTone tone) {
    switch (tone) {
        case DayTone::Holiday: return "\033[31m";
        case DayTone::SolarTerm: return "\033[34m";
        case DayTone::Saturday: return "\033[32m";
        case DayTone::Plain: break;
    }
    return "";
}

// "休" or "班" for a marked day, else "".
const char* MarkText(HolidayMark mark) {
    switch (mark) {
        case HolidayMark::Off: return u8"休";
        case HolidayMark::Work: return u8"班";
        case HolidayMark::None: break;
    }
    return "";
}

void PrintMonth(int year, int month, std::ostream& out, const CliEnv& env) {
    const HolidayTable& holidays = HolidayTable::BuiltIn();
    MonthLayout m;
    LayOutMonth(year, month, &m);
    char title[kYearTitleSize];
    ComposeYearTitle(m.cells[1].lunar, m.cells[m.daysInMonth].lunar, title, sizeof title);
    char heading[96];
    std::snprintf(heading, sizeof heading, "%d年%d月  %s", year, month, title);
    const std::string head = GbkToUtf8(heading);
    const int total = 7 * kCellWidth;
    out << Pad((total - DisplayWidth(head)) / 2) << head << "\n";

    std::string header;
    for (int w = 0; w < 7; ++w) header += Centre(GbkToUtf8(WeekdayName(w)));
    while (!header.empty() && header.back() == ' ') header.pop_back();
    out << header << "\n";

    const bool todayShown = env.todayYear == year && env.todayMonth == month;
    const int rows = DayRow(m, m.daysInMonth) + 1;
    for (int row = 0; row < 6; ++row) {
        std::string numbers, labels;
        for (int col = 0; col < 7; ++col) {
            const int day = 7 * row + col - m.firstWeekday + 1;
            if (row >= rows || day < 1 || day > m.daysInMonth) {
                numbers += Pad(kCellWidth);
                labels += Pad(kCellWidth);
                continue;
            }
            const DayCell& c = m.cells[day];
            char number[4];
            std::snprintf(number, sizeof number, "%2d", day);
            // The number stays centred; a 休 or 班 mark (two columns) takes the blanks to its right.
            std::string n = Centre(number), l = Centre(GbkToUtf8(c.label));
            const char* mark = MarkText(holidays.Mark(year, month, day));
            if (*mark != '\0') n = n.substr(0, kCellWidth / 2 + 1) + mark + Pad(kCellWidth / 2 - 3);
            if (env.color) {
                std::string on = ToneColor(ToneOf(c));
                if (c.labelIsMonthName) on += "\033[1m";
                if (todayShown && day == env.todayDay) on += "\033[7m";
                if (!on.empty()) {
                    n = on + n + "\033[0m";
                    l = on + l + "\033[0m";
                }
            }
            numbers += n;
            labels += l;
        }
        // Trailing blanks of a row carry nothing.
        while (!numbers.empty() && numbers.back() == ' ') numbers.pop_back();
        while (!labels.empty() && labels.back() == ' ') labels.pop_back();
        out << numbers << "\n" << labels << "\n";
    }
}

// Decimal digits of v, at least width of them, zero-padded: what %0*u writes. Every field of a
// dump is a non-negative count or date part.
void AppendNumber(std::string* out, unsigned v, int width = 1) {
    char digits[10];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v > 0);
    for (int i = n; i < width; ++i) out->push_back('0');
    while (n > 0) out->push_back(digits[--n]);
}

// The UTF-8 form of each label seen, converted once: a dump shows a few hundred distinct labels
// over tens of thousands of lines.
class Utf8Labels {
public:
    const std::string& Of(const char* gbk) {
        key_.assign(gbk);
        auto it = known_.find(key_);
        if (it == known_.end()) it = known_.emplace(key_, GbkToUtf8(key_)).first;
        return it->second;
    }

private:
    std::unordered_map<std::string, std::string> known_;
    std::string key_;  // reused, so a lookup allocates nothing
};

constexpr size_t kDumpChunk = 64 * 1024;  // bytes gathered before each write

// The dumps stop at the first failed write: a closed pipe need not take the rest of the range.
void PrintDays(const SolarDate& from, const SolarDate& to, std::ostream& out) {
    const int32_t first = DayNumber(from.year, from.month, from.day);
    const int32_t last = DayNumber(to.year, to.month, to.day);
    MonthLayout m{};
    Utf8Labels labels;
    std::string chunk;
    chunk.reserve(kDumpChunk + 256);
    SolarDate d = from;
    for (int32_t n = first; n <= last; ++n) {
        if (d.day == 1 || n == first) LayOutMonth(d.year, d.month, &m);  // each month laid out once
        const DayCell& c = m.cells[d.day];
        // %04d-%02d-%02d\t%d\t%d\t%d\t%d\t%d\t%d\t%s\t%s\t%d\n
        AppendNumber(&chunk, d.year, 4);
        chunk.push_back('-');
        AppendNumber(&chunk, d.month, 2);
        chunk.push_back('-');
        AppendNumber(&chunk, d.day, 2);
        for (int32_t v : {int32_t{c.weekday}, c.lunar.year, c.lunar.month, int32_t{c.lunar.isLeap}, c.lunar.day,
                          c.lunar.monthDays}) {
            chunk.push_back('\t');
            AppendNumber(&chunk, static_cast<unsigned>(v));  // 0 ... 2100
        }
        chunk.push_back('\t');
        chunk += labels.Of(c.label);
        chunk.push_back('\t');
        if (c.festival) chunk += labels.Of(c.festival);
        chunk.push_back('\t');
        AppendNumber(&chunk, c.solarTerm);
        chunk.push_back('\n');
        if (chunk.size() >= kDumpChunk) {
            if (!out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()))) return;
            chunk.clear();
        }
        d = NextDate(d);
    }
    out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
}

void PrintTerms(int from, int to, std::ostream& out) {
    for (int y = from; y <= to && out; ++y) {
        for (int m = 1; m <= 12; ++m) {
            SolarTermTime t[2];
            SolarTermDays(y, m, &t[0], &t[1]);
            for (int which = 1; which <= 2; ++which) {
                const SolarTermTime& r = t[which - 1];
                char line[96];
                std::snprintf(line, sizeof line, "%d\t%d\t%d\t%d\t%d\t%d\t%s\n", y, m, which, r.day, r.hour, r.minute,
                              SolarTermName(m, which));
                out << GbkToUtf8(line);
            }
        }
    }
}

// The built-in holiday data, with the 假日.txt of notesDir's notes folder over it when notesDir is
// not null; each bad line of that file is one line on err. False, with one line in *problem, when
// the folder or the file cannot be read.
bool LoadHolidays(const char* notesDir, IcsHolidays* holidays, std::ostream& err, std::string* problem) {
    if (notesDir == nullptr) return true;
    std::string path, text;
    if (!ReadHolidayFile(notesDir, &path, &text, &holidays->fileStamp, problem)) return false;
    if (path.empty()) return true;
    std::vector<HolidayProblem> problems;
    const HolidayTable user = HolidayTable::Parse(text.data(), text.size(), path, &problems);
    for (const HolidayProblem& p : problems)
        err << "vestrel-cal: " << p.source << ":" << p.line << ": " << GbkToUtf8(p.reason) << ", line left out\n";
    holidays->table = HolidayTable::Overlay(holidays->table, user);
    holidays->fileYears = user.Years();
    return true;
}

// One line on err for each run of years of from ... to that no notice announces.
void NameUnannounced(const HolidayTable& table, int from, int to, std::ostream& err) {
    for (int y = from; y <= to; ++y) {
        if (table.Announced(y)) continue;
        int last = y;
        while (last < to && !table.Announced(last + 1)) ++last;
        err << "vestrel-cal: " << y;
        if (last > y) err << " ... " << last;
        err << u8": 未公布, no holidays exported\n";
        y = last;
    }
}

const char kIcsArguments[] =
    "--ics takes FROM_YEAR <= TO_YEAR within 1900 ... 2100, then --notes DIR, --skip-damaged, "
    "--uid-domain NAME, --source URL and --holidays";

// --ics FROM TO [--notes DIR] [--skip-damaged] [--uid-domain NAME] [--source URL] [--holidays], the
// options in any order. Arguments, the notes folder and its 假日.txt are checked before the first byte
// goes out, so a refused run writes nothing; the calendar then goes out event by event.
int RunIcs(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    IcsOptions options;
    if (argc < 4 || !ParseInt(argv[2], &options.fromYear) || !ParseInt(argv[3], &options.toYear) ||
        options.fromYear < kIcsFirstYear || options.toYear > kIcsLastYear || options.fromYear > options.toYear)
        return Fail(err, kIcsArguments);
    const char* notesDir = nullptr;
    bool skipDamaged = false, uidDomain = false, holidays = false;
    for (int i = 4; i < argc; ++i) {
        const std::string option = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (option == "--notes" && notesDir == nullptr && value != nullptr && value[0] != '\0') {
            notesDir = value;
        } else if (option == "--uid-domain" && !uidDomain && value != nullptr) {
            if (!IsUidDomain(value))
                return Fail(err, "--uid-domain takes 1 ... 253 letters, digits, '.', '-' and '_'");
            options.uidDomain = value;
            uidDomain = true;
        } else if (option == "--source" && options.source.empty() && value != nullptr) {
            if (!IsSourceUri(value))
                return Fail(err, "--source takes an absolute URI (scheme:..., URI characters only, %XX escapes)");
            options.source = value;
        } else if (option == "--skip-damaged" && !skipDamaged) {
            skipDamaged = true;
            continue;
        } else if (option == "--holidays" && !holidays) {
            holidays = true;
            continue;
        } else {
            return Fail(err, kIcsArguments);
        }
        ++i;  // the option's value
    }
    NoteFolder folder;
    if (notesDir != nullptr) {
        std::string problem;
        if (!ReadNoteFolder(notesDir, options.fromYear, options.toYear, &folder, &problem)) return Fail(err, problem);
        for (const std::string& path : folder.damaged)
            err << "vestrel-cal: damaged note file " << path << (skipDamaged ? ", left out" : "") << "\n";
        if (!folder.damaged.empty() && !skipDamaged) return kCliDamagedNotes;
    }
    IcsHolidays table;
    if (holidays) {
        std::string problem;
        if (!LoadHolidays(notesDir, &table, err, &problem)) return Fail(err, problem);
        NameUnannounced(table.table, options.fromYear, options.toYear, err);
        options.holidays = &table;
    }
    WriteIcs(options, folder.notes, out);
    return 0;
}

const char kHolidaysArguments[] = "--holidays takes FROM_YEAR <= TO_YEAR within 1900 ... 2100, then --notes DIR";

// --holidays FROM TO [--notes DIR]: each year's marked days in date order, "YEAR\t未公布" first for a
// year no notice announces (the days another year's notice names in it still follow).
int RunHolidays(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    int from, to;
    if ((argc != 4 && argc != 6) || !ParseInt(argv[2], &from) || !ParseInt(argv[3], &to) ||
        from < kHolidayFirstYear || to > kHolidayLastYear || from > to ||
        (argc == 6 && (std::string(argv[4]) != "--notes" || argv[5][0] == '\0')))
        return Fail(err, kHolidaysArguments);
    IcsHolidays holidays;
    std::string problem;
    if (!LoadHolidays(argc == 6 ? argv[5] : nullptr, &holidays, err, &problem)) return Fail(err, problem);
    const HolidayTable& table = holidays.table;
    std::string text;
    for (int y = from; y <= to; ++y) {
        if (!table.Announced(y)) text += std::to_string(y) + u8"\t未公布\n";
        for (int m = 1; m <= 12; ++m) {
            for (int d = 1; d <= DaysInMonth(y, m); ++d) {
                const char* name = nullptr;
                const HolidayMark mark = table.Mark(y, m, d, &name);
                if (mark == HolidayMark::None) continue;
                char date[32];
                std::snprintf(date, sizeof date, "%04d-%02d-%02d\t", y, m, d);
                text += date;
                text += MarkText(mark);
                text += '\t';
                text += GbkToUtf8(name);
                text += '\n';
            }
        }
    }
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return 0;
}

// 0 when everything written so far reached out, else 1.
int Written(std::ostream& out) {
    out.flush();
    return out ? 0 : 1;
}

}  // namespace

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

namespace {

// The converter of the thread, opened at its first use and closed at its end: opening one costs
// more than converting a line. Null when iconv has no GBK (the text then passes through as it is).
class GbkDecoder {
public:
    GbkDecoder() : cd_(iconv_open("UTF-8", "GBK")) {}
    ~GbkDecoder() {
        if (Ready()) iconv_close(cd_);
    }
    GbkDecoder(const GbkDecoder&) = delete;
    GbkDecoder& operator=(const GbkDecoder&) = delete;

    bool Ready() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    void Append(const char* gbk, size_t n, std::string* out) {
        if (!Ready()) {
            out->append(gbk, n);
            return;
        }
        char buffer[256];
        char* in = const_cast<char*>(gbk);
        size_t inLeft = n;
        while (inLeft > 0) {
            char* dst = buffer;
            size_t dstLeft = sizeof buffer;
            const size_t rc = iconv(cd_, &in, &inLeft, &dst, &dstLeft);
            out->append(buffer, static_cast<size_t>(dst - buffer));
            if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
                out->append("\xEF\xBF\xBD");  // U+FFFD for a byte that is not GBK
                ++in;
                --inLeft;
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
            }
        }
    }

private:
    iconv_t cd_;
};

}  // namespace

void AppendGbkAsUtf8(const char* gbk, size_t n, std::string* out) {
    thread_local GbkDecoder decoder;
    const int savedErrno = errno;  // iconv's E2BIG is no news for the caller
    decoder.Append(gbk, n, out);
    errno = savedErrno;
}

std::string GbkToUtf8(const std::string& gbk) {
    std::string out;
    out.reserve(gbk.size() + gbk.size() / 2);
    AppendGbkAsUtf8(gbk.data(), gbk.size(), &out);
    return out;
}

int DisplayWidth(const std::string& utf8) {
    int width = 0;
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            ++width;
            ++i;
            continue;
        }
        unsigned cp;
        int len;
        if ((c & 0xE0) == 0xC0) { cp = c & 0x1F; len = 2; }
        else if ((c & 0xF0) == 0xE0) { cp = c & 0x0F; len = 3; }
        else { cp = c & 0x07; len = 4; }
        for (int k = 1; k < len && i + k < utf8.size(); ++k) cp = (cp << 6) | (utf8[i + k] & 0x3F);
        i += len;
        // Wide: CJK, Hangul, fullwidth forms and CJK punctuation (【】－ among them).
        const bool wide = (cp >= 0x1100 && cp <= 0x115F) || (cp >= 0x2E80 && cp <= 0xA4CF) ||
                          (cp >= 0xAC00 && cp <= 0xD7A3) || (cp >= 0xF900 && cp <= 0xFAFF) ||
                          (cp >= 0xFE30 && cp <= 0xFE4F) || (cp >= 0xFF00 && cp <= 0xFF60) ||
                          (cp >= 0xFFE0 && cp <= 0xFFE6) || cp >= 0x20000;
        width += wide ? 2 : 1;
    }
    return width;
}

int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err, const CliEnv& env) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (argc == 1) {
        if (!MonthOnOffer(env.todayYear, env.todayMonth))
            return Fail(err, "today lies outside February 1900 ... December 2100; give YEAR MONTH");
        PrintMonth(env.todayYear, env.todayMonth, out, env);
        return Written(out);
    }
    if (mode == "--help" || mode == "-h") {
        if (argc != 2) return Fail(err, "--help takes no argument; months are 1900 2 ... 2100 12");
        out << kUsage;
        return Written(out);
    }
    if (mode == "--days") {
        SolarDate from, to;
        if (argc != 4 || !ParseDate(argv[2], &from) || !ParseDate(argv[3], &to))
            return Fail(err, "--days takes two dates YYYY-MM-DD within 1900-02-01 ... 2100-12-31");
        const int32_t lo = DayNumber(1900, 2, 1), hi = DayNumber(2100, 12, 31);
        const int32_t a = DayNumber(from.year, from.month, from.day), b = DayNumber(to.year, to.month, to.day);
        if (a < lo || b > hi || a > b)
            return Fail(err, "--days takes FROM <= TO within 1900-02-01 ... 2100-12-31");
        PrintDays(from, to, out);
        return Written(out);
    }
    if (mode == "--ics") {
        const int status = RunIcs(argc, argv, out, err);
        return status != 0 ? status : Written(out);
    }
    if (mode == "--holidays") {
        const int status = RunHolidays(argc, argv, out, err);
        return status != 0 ? status : Written(out);
    }
    if (mode == "--terms") {
        int from, to;
        if (argc != 4 || !ParseInt(argv[2], &from) || !ParseInt(argv[3], &to) || from < 1900 || to > 2100 || from > to)
            return Fail(err, "--terms takes FROM_YEAR <= TO_YEAR within 1900 ... 2100");
        PrintTerms(from, to, out);
        return Written(out);
    }
    int year, month;
    if (argc == 3 && ParseInt(argv[1], &year) && ParseInt(argv[2], &month)) {
        if (!MonthOnOffer(year, month)) return Fail(err, "YEAR MONTH must lie within 1900 2 ... 2100 12");
        PrintMonth(year, month, out, env);
        return Written(out);
    }
    return Fail(err, "unknown arguments; months 1900 2 ... 2100 12, see --help");
}
