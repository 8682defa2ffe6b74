// vestrel-cal --holidays, and the holiday data that --ics --holidays shares with it.
#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "calendar/holiday_json.h"
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

bool TakeHolidayJson(int argc, const char* const* argv, int* i, std::vector<std::string>* files, bool* ok) {
    if (std::string(argv[*i]) != "--holiday-json") return false;
    const char* value = *i + 1 < argc ? argv[*i + 1] : nullptr;
    *ok = IsOptionValue(value);
    if (*ok) files->push_back(value), ++*i;
    return true;
}

namespace {

// One holiday-cn year file given with --holiday-json: its table when it passes every check, else
// one line on err and false.
bool ReadJsonFile(const std::string& path, HolidayTable* table, int64_t* modified, std::ostream& err) {
    struct stat info{};
    std::ifstream in(path, std::ios::binary);
    std::string bytes(kHolidayJsonMaxBytes + 1, '\0');  // one byte more than is accepted: a longer file shows
    if (in && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        in.read(&bytes[0], static_cast<std::streamsize>(bytes.size()));
        bytes.resize(static_cast<size_t>(in.gcount()));
    }
    if (!in.is_open() || !S_ISREG(info.st_mode) || in.bad()) {
        err << "vestrel-cal: holiday-cn file " << path << ": cannot be read, not used\n";
        return false;
    }
    HolidayJsonResult r = ReadHolidayJson(bytes.data(), bytes.size(), 0);
    if (r.status == HolidayJsonStatus::NotPublished) {
        err << "vestrel-cal: holiday-cn file " << path << ": no days yet (" << r.year << u8" 未公布), not used\n";
        return false;
    }
    if (r.status != HolidayJsonStatus::Ok) {
        err << "vestrel-cal: holiday-cn file " << path << ": " << GbkToUtf8(r.reason) << ", not used\n";
        return false;
    }
    *table = std::move(r.table);
    *modified = static_cast<int64_t>(info.st_mtime);
    return true;
}

}  // namespace

int LoadHolidays(const char* notesDir, const std::vector<std::string>& jsonFiles, const CliEnv& env,
                 IcsHolidays* holidays, std::ostream& err) {
    HolidayTable user;
    if (notesDir != nullptr) {
        std::string path, text, problem;
        switch (ReadHolidayFile(notesDir, &path, &text, &holidays->fileStamp, &problem, env.holidayFileSeam)) {
            case HolidayFileRead::Missing: break;
            case HolidayFileRead::Loaded: {
                std::vector<HolidayProblem> problems;
                user = HolidayTable::Parse(text.data(), text.size(), path, &problems);
                for (const HolidayProblem& p : problems)
                    err << "vestrel-cal: " << p.source << ":" << p.line << ": " << GbkToUtf8(p.reason)
                        << ", line left out\n";
                break;
            }
            case HolidayFileRead::Unusable: return Fail(err, problem);
            case HolidayFileRead::Changing: err << "vestrel-cal: " << problem << "\n"; return kCliStopped;
        }
    }
    std::vector<HolidayTable> fetched;
    for (const std::string& file : jsonFiles) {
        HolidayTable table;
        int64_t modified = 0;
        if (!ReadJsonFile(file, &table, &modified, err)) continue;
        for (int year : table.Years()) holidays->jsonStamps[year] = modified;  // a later file wins, as in Combine
        fetched.push_back(std::move(table));
    }
    holidays->table = HolidayTable::Combine(HolidayTable::BuiltIn(), user, fetched);
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

const char kHolidaysArguments[] =
    "--holidays takes FROM_YEAR <= TO_YEAR within 1900 ... 2100, then --notes DIR and --holiday-json FILE";

}  // namespace

// --holidays FROM TO [--notes DIR] [--holiday-json FILE]...: each year's marked days in date order,
// "YEAR\t未公布" first for a year no notice announces (the days another year's notice names in it
// still follow).
int RunHolidays(int argc, const char* const* argv, std::ostream& out, std::ostream& err, const CliEnv& env) {
    int from, to;
    if (argc < 4 || !ParseInt(argv[2], &from) || !ParseInt(argv[3], &to) || from < kHolidayFirstYear ||
        to > kHolidayLastYear || from > to)
        return Fail(err, kHolidaysArguments);
    const char* notesDir = nullptr;
    std::vector<std::string> jsonFiles;
    for (int i = 4; i < argc; ++i) {
        bool ok = true;
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (TakeHolidayJson(argc, argv, &i, &jsonFiles, &ok)) {
            if (!ok) return Fail(err, kHolidaysArguments);
        } else if (std::string(argv[i]) == "--notes" && notesDir == nullptr && IsOptionValue(value)) {
            notesDir = argv[++i];
        } else {
            return Fail(err, kHolidaysArguments);
        }
    }
    if (const int status = CheckConverter(err)) return status;
    IcsHolidays holidays;
    if (const int status = LoadHolidays(notesDir, jsonFiles, env, &holidays, err)) return status;
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
