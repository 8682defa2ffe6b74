// The main window's decisions: the calendar state and its steps, the boxes, the timer.
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

int TypedYear(const char* text) {
    if (text == nullptr) return 0;
    const char* p = text;
    while (*p == ' ') ++p;
    int year = 0, digits = 0;
    for (; *p >= '0' && *p <= '9' && digits < 5; ++p, ++digits) year = year * 10 + (*p - '0');
    if (digits == 0) return 0;
    if (p[0] == '\xC4' && p[1] == '\xEA') p += 2;  // "年"
    while (*p == ' ') ++p;
    if (*p != '\0' || year < kFirstShownYear || year > kLastShownYear) return 0;
    return year;
}

const LocalDate* CalendarState::TodayInRange() const {
    const YearMonth ym{today.year, today.month};
    return StepMonth(ym, 0) == ym ? &today : nullptr;
}

CalendarState Stepped(CalendarState s, int delta) {
    s.shown = StepMonth(s.shown, delta);
    return s;
}

CalendarState Showing(CalendarState s, YearMonth ym) {
    s.shown = StepMonth(ym, 0);
    return s;
}

CalendarState AtToday(CalendarState s, LocalDate now) {
    s.today = now;
    s.shown = StepMonth(YearMonth{now.year, now.month}, 0);
    return s;
}

CalendarState WithTypedYear(CalendarState s, const char* text, bool* accepted) {
    const int year = TypedYear(text);
    *accepted = year != 0;
    if (year != 0) s.shown = StepMonth(YearMonth{year, s.shown.month}, 0);
    return s;
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
