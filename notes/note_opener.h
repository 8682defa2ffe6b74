// The two note dialogs as the main window opens them for a click on the grid: each shows what is on
// disk now and saves what the user confirmed through the shown month's lists.
#pragma once

#include <functional>

#include "calendar/holidays.h"
#include "framework/afxwin.h"
#include "notes/month_notes.h"
#include "notes/note_search.h"

class NoteOpener {
public:
    // notes: the shown month's lists, which must outlive the opener. saved is called after each
    // save (successful or not) so the views can show the lists again.
    NoteOpener(MonthNoteLists* notes, std::function<void()> saved) : m_notes(notes), m_saved(std::move(saved)) {}

    // The holidays whose source the day-note dialog names on a marked day (null: none named); the
    // table must outlive the opener.
    void SetHolidays(const HolidayTable* holidays) { m_holidays = holidays; }
    // Runs the modal day-note dialog of a day of the shown month (1 ... its last day).
    void OpenDay(CWnd* parent, int day);
    // Runs the modal weekly-note dialog of a weekday (0 = Sunday ... 6).
    void OpenWeekly(CWnd* parent, int weekday);
    // Opens the note a find row names: the memo through showPad; for any other, showMonth shows
    // the month of the day the row is ordered by (a dated note's date, a recurring note's next day)
    // and that day's dialog opens, or the weekday's for a weekly note. Nothing while a dialog is
    // open, for a row without such a day, or when the month shown is not the day's (out of range).
    void OpenFound(CWnd* parent, const FoundRow& row, const std::function<void(int year, int month)>& showMonth,
                   const std::function<void()>& showPad);
    // True while one of the dialogs is open (the shown month must not change under it).
    bool DialogOpen() const { return m_open; }

private:
    MonthNoteLists* m_notes;
    std::function<void()> m_saved;
    bool m_open = false;
    const HolidayTable* m_holidays = nullptr;
};
