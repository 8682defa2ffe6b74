// Where a window may be placed on the monitors there are.
#include "platform/placement.h"

#include <algorithm>

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
