// Finding notes by their text: an index of every note of a notes folder (the lists of "日历" and the
// memo "备忘\default"), a search over it that answers one row per matching line in the order a
// reader wants them, and the reading of a notes folder into the index. Portable: the standard
// library and the calendar only.
//
// Matching. A row's line holds the query as a run of whole GBK characters: a lead byte 0x81 ... 0xFE
// followed by a trail byte 0x40 ... 0xFE (not 0x7F) is one character, any other byte one character
// of its own; a match never starts or ends inside a character, so a trail byte that equals an ASCII
// letter is never taken for that letter. ASCII letters match without case (only single-byte
// characters are folded). Lines end at LF (a CR before it belongs to the break, not the line); a
// query holding a CR or an LF, or empty, finds nothing.
//
// Order of the rows, for a given today:
//   1. upcoming: every row with a date on or after today, nearest first; a dated note by its date,
//      a yearly or weekly note by the next day on or after today on which it falls;
//   2. past dated notes, newest first;
//   3. lunar-yearly notes without a next day (one that would lie past the lunar table's end, 2100);
//   4. the memo, by line.
// Rows of one day go dated, Gregorian-yearly, lunar-yearly, weekly; then in the order the notes were
// added (a folder's lists by file name, each list by slot), then by line.
//
// A lunar-yearly note falls on its lunar day in the ordinary month of its number and in the leap
// month of that number; a note of day 30 falls on day 29 of a month of 29 days (as the export).
// Slots that no day has (slot 0 of a list, 31 April, a Gregorian-yearly 30 February, lunar slot 31,
// weekday 7) are never shown by the calendar and are not indexed; colour-only marks have no text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "calendar/gregorian.h"

enum class FoundKind { Dated, SolarYearly, LunarYearly, Weekly, Memo };

// "dated", "yearly", "lunar-yearly", "weekly", "memo": the kind as a word for machine-read output.
const char* FoundKindName(FoundKind kind);

// The largest list or memo file read: as the Windows store reads (kMaxNoteFileBytes).
constexpr std::uintmax_t kMaxSearchedFileBytes = 4 * 1024 * 1024;

struct FoundRow {
    FoundKind kind = FoundKind::Memo;
    // The note's key, as its list file and slot give it:
    //   Dated        year, month, day
    //   SolarYearly  month, day; year 0
    //   LunarYearly  month = lunar month number (its leap month shares it), day = lunar day 1 ... 30; year 0
    //   Weekly       day = weekday, 0 = Sunday ... 6 = Saturday; year and month 0
    //   Memo         all 0
    int year = 0;
    int month = 0;
    int day = 0;
    int lineNumber = 0;   // the matching line's number in the note (or memo), 0 = its first line
    std::string line;     // that line, GBK, without its line break
    // When, in GBK words: "2027年1月18日", "每年1月18日", "农历每年腊月初八" (the calendar's month
    // and day names, but 腊 for the twelfth month; never 闰, as the note falls in the leap month of
    // its number too), "每周三", "记事小本".
    std::string when;
    std::string isoDate;  // "2027-01-18" for a dated note, "" for the others
    // The day the row is ordered by: a dated note's date, a recurring note's next day on or after
    // today; {0, 0, 0} for the memo and a lunar-yearly note without one.
    SolarDate next{0, 0, 0};
    bool nextInLeapMonth = false;  // a lunar-yearly note whose next day lies in the leap month
};

// A file that did not load whole: unreadable, not a regular file, larger than kMaxSearchedFileBytes,
// or (a list) holding a bad record. The notes of a list before its bad record are still searched,
// as the calendar still shows them.
struct DamagedFile {
    std::string name;             // relative to the notes folder, GBK: "日历\202704", "备忘\default"
    std::filesystem::path path;   // where it was read; empty when the caller gave only bytes
};

class NoteIndex {
public:
    enum class ListName { None, Dated, SolarYearly, LunarYearly, Weekly };
    // What a file name in "日历" names: "YYYYMM" (year 1000 ... 9999, month 01 ... 12) dated notes,
    // "1MM" Gregorian-yearly, "0MM" lunar-yearly (MM 01 ... 12), "week" (any case) weekly; None for
    // every other name ("202704.damaged", "202704.new", "2027").
    static ListName NameOfList(const std::string& fileName);

    // Adds the notes of the list file fileName of "日历" from its bytes (DecodeNoteList). False, with
    // nothing added, when fileName names no list. A bad record makes the list damaged (recorded as
    // "日历\<fileName>" with path); the notes before it are added.
    bool AddList(const std::string& fileName, const char* data, size_t size, const std::filesystem::path& path = {});
    // Adds the memo: its raw GBK text. A NUL byte in it (which the pad refuses to show) makes it
    // damaged as well; its text is still searched.
    void AddMemo(const char* data, size_t size, const std::filesystem::path& path = {});
    // Records a file the caller could not read. name as in DamagedFile.
    void AddDamaged(const std::string& name, const std::filesystem::path& path = {});

    const std::vector<DamagedFile>& Damaged() const { return m_damaged; }
    size_t NoteCount() const { return m_notes.size(); }  // notes with text, the memo counted as one
    size_t TextBytes() const { return m_raw.size(); }

    // Every row for query (GBK) in the order above. today must be a valid date; for any other, no
    // row is upcoming and every recurring row counts as having no next day. Const and without
    // state: searches may run on any threads at once, while nothing is being added.
    std::vector<FoundRow> Search(const std::string& query, const SolarDate& today) const;

private:
    struct Note {
        FoundKind kind;
        int year, month, day;
        size_t begin, end;  // its text in m_raw and m_folded
        std::string when, isoDate;
    };
    void AddNote(FoundKind kind, int year, int month, int day, const char* text, size_t size);

    std::vector<Note> m_notes;
    std::string m_raw;     // the notes' texts, each followed by an LF, so no match spans two notes
    std::string m_folded;  // m_raw with single-byte ASCII capitals made small
    std::vector<DamagedFile> m_damaged;
};

enum class FolderRead {
    Ok,
    Missing,       // dir does not exist or is not a folder
    NoListFolder,  // no "日历" in it, nor in its "我的记事"
    Unreadable,    // the "日历" folder cannot be listed
};

// The notes folder that dir names: dir itself when it holds "日历", else dir/我的记事 when that is a
// folder, else dir. Each name is looked for in UTF-8 (as Wine and Windows' wide names have it) and
// then as the GBK bytes the program uses.
std::filesystem::path NotesFolderPathOf(const std::filesystem::path& dir);

// Fills index (which should be empty) with every list of the "日历" folder of dir's notes folder
// (NotesFolderPathOf), every dated list of every year there, in file-name order, and the memo
// "备忘\default". Other files ("*.new", "*.damaged", other memos) are never opened. A list or memo
// file that is not a regular file, is larger than kMaxSearchedFileBytes or cannot be read whole is
// recorded as damaged; so is a list with a bad record (AddList). A missing memo is no memo.
FolderRead LoadNoteIndex(const std::filesystem::path& dir, NoteIndex* index);
