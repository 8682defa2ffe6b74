// Whether a stored window position can still be reached on the monitors there are, and where a
// window opened over another or hung under the pointer goes so that it stays whole on its monitor.
// Portable: the monitor list comes from platform/monitors.h on Windows and from tests elsewhere.
#pragma once

#include <vector>

#include "platform/dpi.h"

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

// Where a window of width x height goes beside an anchor window (both screen rectangles) so that
// it lies whole on a monitor: the first of the places tried that does, else the first place moved
// onto the monitor that holds most of it.
// Below the anchor (left edges aligned, gap pixels apart), then above it, then right of it, then
// left of it (tops aligned): a window kept beside the calendar, over it only when none of the four
// places lies whole on a monitor (then below it, moved onto the screen).
Origin BesideCalendar(const PixelRect& anchor, int width, int height, int gap, const std::vector<PixelRect>& monitors);
// Right of the anchor (tops given by top), then left of it.
Origin RightOrLeft(const PixelRect& anchor, int top, int width, int height, int gap,
                   const std::vector<PixelRect>& monitors);
// Right of the anchor (tops aligned), then left of it, then below it, then above it (left edges
// aligned), gap pixels apart: a window that should leave its anchor in view.
Origin OnAnySide(const PixelRect& anchor, int width, int height, int gap, const std::vector<PixelRect>& monitors);
// The origin that keeps a width x height window at o inside area, moved and never cut: pushed left
// of area's right and bottom edges, then right of its left and top edges (so a window larger than
// area keeps its top-left corner on area).
Origin KeepInside(Origin o, int width, int height, const PixelRect& area);
// A width x height window hung under a pointer: 12 pixels below it and centred (+2), both scaled
// to dpi; above the pointer when there is no room below it; inside area either way.
Origin HangUnder(int pointerX, int pointerY, int width, int height, const PixelRect& area, int dpi = kBaseDpi);
// Where a note's popup may go: the day cells and the calendar window that holds them and its
// controls (screen rectangles), the work area, the scale.
struct PopupBounds {
    PixelRect cells, calendar, area;
    int dpi = kBaseDpi;
};
// The tallest popup width pixels wide PlacePopup can place without covering the pointer or the
// calendar's controls: under or over the pointer within the cells, or beside the calendar.
int PopupRoom(int pointerY, int width, const PopupBounds& b);
// Its place: hung under the pointer (as HangUnder) when it ends above the cells' bottom, else over
// the pointer when it starts below their top, else beside the calendar (right, then left, as near
// the pointer's height as the area allows), else over or under the pointer, the larger room.
Origin PlacePopup(int pointerX, int pointerY, int width, int height, const PopupBounds& b);
// A width x height window centred over owner, inside area.
Origin CentreOver(const PixelRect& owner, int width, int height, const PixelRect& area);
