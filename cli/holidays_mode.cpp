// vestrel-cal --holidays, and the holiday data that --ics --holidays shares with it.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/modes.h"
#include "cli/note_folder.h"
#include "cli/terminal_text.h"

const char* MarkText(HolidayMark mark) {
    switch (mark) {
        case HolidayMark::Off: return u8"休";
        case HolidayMark::Work: return u8"班";
        case HolidayMark::None: break;
    }
    return "";
}

int LoadHolidays(const char* notesDir, const CliEnv& env, IcsHolidays* holidays, std::ostream& err) {
    if (notesDir == nullptr) return 0;
    std::string path, text, problem;
    switch (ReadHolidayFile(notesDir, &path, &text, &holidays->fileStamp, &problem, env.holidayFileSeam)) {
        case HolidayFileRead::Missing: return 0;
        case HolidayFileRead::Loaded: break;
        case HolidayFileRead::Unusable: return Fail(err, problem);
        case HolidayFileRead::Changing: err << "vestrel-cal: " << problem << "\n"; return kCliStopped;
    }
    std::vector<HolidayProblem> problems;
    const HolidayTable user = HolidayTable::Parse(text.data(), text.size(), path, &problems);
    for (const HolidayProblem& p : problems)
        err << "vestrel-cal: " << p.source << ":" << p.line << ": " << GbkToUtf8(p.reason) << ", line left out\n";
    holidays->table = HolidayTable::Overlay(holidays->table, user);
    holidays->fileYears = user.Years();
    return 0;
}

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

namespace {

const char kHolidaysArguments[] = "--holidays takes FROM_YEAR <= TO_YEAR within 1900 ... 2100, then --notes DIR";

}  // namespace

// --holidays FROM TO [--notes DIR]: each year's marked days in date order, "YEAR\t未公布" first for a
// year no notice announces (the days another year's notice names in it still follow).
int RunHolidays(int argc, const char* const* argv, std::ostream& out, std::ostream& err, const CliEnv& env) {
    int from, to;
    if ((argc != 4 && argc != 6) || !ParseInt(argv[2], &from) || !ParseInt(argv[3], &to) ||
        from < kHolidayFirstYear || to > kHolidayLastYear || from > to ||
        (argc == 6 && (std::string(argv[4]) != "--notes" || !IsOptionValue(argv[5]))))
        return Fail(err, kHolidaysArguments);
    if (const int status = CheckConverter(err)) return status;
    IcsHolidays holidays;
    if (const int status = LoadHolidays(argc == 6 ? argv[5] : nullptr, env, &holidays, err)) return status;
    const HolidayTable& table = holidays.table;
    std::string text;
    for (int y = from; y <= to; ++y) {
        if (!table.Announced(y)) text += std::to_string(y) + u8"\t未公布\n";
        for (int m = 1; m <= 12; ++m) {
            for (int d = 1; d <= DaysInMonth(y, m); ++d) {
                const char* name = nullptr;
                const HolidayMark mark = table.Mark(y, m, d, &name);
                if (mark == HolidayMark::None || !DayOnOffer(DayNumber(y, m, d))) continue;
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
