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
#include <vector>

#include "notes/note_codec.h"

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

    // Reads the file afresh: true when it loaded whole or is missing (an empty list); false when a
    // bad record stopped the reading (the entries before it stay loaded) or the file exists but
    // could not be read.
    bool Load();
    // Writes the present entries, or removes the file when none is present; a damaged file is kept
    // aside first. False when the file could not be written or removed (the old file then stays
    // as it was).
    bool Save();
    // Assign on entry index, then Save. False without any change for an index outside
    // 0 ... LastIndex() or a length outside 0 ... 65535. When the save fails the entry returns to
    // what it was and the result is false. A list whose file could not be read is read again
    // first, so that a file that was only held open for a moment keeps all its notes.
    bool SetEntry(int index, const char* text, int length, uint32_t colourWord);
    // Makes every entry absent (nothing is written).
    void ClearEntries();

    const NoteEntry& Entry(int index) const { return m_entries[static_cast<size_t>(index)]; }
    int LastIndex() const { return m_lastIndex; }
    const char* FileName() const { return m_fileName; }
    // True while the file on disk did not load whole and has not been kept aside yet.
    bool Damaged() const { return m_damage != Damage::None; }

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
// The memo text of "备忘\<name>" (NUL-terminated, *size bytes), or null when there is none or it
// could not be read whole. A memo that exists but cannot be shown whole (unreadable, too large, or
// holding a NUL byte, where an edit control would stop) answers null with *damaged = true and is
// kept aside by the next SaveMemo of that name.
std::unique_ptr<char[]> LoadMemo(const char* name, int* size, bool* damaged = nullptr);
