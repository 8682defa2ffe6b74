// The main window's decisions.
#include "app/app_model.h"

#include <algorithm>

namespace {

constexpr int kFirstIndex = kFirstShownYear * 12 + (kFirstShownMonth - 1);
constexpr int kLastIndex = kLastShownYear * 12 + (kLastShownMonth - 1);

}  // namespace

YearMonth StepMonth(YearMonth ym, int delta) {
    long long index = static_cast<long long>(ym.year) * 12 + (ym.month - 1) + delta;
    index = std::max<long long>(kFirstIndex, std::min<long long>(kLastIndex, index));
    return YearMonth{static_cast<int>(index / 12), static_cast<int>(index % 12) + 1};
}

YearMonth MonthOfBoxes(int yearIndex, int* monthIndex) {
    if (yearIndex == 0 && *monthIndex == 0) *monthIndex = 1;
    return YearMonth{kFirstShownYear + yearIndex, *monthIndex + 1};
}

TickWork WorkOfTick(int counter, bool haveHeadline) {
    TickWork work{false, false};
    if (counter == -1) {
        work.showTodayNotes = true;
    } else if (counter >= 0 && counter % 60 == 0) {
        work.fetchHeadline = !haveHeadline || counter % 3600 == 0;
    }
    return work;
}

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
