// The note lists of a notes folder as the Windows program writes it ("日历" and "备忘" inside),
// read on Linux for the export. Only "日历" is read; the memos of "备忘" are not notes of a day.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "notes/note_codec.h"

// One present entry of a list file, keyed as the file name and slot say:
//   Day          "日历/YYYYMM": year, month, slot = day of month
//   SolarYearly  "日历/1MM":    month, slot = day of month (year 0)
//   LunarYearly  "日历/0MM":    month = lunar month number (a leap month shares its ordinary
//                               month's file), slot = lunar day (year 0)
//   Weekly       "日历/week":   slot = weekday, 0 = Sunday (year and month 0)
// Slots are as stored (0 ... 31, 0 ... 7 for week), whether or not a day of the calendar has them.
struct FolderNote {
    NoteKind kind;
    int year;
    int month;
    int slot;
    uint32_t colourWord;
    std::string text;  // GBK bytes as stored; empty for a colour-only mark
    int64_t modified;  // its list file's time of last write, seconds since 1970 (UTC)
};

// The notes an export takes: the repeating ones at once, the dated ones month by month.
class NoteSource {
public:
    virtual ~NoteSource() = default;
    // The Gregorian-yearly, lunar-yearly and weekly notes.
    virtual const std::vector<FolderNote>& Repeating() const = 0;
    // The dated notes of (year, month) into *notes (cleared first), by slot. False when the export
    // is to stop here (a list found damaged only now).
    virtual bool Month(int year, int month, std::vector<FolderNote>* notes) = 0;
};

// Notes already in memory, of every kind.
class NotesAtHand : public NoteSource {
public:
    explicit NotesAtHand(const std::vector<FolderNote>& notes);
    const std::vector<FolderNote>& Repeating() const override { return repeating_; }
    bool Month(int year, int month, std::vector<FolderNote>* notes) override;

private:
    std::vector<FolderNote> repeating_;
    std::map<int, std::vector<FolderNote>> dated_;  // by year * 100 + month
};

// A notes folder read as the export walks it, so that memory does not grow with the folder: the
// repeating lists (101 ... 112, 001 ... 012, week) once, at Open, and each month's dated list when
// Month asks for it. Open also reads every dated list of the range through, keeping only whether it
// is damaged, so that a damaged list is known before anything is written.
//
// A list is damaged when it is not a regular file, cannot be read whole, is larger than the program
// ever reads (4 MiB) or holds a bad record (DecodeNoteList); a missing list is an empty one. Other
// files ("*.new", "*.damaged", memos) are never opened.
class NoteFolder : public NoteSource {
public:
    // skipDamaged: a list found damaged only by Month is left out and the export goes on; else Month
    // answers false there.
    explicit NoteFolder(bool skipDamaged) : skipDamaged_(skipDamaged) {}

    // The lists of dir that matter for the Gregorian years fromYear ... toYear: the dated lists of
    // those months from February 1900 on, and the repeating ones. False, with one line of
    // explanation in *problem, when dir is missing, not a folder, holds no list folder, or cannot be
    // read.
    bool Open(const std::string& dir, int fromYear, int toYear, std::string* problem);

    // Paths of the damaged lists in the order found: at Open the dated ones by month, then 101 ...
    // 112, 001 ... 012, week; then any Month found. None of their notes is given.
    const std::vector<std::string>& Damaged() const { return damaged_; }
    // Whether Month found a list damaged that Open had read whole (it changed in between).
    bool LateDamage() const { return lateDamage_; }

    const std::vector<FolderNote>& Repeating() const override { return repeating_; }
    // Reads the month's list now (its notes stamped with its time of last write now).
    bool Month(int year, int month, std::vector<FolderNote>* notes) override;

private:
    bool skipDamaged_;
    std::string lists_;  // the list folder
    std::vector<FolderNote> repeating_;
    std::vector<std::string> damaged_;
    std::set<int> damagedMonths_;  // year * 100 + month
    bool lateDamage_ = false;
};

// The notes folder that dir names: dir itself when it holds 日历, else dir/我的记事 when that is a
// folder, else dir. Each name is looked for in UTF-8 and then as GBK bytes, as below.
std::string NotesFolderOf(const std::string& dir);

enum class HolidayFileRead { Missing, Loaded, Unusable, Changing };

// Reads of 假日.txt before it counts as changing.
constexpr int kHolidayFileTries = 5;

// Called, when set, with the file's path once in each read of 假日.txt, when its first bytes are in
// hand (between the looks at its size and time of last write that bracket the read): a test
// changes the file there.
using HolidayFileSeam = std::function<void(const std::string& path)>;

// The user's holiday file, 假日.txt (GBK inside; its name in UTF-8 or GBK bytes), in the notes folder
// of dir, as one consistent whole: a read counts when the file's size and time of last write are the
// same before and after it and the bytes read are that size; an editor that saves in place
// (truncate, then write) may be caught half way, so it is read again, up to kHolidayFileTries times,
// a pause growing by 10 ms before each. Then:
//   Loaded    with *path, the whole contents and the time of last write (seconds since 1970, UTC);
//   Missing   when it is not there (*path "");
//   Unusable  with one line in *problem when dir is missing or not a readable folder, or the file is
//             not a regular file, cannot be read or is larger than 1 MiB;
//   Changing  with one line in *problem, naming the file, when no read was consistent.
HolidayFileRead ReadHolidayFile(const std::string& dir, std::string* path, std::string* text, int64_t* modified,
                                std::string* problem, const HolidayFileSeam& seam = nullptr);

// The list folder under dir: dir/日历, else dir/我的记事/日历 (dir may be the notes folder or the
// folder holding it). Each name is looked for in UTF-8 (as Wine writes it) and then as the GBK
// bytes the program uses. "" when there is no such folder.
std::string FindListFolder(const std::string& dir);

