// CMonthGrid: the face of the calendar. One month as a weekday header and six rows of day cells
// with their lunar labels and note marks, a gold strip with the lunar year title and three links,
// and a note popup that follows the day under the pointer. A view: its owner gives it the month,
// its notes, today and the holidays, and hears of clicks on a day or a weekday; what a cell shows
// is decided by grid/month_model.h.
#pragma once

#include <functional>
#include <memory>

#include "calendar/month_layout.h"
#include "framework/afxwin.h"
#include "grid/month_model.h"
#include "grid/note_popup.h"
#include "widgets/click_label.h"
#include "widgets/color_label.h"

// The popup's line while a list of the shown month cannot be read.
constexpr const char* kNotesUnreadableLine = "（这个月的记事文件暂时无法读取，能读取时会自动显示。）";

class CMonthGrid : public CWnd, protected CDpiScaled {
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

    // Shows a month: its layout, and its notes as entry arrays that stay valid until the next Show
    // or SetNotes (the owner's lists). Repaints.
    void Show(const MonthLayout& layout, const MonthNotes& notes);
    // The shown month's notes again, after they were read or saved. Repaints.
    void SetNotes(const MonthNotes& notes);
    // Today's date, as its owner knows it: marks today's cell and weekday while today's month is
    // shown. Repaints.
    void SetToday(int year, int month, int day);
    // The statutory days off and adjusted workdays the grid marks (the built-in table unless its
    // owner gives another, which must outlive the grid). Repaints.
    void SetHolidays(const HolidayTable* table);

    // What a left-button release on a day (1 ... 31) or on a weekday name (0 = Sunday ... 6) asks
    // for; the owner opens the note dialogs.
    struct ClickHandlers {
        std::function<void(int day)> day;
        std::function<void(int weekday)> weekday;
    };
    void SetClickHandlers(ClickHandlers handlers) { m_clicks = std::move(handlers); }

    // The day's popup text (PopupTextOfDay: its holiday line "国庆节 放假", or "放假安排未公布" on a
    // festival of a year from today's on without an arrangement; what is worth a glance
    // "冬至 04:50 · 一九第1天"; then its notes; joined by CR LF; the caller owns the text), or null
    // with *length = 0.
    std::unique_ptr<char[]> BuildNoteText(int day, int* length) const;

    // Reference point of a day's cell (one pixel above its top-left corner).
    void GetCellOrigin(int day, POINT* pt) const;
    // The day under a point of the client area, or 0.
    int HitTestDay(const POINT* pt) const;

    // The popup with a day's text hung under pt (client pixels), or hidden when the day has none.
    void ShowNotePopup(int day, POINT* pt);
    // Today's notes under today's cell, when today's month is shown.
    void ShowTodayNotes();
    // Hides the popup; the next move onto a day shows that day's again.
    void HidePopup();

    // Read access for tests and the viewer.
    int HotDay() const { return m_hotDay; }
    int TodayDay() const { return m_todayDay; }
    const DayCell& Cell(int day) const { return m_layout.cells[day]; }
    CNotePopup* Popup() const { return m_popup.get(); }

    // Draws the whole client area (but the strip labels) into dc.
    void PaintInto(HDC dc, const RECT& client);

protected:
    void OnPaint();
    void OnMouseMove(UINT flags, CPoint point);
    // The pointer left the grid: the popup goes.
    LRESULT OnMouseLeave(WPARAM, LPARAM);
    void OnLButtonUp(UINT flags, CPoint point);
    LRESULT OnLinkClicked(WPARAM wParam, LPARAM lParam);

    void DrawWeekHeader(CDC* dc, const RECT& r);
    void DrawDays(CDC* dc, const RECT& r);
    // The ring that marks today, inside its cell (cell: the cell's pixels).
    void DrawTodayRing(CDC* dc, const CRect& cell);

private:
    void UpdateYearTitle();
    void MakeFonts();
    // The strip's height, so that it starts where the scaled 96 DPI strip starts.
    int StripHeight() const { return S(kGridHeight) - S(kGridHeight - kStripHeight); }
    bool TodayShown() const { return m_todayYear == m_layout.year && m_todayMonth == m_layout.month; }

    MonthLayout m_layout{};
    uint16_t m_hotDay = 0;
    uint16_t m_todayYear = 0, m_todayMonth = 0, m_todayDay = 0;

    MonthNotes m_notes;
    const HolidayTable* m_holidays = &HolidayTable::BuiltIn();

    CFont m_dayFont, m_labelFont, m_labelBoldFont, m_holidayFont;
    // A smaller bold face of normal width for a month name too wide for its cell ("闰十一月").
    CFont m_narrowLabelFonts[2];
    std::unique_ptr<CNotePopup> m_popup;
    CColorLabel m_yearTitle;
    CClickLabel m_homeLink, m_loginLink, m_helpLink;
    ClickHandlers m_clicks;
    bool m_trackingLeave = false;  // TrackMouseEvent asked for WM_MOUSELEAVE

    DECLARE_MESSAGE_MAP()
};
