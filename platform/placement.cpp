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

Origin FirstWhole(std::initializer_list<Origin> places, int width, int height, const std::vector<PixelRect>& monitors) {
    for (const Origin& o : places)
        if (WholeOnAMonitor(o, width, height, monitors)) return o;
    return *places.begin();
}

}  // namespace

Origin BelowOrAbove(const PixelRect& anchor, int width, int height, int gap, const std::vector<PixelRect>& monitors) {
    return FirstWhole({Origin{anchor.left, anchor.bottom + gap}, Origin{anchor.left, anchor.top - gap - height}}, width,
                      height, monitors);
}

Origin RightOrLeft(const PixelRect& anchor, int top, int width, int height, int gap,
                   const std::vector<PixelRect>& monitors) {
    return FirstWhole({Origin{anchor.right + gap, top}, Origin{anchor.left - gap - width, top}}, width, height,
                      monitors);
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

Origin CentreOver(const PixelRect& owner, int width, int height, const PixelRect& area) {
    const long long x = (static_cast<long long>(owner.left) + owner.right - width) / 2;
    const long long y = (static_cast<long long>(owner.top) + owner.bottom - height) / 2;
    return KeepInside(Origin{static_cast<int>(x), static_cast<int>(y)}, width, height, area);
}
