// What the main window decides, apart from any window: month navigation within February 1900 ...
// December 2100, the year and month boxes, the timer's schedule, and whether a stored window
// position can still be reached on the monitors there are. Portable.
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

// What timer 1 does on a tick; counter starts at -2 and grows by one a tick.
struct TickWork {
    bool showTodayNotes;
    bool fetchHeadline;
};
TickWork WorkOfTick(int counter, bool haveHeadline);

struct PixelRect {
    int left, top, right, bottom;
};

// True when a width x height piece of strip lies on one of the monitors.
bool StripReachable(const PixelRect& strip, const std::vector<PixelRect>& monitors, int width, int height);

// The window origin to use: the stored one when the window's strip (stripWidth x stripHeight from
// the origin) keeps a needWidth x needHeight piece on a monitor, else the default.
struct Origin {
    int x, y;
};
Origin ReachableOrigin(bool haveStored, Origin stored, Origin fallback, int stripWidth, int stripHeight,
                       const std::vector<PixelRect>& monitors, int needWidth, int needHeight);
