// Whether a stored window position can still be reached on the monitors there are. Portable: the
// monitor list comes from platform/monitors.h on Windows and from tests elsewhere.
#pragma once

#include <vector>

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
// it lies whole on a monitor: the first of the places tried that does, else the first place.
// Below the anchor (left edges aligned, gap pixels apart), then above it.
Origin BelowOrAbove(const PixelRect& anchor, int width, int height, int gap, const std::vector<PixelRect>& monitors);
// Right of the anchor (tops given by top), then left of it.
Origin RightOrLeft(const PixelRect& anchor, int top, int width, int height, int gap,
                   const std::vector<PixelRect>& monitors);
