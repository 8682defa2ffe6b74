// Calendar core timings: converting every day of the lunar table, stepping through it, and laying
// out every month on offer. Prints ns per day and per month.
#include <benchmark/benchmark.h>

#include "calendar/gregorian.h"
#include "calendar/lunar.h"
#include "calendar/month_layout.h"

namespace {

const int32_t kFirst = DayNumber(1900, 1, 31);
const int32_t kLast = DayNumber(2101, 1, 28);
const int32_t kDays = kLast - kFirst + 1;

// Seconds per item, printed with an SI prefix (43.9n = 43.9 ns).
benchmark::Counter TimePer(double items) {
    return benchmark::Counter(items, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void FromSolarEveryDay(benchmark::State& state) {
    for (auto _ : state) {
        for (int32_t n = kFirst; n <= kLast; ++n) {
            const SolarDate d = SolarFromDayNumber(n);
            benchmark::DoNotOptimize(LunarDate::FromSolar(d.year, d.month, d.day));
        }
    }
    state.counters["per_day"] = TimePer(kDays);
}
BENCHMARK(FromSolarEveryDay)->Unit(benchmark::kMillisecond);

void NextDayWholeRange(benchmark::State& state) {
    for (auto _ : state) {
        LunarDate l = LunarDate::FromSolar(1900, 1, 31);
        for (int32_t i = 1; i < kDays; ++i) l.NextDay();
        benchmark::DoNotOptimize(l);
    }
    state.counters["per_day"] = TimePer(kDays);
}
BENCHMARK(NextDayWholeRange)->Unit(benchmark::kMicrosecond);

void LayOutAllMonths(benchmark::State& state) {
    MonthLayout m;
    for (auto _ : state) {
        for (int y = 1900; y <= 2100; ++y) {
            for (int mo = (y == 1900 ? 2 : 1); mo <= 12; ++mo) {
                LayOutMonth(y, mo, &m);
                benchmark::DoNotOptimize(m);
            }
        }
    }
    state.counters["per_month"] = TimePer(2411);
}
BENCHMARK(LayOutAllMonths)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
