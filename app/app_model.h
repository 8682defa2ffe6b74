// What the main window decides, apart from any window: the calendar state (the shown month and
// today), navigation within February 1900 ... December 2100, the year and month boxes and the
// timer's schedule. Portable.
#pragma once

constexpr int kFirstShownYear = 1900, kFirstShownMonth = 2;  // February 1900
constexpr int kLastShownYear = 2100, kLastShownMonth = 12;   // December 2100

struct YearMonth {
    int year;
    int month;
    friend bool operator==(YearMonth a, YearMonth b) { return a.year == b.year && a.month == b.month; }
    friend bool operator!=(YearMonth a, YearMonth b) { return !(a == b); }
};

// A local date as the clock gives it (any year, not only the shown range).
struct LocalDate {
    int year, month, day;
    friend bool operator==(LocalDate a, LocalDate b) {
        return a.year == b.year && a.month == b.month && a.day == b.day;
    }
    friend bool operator!=(LocalDate a, LocalDate b) { return !(a == b); }
};

// The month delta months away from ym, held within February 1900 ... December 2100.
YearMonth StepMonth(YearMonth ym, int delta);

// The month the boxes select (year index 0 = 1900, month index 0 = January): January 1900, which
// cannot be shown, becomes February 1900. *monthIndex is corrected in place.
YearMonth MonthOfBoxes(int yearIndex, int* monthIndex);

// The year typed into the year box: digits with spaces round them and "年" (GBK) after them
// allowed, within kFirstShownYear ... kLastShownYear; 0 for anything else.
int TypedYear(const char* text);

// What the calendar shows: one month, and today's date as the clock last gave it. The main window
// owns it; the grid is told what it says.
struct CalendarState {
    YearMonth shown{kFirstShownYear, kFirstShownMonth};  // always within the range
    LocalDate today{0, 0, 0};                            // {0, 0, 0} until the clock was read

    // Today's month lies in the range and is on show.
    bool TodayShown() const { return shown == YearMonth{today.year, today.month}; }
    // Today's day of month while today's month is on show, else 0.
    int TodayDayShown() const { return TodayShown() ? today.day : 0; }
    // Today when it lies within the range (the grid marks it), else null.
    const LocalDate* TodayInRange() const;
};

// The steps the calendar takes; each returns the new state.
// The month delta months away from the shown one (上月, 下月, Page Up/Down, the wheel).
CalendarState Stepped(CalendarState s, int delta);
// A month picked in the boxes or restored after a restart, held within the range.
CalendarState Showing(CalendarState s, YearMonth ym);
// "返回", Home, the start and a new date: today as the clock gives it, and its month on show (the
// nearest month of the range for a date outside it).
CalendarState AtToday(CalendarState s, LocalDate now);
// The year typed into the year box, in the shown month; *accepted false (the state unchanged) for
// a text TypedYear refuses.
CalendarState WithTypedYear(CalendarState s, const char* text, bool* accepted);
// Whether the timer's reading of the clock is a new date (midnight passed, or the clock was set).
inline bool DateChanged(const CalendarState& s, LocalDate now) { return s.today != now; }

// What timer 1 does on a tick; counter starts at -2 and grows by one a tick.
struct TickWork {
    bool showTodayNotes;
    bool fetchHeadline;
};
TickWork WorkOfTick(int counter, bool haveHeadline);
