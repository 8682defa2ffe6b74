// A note list (a file of numbered note slots) and the memo file, on the files of note_files.h.
//
// Files, relative to the notes root, one opener each: OpenDated(year, month) "日历\<year><mm>", the
// notes of one month's dates; OpenSolarYearly(month) "日历\1<mm>", yearly notes by Gregorian date;
// OpenLunarYearly(lunar month) "日历\0<mm>", yearly notes by lunar date (a leap month shares the
// ordinary month's file); each with slots 0 ... 31 by day. OpenWeekly() "日历\week", slots 0 ... 7
// (weekday 0 = Sunday). "备忘\<name>" for a memo.
//
// A file that did not load whole (a bad record, unreadable, too large) is damaged: before the
// list or memo first rewrites or removes it, it is kept as "<name>.damaged" (KeepDamagedFile), so
// the notes after the damage are never lost.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "notes/note_codec.h"
#include "notes/note_files.h"

class NoteList {
public:
    NoteList() = default;
    NoteList(const NoteList&) = delete;
    NoteList& operator=(const NoteList&) = delete;

    // Each opener names the list's file, then Loads it; the result is Load's.
    bool OpenDated(int year, int month);
    bool OpenSolarYearly(int month);
    bool OpenLunarYearly(int lunarMonth);
    bool OpenWeekly();
    // No list: no entries and no file; Load and Save do nothing.
    void Close() { Open(-1, ""); }

    // Reads the file afresh (from the store's cache of small files unless from is Disk): true when
    // it loaded whole or is missing (an empty list); false when a bad record stopped the reading
    // (the entries before it stay loaded; the user is told once) or the file exists but could not
    // be read (Unreadable(); the entries read before stay as they were).
    bool Load(ReadFrom from = ReadFrom::Cache);
    // Writes the present entries, or removes the file when none is present; a damaged file is kept
    // aside first. False when the file could not be written or removed (the old file then stays
    // as it was).
    bool Save();
    // Reads the file from disk, then Assign on entry index, then Save: every other note is written
    // back as the disk has it, whatever another program changed meanwhile. False without any
    // change for an index outside 0 ... LastIndex(), a length outside 0 ... 65535, or a file that
    // cannot be read just now (held open by another program): nothing is written then. When the
    // save fails the entry returns to what it was and the result is false.
    bool SetEntry(int index, const char* text, int length, uint32_t colourWord);
    // Makes every entry absent (nothing is written).
    void ClearEntries();

    const NoteEntry& Entry(int index) const { return m_entries[static_cast<size_t>(index)]; }
    int LastIndex() const { return m_lastIndex; }
    const char* FileName() const { return m_fileName; }
    // True while the file on disk did not load whole and has not been kept aside yet.
    bool Damaged() const { return m_damage != Damage::None; }
    // True when the last Load found the file but could not read it (held open by another program).
    bool Unreadable() const { return m_damage == Damage::Unreadable; }

private:
    // Fresh absent entries 0 ... lastIndex and the file name (cut to 31 bytes); nothing is read.
    void Open(int lastIndex, const char* fileName);
    bool OpenMonthFile(int prefix, int month, int lastIndex);

    enum class Damage { None, BadRecords, Unreadable };

    std::vector<NoteEntry> m_entries;
    char m_fileName[32] = {};
    int m_lastIndex = -1;
    Damage m_damage = Damage::None;
};

// The most bytes a memo may have: every memo saved can be read back whole.
constexpr int kMaxMemoBytes = 3 * 1024 * 1024;

// Rewrites "备忘\<name>" with the text, or removes it when length is 0; a memo file that did not
// load whole is kept aside first. False on failure (also for length > kMaxMemoBytes).
bool SaveMemo(const char* name, const char* text, int length);

enum class MemoRead {
    Ok,          // *text is the memo
    Missing,     // no memo yet: *text is ""
    Unreadable,  // it exists but cannot be read just now (held open by another program)
    Damaged,     // too large (*text is ""), or holding a NUL byte where an edit control would stop
                 // (*text is what comes before it): kept aside by the next SaveMemo of that name (the
                 // user is told once, in words that say which)
};
// Reads "备忘\<name>" from disk (never from the cache) into *text.
MemoRead ReadMemo(const char* name, std::string* text);
// Renames "备忘\<name>" to the first free "<name>.conflict", ".conflict.2" ...: a memo another PC
// changed, before this one writes its own. *keptAs is the name relative to the notes root.
bool KeepMemoConflict(const char* name, std::string* keptAs);
