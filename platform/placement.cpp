// Where a window may be placed on the monitors there are.
#include "platform/placement.h"

#include <algorithm>
#include <initializer_list>

bool StripReachable(const PixelRect& strip, const std::vector<PixelRect>& monitors, int width, int height) {
    for (const PixelRect& m : monitors) {
        const long long w = static_cast<long long>(std::min(strip.right, m.right)) - std::max(strip.left, m.left);
        const long long h = static_cast<long long>(std::min(strip.bottom, m.bottom)) - std::max(strip.top, m.top);
        if (w >= width && h >= height) return true;
    }
    return false;
}

Origin ReachableOrigin(bool haveStored, Origin stored, Origin fallback, int stripWidth, int stripHeight,
                       const std::vector<PixelRect>& monitors, int needWidth, int needHeight) {
    if (!haveStored) return fallback;
    // In 64 bits: a damaged value near INT_MAX must not wrap round onto the screen.
    const long long right = static_cast<long long>(stored.x) + stripWidth;
    const long long bottom = static_cast<long long>(stored.y) + stripHeight;
    if (right > 0x7FFFFFFF || bottom > 0x7FFFFFFF) return fallback;
    const PixelRect strip{stored.x, stored.y, static_cast<int>(right), static_cast<int>(bottom)};
    return StripReachable(strip, monitors, needWidth, needHeight) ? stored : fallback;
}

namespace {

bool WholeOnAMonitor(Origin o, int width, int height, const std::vector<PixelRect>& monitors) {
    return StripReachable(PixelRect{o.x, o.y, o.x + width, o.y + height}, monitors, width, height);
}

long long Overlap(const PixelRect& a, const PixelRect& b) {
    const long long w = static_cast<long long>(std::min(a.right, b.right)) - std::max(a.left, b.left);
    const long long h = static_cast<long long>(std::min(a.bottom, b.bottom)) - std::max(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}

// The first place where the window lies whole on a monitor; where none does, the first place
// moved onto the monitor that holds most of it there (a window too large for the screen may cover
// its anchor, but never lies off screen).
Origin FirstWhole(std::initializer_list<Origin> places, int width, int height, const std::vector<PixelRect>& monitors) {
    for (const Origin& o : places)
        if (WholeOnAMonitor(o, width, height, monitors)) return o;
    const Origin first = *places.begin();
    if (monitors.empty()) return first;
    const PixelRect window{first.x, first.y, first.x + width, first.y + height};
    const PixelRect* best = &monitors.front();
    for (const PixelRect& m : monitors)
        if (Overlap(window, m) > Overlap(window, *best)) best = &m;
    return KeepInside(first, width, height, *best);
}

}  // namespace

Origin BesideCalendar(const PixelRect& anchor, int width, int height, int gap, const std::vector<PixelRect>& monitors) {
    return FirstWhole({Origin{anchor.left, anchor.bottom + gap}, Origin{anchor.left, anchor.top - gap - height},
                       Origin{anchor.right + gap, anchor.top}, Origin{anchor.left - gap - width, anchor.top}},
                      width, height, monitors);
}

Origin RightOrLeft(const PixelRect& anchor, int top, int width, int height, int gap,
                   const std::vector<PixelRect>& monitors) {
    return FirstWhole({Origin{anchor.right + gap, top}, Origin{anchor.left - gap - width, top}}, width, height,
                      monitors);
}

Origin OnAnySide(const PixelRect& anchor, int width, int height, int gap, const std::vector<PixelRect>& monitors) {
    return FirstWhole({Origin{anchor.right + gap, anchor.top}, Origin{anchor.left - gap - width, anchor.top},
                       Origin{anchor.left, anchor.bottom + gap}, Origin{anchor.left, anchor.top - gap - height}},
                      width, height, monitors);
}

Origin KeepInside(Origin o, int width, int height, const PixelRect& area) {
    // In 64 bits: a window and an area near the ends of int must not wrap.
    long long x = o.x, y = o.y;
    if (x + width > area.right) x = static_cast<long long>(area.right) - width;
    if (y + height > area.bottom) y = static_cast<long long>(area.bottom) - height;
    if (x < area.left) x = area.left;
    if (y < area.top) y = area.top;
    return Origin{static_cast<int>(x), static_cast<int>(y)};
}

Origin HangUnder(int pointerX, int pointerY, int width, int height, const PixelRect& area, int dpi) {
    const int gap = Scale(12, dpi);
    Origin o{pointerX - width / 2 + Scale(2, dpi), pointerY + gap};
    if (static_cast<long long>(o.y) + height > area.bottom && static_cast<long long>(pointerY) - gap - height >= area.top)
        o.y = pointerY - gap - height;
    return KeepInside(o, width, height, area);
}

namespace {

struct PopupRooms {
    long long below, above;  // inside the cells, the gap to the pointer kept
    bool right, left;        // a popup of the width fits beside the calendar
};

PopupRooms RoomsOf(int pointerY, int width, const PopupBounds& b) {
    const int gap = Scale(12, b.dpi), side = Scale(4, b.dpi);
    const long long bottom = std::min(b.cells.bottom, b.area.bottom), top = std::max(b.cells.top, b.area.top);
    return PopupRooms{std::max(0LL, bottom - pointerY - gap), std::max(0LL, pointerY - gap - top),
                      static_cast<long long>(b.calendar.right) + side + width <= b.area.right,
                      static_cast<long long>(b.calendar.left) - side - width >= b.area.left};
}

}  // namespace

int PopupRoom(int pointerY, int width, const PopupBounds& b) {
    const PopupRooms r = RoomsOf(pointerY, width, b);
    const long long beside = r.right || r.left ? static_cast<long long>(b.area.bottom) - b.area.top : 0;
    return static_cast<int>(std::max({r.below, r.above, beside}));
}

Origin PlacePopup(int pointerX, int pointerY, int width, int height, const PopupBounds& b) {
    const PopupRooms r = RoomsOf(pointerY, width, b);
    const int gap = Scale(12, b.dpi), side = Scale(4, b.dpi);
    Origin o{pointerX - width / 2 + Scale(2, b.dpi), pointerY + gap};
    if (height > r.below && (height <= r.above || (!r.right && !r.left && r.above > r.below))) {
        o.y = pointerY - gap - height;
    } else if (height > r.below && (r.right || r.left)) {
        o.x = r.right ? b.calendar.right + side : b.calendar.left - side - width;
        o.y = pointerY - height / 2;
    }
    return KeepInside(o, width, height, b.area);
}

Origin CentreOver(const PixelRect& owner, int width, int height, const PixelRect& area) {
    const long long x = (static_cast<long long>(owner.left) + owner.right - width) / 2;
    const long long y = (static_cast<long long>(owner.top) + owner.bottom - height) / 2;
    return KeepInside(Origin{static_cast<int>(x), static_cast<int>(y)}, width, height, area);
}
