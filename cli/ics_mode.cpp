// vestrel-cal --ics: its options, the notes folder and the holiday data, then the export.
#include <string>
#include <vector>

#include "cli/ical_loader.h"
#include "cli/ics_export.h"
#include "cli/modes.h"
#include "cli/note_folder.h"

namespace {

const char kIcsArguments[] =
    "--ics takes FROM_YEAR <= TO_YEAR within 1900 ... 2100, then --notes DIR, --skip-damaged, "
    "--uid-domain NAME, --source URL, --holidays and --holiday-json FILE (with --holidays)";

}  // namespace

// --ics FROM TO [--notes DIR] [--skip-damaged] [--uid-domain NAME] [--source URL] [--holidays
// [--holiday-json FILE]...], the options in any order. Arguments, the notes folder and its 假日.txt are checked before the first byte
// goes out, so a refused run writes nothing; the calendar then goes out event by event. A dated list
// that is damaged when the walk reads it but was whole at the check (it changed in between) is named
// then; without --skip-damaged the output stops there, cut after a whole event.
int RunIcs(int argc, const char* const* argv, std::ostream& out, std::ostream& err, const CliEnv& env) {
    IcsOptions options;
    if (argc < 4 || !ParseInt(argv[2], &options.fromYear) || !ParseInt(argv[3], &options.toYear) ||
        options.fromYear < kIcsFirstYear || options.toYear > kIcsLastYear || options.fromYear > options.toYear)
        return Fail(err, kIcsArguments);
    const char* notesDir = nullptr;
    bool skipDamaged = false, uidDomain = false, holidays = false;
    std::vector<std::string> jsonFiles;
    for (int i = 4; i < argc; ++i) {
        const std::string option = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        bool ok = true;
        if (TakeHolidayJson(argc, argv, &i, &jsonFiles, &ok)) {
            if (!ok) return Fail(err, kIcsArguments);
            continue;
        }
        if ((option == "--notes" || option == "--uid-domain" || option == "--source") && !IsOptionValue(value))
            return Fail(err, kIcsArguments);
        if (option == "--notes" && notesDir == nullptr) {
            notesDir = value;
        } else if (option == "--uid-domain" && !uidDomain) {
            if (!IsUidDomain(value))
                return Fail(err, "--uid-domain takes 1 ... 253 letters, digits, '.', '-' and '_'");
            options.uidDomain = value;
            uidDomain = true;
        } else if (option == "--source" && options.source.empty()) {
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
    if (!jsonFiles.empty() && !holidays) return Fail(err, kIcsArguments);
    if (const int status = CheckConverter(err)) return status;
    std::string problem;
    if (LoadIcal(&problem) == nullptr) {
        err << "vestrel-cal: " << problem << "\n";
        return kCliStopped;
    }
    NoteFolder folder(skipDamaged);
    NotesAtHand noNotes({});
    NoteSource* notes = &noNotes;
    const auto nameDamaged = [&](size_t from) {
        for (size_t i = from; i < folder.Damaged().size(); ++i)
            err << "vestrel-cal: damaged note file " << folder.Damaged()[i] << (skipDamaged ? ", left out" : "") << "\n";
    };
    if (notesDir != nullptr) {
        if (!folder.Open(notesDir, options.fromYear, options.toYear, &problem)) return Fail(err, problem);
        nameDamaged(0);
        if (!folder.Damaged().empty() && !skipDamaged) return kCliStopped;
        notes = &folder;
    }
    IcsHolidays table;
    if (holidays) {
        if (const int status = LoadHolidays(notesDir, jsonFiles, env, &table, err)) return status;
        NameUnannounced(table.table, options.fromYear, options.toYear, err);
        options.holidays = &table;
    }
    const size_t named = folder.Damaged().size();
    const bool whole = WriteIcs(options, *notes, out);
    nameDamaged(named);  // lists that changed since Open and are damaged now
    return whole ? 0 : kCliStopped;
}
