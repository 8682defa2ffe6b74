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
#include "notes/note_list.h"
#include "widgets/click_label.h"
#include "widgets/color_label.h"

class CMonthGrid : public CWnd {
public:
    CMonthGrid() = default;
    ~CMonthGrid() override;

    // Creates the window (rect in the parent's client pixels; the program uses (0, 22, 363, 258)
    // and id 107), its fonts, the four strip labels and the hidden popup. FALSE when the window
    // cannot be made; nothing else is created then.
    BOOL Create(const RECT& rect, CWnd* parent, UINT id);

    // Shows (year, month). day 0 browses; a non-zero day (lowered to the month's length) also
    // sets the grid's today. Lays the month out, reads its note lists once, shows the parent's
    // "返回" control (105) unless today's month is shown, and repaints. Returns 1.
    int SetMonth(int year, int month, int day);
    // Puts the lunar year title of the shown month on the strip.
    void UpdateYearTitle();

    // The lunar-yearly note of a day of the shown month: from the list of that day's own lunar
    // month. SetLunarNote sets it (and saves its list): 0, or -1 when the save failed.
    const NoteEntry& GetLunarNote(int day) const;
    int SetLunarNote(int day, const char* text, int length, uint32_t colourWord);
    // All notes of a day joined by CR LF (the caller owns the text), or null with *length = 0.
    std::unique_ptr<char[]> BuildNoteText(int day, int* length) const;

    // What SetDayNotes could not save, as bits (0 = all saved).
    enum : int { kDatedNotSaved = 1, kSolarNotSaved = 2, kLunarNotSaved = 4 };
    // Stores the three notes of the day m_hotDay (leading blanks stripped): its dated, Gregorian-
    // yearly and lunar-yearly note. Each list saves at once; a failed save leaves its note as it
    // was. Repaints. Returns the bits of the notes not saved.
    int SetDayNotes(CString dated, uint32_t datedColour, CString solar, uint32_t solarColour, CString lunar,
                    uint32_t lunarColour);
    // Stores the weekly note of the weekday m_weekdayColumn (leading blanks stripped). 0, or -1
    // when it could not be saved (the note stays as it was). Repaints.
    int SetWeeklyNote(CString text, uint32_t colourWord);

    // Reference point of a day's cell (one pixel above its top-left corner).
    void GetCellOrigin(int day, POINT* pt) const;
    // The day under a point of the client area, or 0.
    int HitTestDay(const POINT* pt) const;

    // The popup with a day's notes hung under pt (client pixels), or hidden when the day has none.
    void ShowNotePopup(int day, POINT* pt);
    // Today's notes under today's cell, when today's month is shown.
    void ShowTodayNotes();

    // Read access for the note dialogs and the main window.
    int ShownYear() const { return m_layout.year; }
    int ShownMonth() const { return m_layout.month; }
    int DaysInMonth() const { return m_layout.daysInMonth; }
    int HotDay() const { return m_hotDay; }
    int WeekdayColumn() const { return m_weekdayColumn; }
    int TodayYear() const { return m_todayYear; }
    int TodayMonth() const { return m_todayMonth; }
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
    void DrawDay(CDC* dc, int day, int x, int y);

private:
    MonthNotes Notes() const;
    bool TodayShown() const { return m_todayYear == m_layout.year && m_todayMonth == m_layout.month; }
    NoteList& LunarList(int day);

    MonthLayout m_layout{};
    uint16_t m_hotDay = 0;
    uint16_t m_todayYear = 0, m_todayMonth = 0, m_todayDay = 0;
    int m_weekdayColumn = -1;
    bool m_dialogOpen = false;

    NoteList m_monthNotes;
    NoteList m_solarYearlyNotes;
    NoteList m_lunarNotes[kLunarSlots];  // first, middle, last lunar month of the shown month
    NoteList m_weeklyNotes;
    LunarListKeys m_lunarKeys{{0, 0, 0}};
    NoteEntry m_noEntry;  // what a day without a list answers

    CFont m_dayFont, m_starFont, m_labelFont, m_labelBoldFont;
    // Smaller bold faces for a month name too wide for its cell ("十一月大", "闰十一月小").
    CFont m_narrowLabelFonts[2];
    std::unique_ptr<CNotePopup> m_popup;
    CColorLabel m_yearTitle;
    CClickLabel m_homeLink, m_loginLink, m_helpLink;
    CWnd* m_parent = nullptr;

    DECLARE_MESSAGE_MAP()
};
