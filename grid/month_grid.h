// CMonthGrid: the face of the calendar. One month as a weekday header and six rows of day cells
// with their lunar labels and note marks, a gold strip with the lunar year title and three links,
// a note popup that follows the day under the pointer, and the note dialogs a click opens.
// What it shows is decided by grid/month_model.h; this class keeps the month's note lists, paints
// and routes input.
#pragma once

#include <memory>

#include "calendar/month_layout.h"
#include "framework/afxwin.h"
#include "grid/month_model.h"
#include "grid/note_popup.h"
#include "notes/note_dlg.h"
#include "notes/note_list.h"
#include "widgets/click_label.h"
#include "widgets/color_label.h"

class CMonthGrid : public CWnd {
public:
    CMonthGrid() = default;
    ~CMonthGrid() override;

    // Creates the window (rect in the parent's client pixels; the program uses (0, 22, 363, 258)
    // and id 107 at 96 DPI, scaled by the DPI), its fonts, the four strip labels and the hidden
    // popup, all at dpi (0: the window's own). FALSE when the window cannot be made; nothing else
    // is created then.
    BOOL Create(const RECT& rect, CWnd* parent, UINT id, int dpi = 0);
    // The display scale the grid is laid out at.
    int Dpi() const { return m_dpi; }
    // Lays the grid out again at dpi (its window already has its new size): fonts, strip labels,
    // the popup's font. Repaints.
    void SetDpi(int dpi);

    // Shows (year, month): lays the month out, reads its note lists once and repaints.
    void ShowMonth(int year, int month);
    // Reads the shown month's note lists again from disk (another program or PC changed them) and
    // repaints; the month and a popup on show stay. Nothing happens while a note dialog is open.
    void ReloadNotes();
    // Today's date, as its owner (the main window) knows it: marks today's cell and weekday while
    // today's month is shown. Repaints.
    void SetToday(int year, int month, int day);
    // Puts the lunar year title of the shown month on the strip.
    void UpdateYearTitle();

    // The lunar-yearly note of a day of the shown month: from the list of that day's own lunar
    // month.
    const NoteEntry& GetLunarNote(int day) const;
    // The statutory days off and adjusted workdays the grid marks (the built-in table unless its
    // owner gives another, which must outlive the grid). Repaints.
    void SetHolidays(const HolidayTable* table);
    // The day's holiday line ("国庆节 放假"), then all notes of a day, joined by CR LF (the caller
    // owns the text), or null with *length = 0.
    std::unique_ptr<char[]> BuildNoteText(int day, int* length) const;

    // Stores what the day-note dialog confirmed for a day, in the dialog's order (dated,
    // Gregorian-yearly, lunar-yearly): only the notes the user changed, leading blanks stripped.
    // Each list saves at once; a failed save leaves its note as it was. Repaints. False when a
    // note could not be saved.
    bool SaveDayNotes(int day, const ConfirmedNote* notes, int count);
    // The same for the weekly note of a weekday.
    bool SaveWeeklyNote(int weekday, const ConfirmedNote& note);

    // Reference point of a day's cell (one pixel above its top-left corner).
    void GetCellOrigin(int day, POINT* pt) const;
    // The day under a point of the client area, or 0.
    int HitTestDay(const POINT* pt) const;

    // The popup with a day's notes hung under pt (client pixels), or hidden when the day has none.
    void ShowNotePopup(int day, POINT* pt);
    // Today's notes under today's cell, when today's month is shown.
    void ShowTodayNotes();
    // Hides the popup; the next move onto a day shows that day's again.
    void HidePopup();

    // Read access for the note dialogs and the main window.
    int ShownYear() const { return m_layout.year; }
    int ShownMonth() const { return m_layout.month; }
    int DaysInMonth() const { return m_layout.daysInMonth; }
    int HotDay() const { return m_hotDay; }
    int TodayDay() const { return m_todayDay; }
    const DayCell& Cell(int day) const { return m_layout.cells[day]; }
    const MonthLayout& Layout() const { return m_layout; }
    const NoteEntry& MonthNote(int day) const { return m_monthNotes.Entry(day); }
    const NoteEntry& SolarYearlyNote(int day) const { return m_solarYearlyNotes.Entry(day); }
    const NoteEntry& WeeklyNote(int weekday) const { return m_weeklyNotes.Entry(weekday); }
    CNotePopup* Popup() const { return m_popup.get(); }
    // True while a note dialog of the grid is open (the shown month must not change under it).
    bool DialogOpen() const { return m_dialogOpen; }
    // The lunar month number whose list holds a slot, 0 when the month has no such list.
    int LunarListMonth(LunarListSlot slot) const { return m_lunarKeys.month[slot]; }

    // Draws the whole client area (but the strip labels) into dc.
    void PaintInto(HDC dc, const RECT& client);

protected:
    void OnPaint();
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    LRESULT OnLinkClicked(WPARAM wParam, LPARAM lParam);

    void DrawWeekHeader(CDC* dc, const RECT& r);
    void DrawDays(CDC* dc, const RECT& r);

private:
    // The modal note dialogs of a day and of a weekday column.
    void OpenDayDialog(int day);
    void OpenWeeklyDialog(int weekday);
    // Reads every list of the shown month (from the cache or from disk).
    void LoadNotes(ReadFrom from);
    MonthNotes Notes() const;
    int S(int px) const { return Scale(px, m_dpi); }  // a 96 DPI length at the grid's scale
    void MakeFonts();
    // The strip's height, so that it starts where the scaled 96 DPI strip starts.
    int StripHeight() const { return S(kGridHeight) - S(kGridHeight - kStripHeight); }
    bool TodayShown() const { return m_todayYear == m_layout.year && m_todayMonth == m_layout.month; }
    NoteList& LunarList(int day);

    MonthLayout m_layout{};
    int m_dpi = kBaseDpi;
    uint16_t m_hotDay = 0;
    uint16_t m_todayYear = 0, m_todayMonth = 0, m_todayDay = 0;
    bool m_dialogOpen = false;

    NoteList m_monthNotes;
    NoteList m_solarYearlyNotes;
    NoteList m_lunarNotes[kLunarSlots];  // first, middle, last lunar month of the shown month
    NoteList m_weeklyNotes;
    LunarListKeys m_lunarKeys{{0, 0, 0}};
    NoteEntry m_noEntry;  // what a day without a list answers
    const HolidayTable* m_holidays = &HolidayTable::BuiltIn();

    CFont m_dayFont, m_labelFont, m_labelBoldFont, m_holidayFont;
    // A smaller bold face of normal width for a month name too wide for its cell ("闰十一月").
    CFont m_narrowLabelFonts[2];
    std::unique_ptr<CNotePopup> m_popup;
    CColorLabel m_yearTitle;
    CClickLabel m_homeLink, m_loginLink, m_helpLink;

    DECLARE_MESSAGE_MAP()
};
