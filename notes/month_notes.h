// MonthNoteLists: the note lists of the shown month. It reads them when a month is shown or a
// folder changed, answers a day's and a weekday's notes, and saves what a note dialog confirmed,
// only the notes the user changed, each list read from disk again first. Views (the grid) are
// given MonthNotes, pointers into these lists, and never hold a list of their own.
#pragma once

#include "calendar/month_layout.h"
#include "notes/day_notes.h"
#include "notes/note_dlg.h"
#include "notes/note_list.h"

class MonthNoteLists {
public:
    MonthNoteLists() = default;
    MonthNoteLists(const MonthNoteLists&) = delete;
    MonthNoteLists& operator=(const MonthNoteLists&) = delete;

    // Opens the six lists of the month laid out in layout (dated, Gregorian-yearly, weekly and a
    // lunar-yearly list per lunar month it touches) and reads each once.
    void Open(const MonthLayout& layout);
    // Reads every list again (another program or PC changed the folder): from the disk unless
    // from is Cache.
    void Reload(ReadFrom from = ReadFrom::Disk);

    // True while a list of the month could not be read at its last reading (held by another
    // program); Reload tries again.
    bool AnyUnreadable() const;
    // Entry arrays for the views; they stay valid until the next Open.
    MonthNotes View() const;
    const MonthLayout& Layout() const { return m_layout; }

    // The lists of a day's three notes (dated, Gregorian-yearly, lunar-yearly), read from disk now,
    // as a dialog shows them: an unreadable list makes its note read-only.
    void DayValues(int day, NoteValue values[3]);
    // The weekly note of a weekday, read from disk now.
    NoteValue WeeklyValue(int weekday);

    // Stores what the day-note dialog confirmed for a day, in the dialog's order (dated,
    // Gregorian-yearly, lunar-yearly): only the notes the user changed, leading blanks stripped.
    // Each list saves at once; a failed save leaves its note as it was. False when a note could
    // not be saved.
    bool SaveDay(int day, const ConfirmedNote* notes, int count);
    // The same for the weekly note of a weekday.
    bool SaveWeekly(int weekday, const ConfirmedNote& note);

    // The lunar month number whose list holds a slot, 0 when the month has no such list.
    int LunarListMonth(LunarListSlot slot) const { return m_lunarKeys.month[slot]; }

private:
    NoteList& LunarList(int day) { return m_lunar[LunarListOf(m_layout, day)]; }

    MonthLayout m_layout{};
    NoteList m_dated;
    NoteList m_solarYearly;
    NoteList m_lunar[kLunarSlots];  // first, middle, last lunar month of the shown month
    NoteList m_weekly;
    LunarListKeys m_lunarKeys{{0, 0, 0}};
};
