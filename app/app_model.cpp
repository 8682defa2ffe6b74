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
