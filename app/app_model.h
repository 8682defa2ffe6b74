// What the main window decides, apart from any window: month navigation within February 1900 ...
// December 2100, the year and month boxes and the timer's schedule. Portable.
#pragma once

#include <vector>

constexpr int kFirstShownYear = 1900, kFirstShownMonth = 2;  // February 1900
constexpr int kLastShownYear = 2100, kLastShownMonth = 12;   // December 2100

struct YearMonth {
    int year;
    int month;
    friend bool operator==(YearMonth a, YearMonth b) { return a.year == b.year && a.month == b.month; }
};

// The month delta months away from ym, held within February 1900 ... December 2100.
YearMonth StepMonth(YearMonth ym, int delta);

// The month the boxes select (year index 0 = 1900, month index 0 = January): January 1900, which
// cannot be shown, becomes February 1900. *monthIndex is corrected in place.
YearMonth MonthOfBoxes(int yearIndex, int* monthIndex);

// The year typed into the year box: digits with spaces round them and "年" (GBK) after them
// allowed, within kFirstShownYear ... kLastShownYear; 0 for anything else.
int TypedYear(const char* text);

// What timer 1 does on a tick; counter starts at -2 and grows by one a tick.
struct TickWork {
    bool showTodayNotes;
    bool fetchHeadline;
};
TickWork WorkOfTick(int counter, bool haveHeadline);
