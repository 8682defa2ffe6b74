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
