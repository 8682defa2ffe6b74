// NoteOpener.
#include "notes/note_opener.h"

#include "calendar/labels.h"
#include "notes/day_holiday.h"
#include "notes/day_notes.h"
#include "notes/memo_entry_dlg.h"
#include "notes/weekly_note_dlg.h"

namespace {

// Marks a dialog open for its lifetime.
class OpenScope {
public:
    explicit OpenScope(bool* flag) : m_flag(flag) { *m_flag = true; }
    ~OpenScope() { *m_flag = false; }

private:
    bool* m_flag;
};

}  // namespace

void NoteOpener::OpenDay(CWnd* parent, int day) {
    const MonthLayout& layout = m_notes->Layout();
    if (day < 1 || day > layout.daysInMonth) return;
    NoteValue values[3];
    m_notes->DayValues(day, values);  // what is on disk now; an unreadable list makes its note read-only
    m_saved();
    const DayLines lines = LinesOfDay(layout, day);
    DayNoteForm form;
    form.dateLine = lines.date.c_str();
    form.detailsLine = lines.details.c_str();
    form.solarLine = lines.solarYearly.c_str();
    form.lunarLine = lines.lunarYearly.c_str();
    form.dated = values[0];
    form.solarYearly = values[1];
    form.lunarYearly = values[2];
    if (m_holidays != nullptr) form.holidayLine = HolidaySourceLine(*m_holidays, layout.year, layout.month, day).c_str();
    OpenScope open(&m_open);
    CMemoEntryDlg dialog(parent, form, [this, day](const ConfirmedNote* notes, int count) {
        const bool saved = m_notes->SaveDay(day, notes, count);
        m_saved();
        return saved;
    });
    dialog.DoModal();
}

void NoteOpener::OpenWeekly(CWnd* parent, int weekday) {
    if (weekday < 0 || weekday > 6) return;
    CString line;
    line.Format("每周%s", WeekdayName(weekday));
    const NoteValue note = m_notes->WeeklyValue(weekday);
    m_saved();
    OpenScope open(&m_open);
    CWeeklyNoteDlg dialog(parent, line, note, [this, weekday](const ConfirmedNote* notes, int) {
        const bool saved = m_notes->SaveWeekly(weekday, notes[0]);
        m_saved();
        return saved;
    });
    dialog.DoModal();
}

void NoteOpener::OpenFound(CWnd* parent, const FoundRow& row, const std::function<void(int year, int month)>& showMonth,
                           const std::function<void()>& showPad) {
    if (m_open) return;
    if (row.kind == FoundKind::Memo) {
        showPad();
        return;
    }
    if (row.next.year == 0) return;
    showMonth(row.next.year, row.next.month);
    const MonthLayout& shown = m_notes->Layout();
    if (shown.year != row.next.year || shown.month != row.next.month) return;
    if (row.kind == FoundKind::Weekly) {
        OpenWeekly(parent, row.day);
    } else {
        OpenDay(parent, row.next.day);
    }
}
