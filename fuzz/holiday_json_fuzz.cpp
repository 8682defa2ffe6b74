// libFuzzer target: the holiday-cn year file reader on any bytes. A file is used whole or not at
// all: what it gives holds one year, inside that year and the December before, every 班 day on a
// weekend, and the precedence keeps a built-in year built-in.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "calendar/gregorian.h"
#include "calendar/holiday_json.h"

// The built-in data this target links in place of calendar/holidays.txt: one year, 2025.
extern const char kBuiltInHolidays[];
extern const size_t kBuiltInHolidaysSize;
const char kBuiltInHolidays[] = "年 2025 n -\n休 x 2025-01-01\n";
const size_t kBuiltInHolidaysSize = sizeof kBuiltInHolidays - 1;

namespace {

void Check(const char* data, size_t size, int year) {
    const HolidayJsonResult r = ReadHolidayJson(data, size, year);
    if (r.status != HolidayJsonStatus::Ok) {
        if (!r.table.Years().empty() || !r.papers.empty() || r.reason.empty()) std::abort();
        return;
    }
    if ((year != 0 && r.year != year) || r.table.Years() != std::vector<int>{r.year} || r.papers.empty())
        std::abort();
    const HolidaySource* source = r.table.Source(r.year);
    if (source == nullptr || source->origin != HolidayOrigin::Fetched || source->address != r.papers[0]) std::abort();
    const std::vector<HolidayDay> days = r.table.DaysOf(r.year);
    if (days.empty() || days.size() > kHolidayJsonMaxDays) std::abort();
    for (const HolidayDay& d : days) {
        if (d.dayNumber < DayNumber(r.year - 1, 12, 1) || d.dayNumber > DayNumber(r.year, 12, 31)) std::abort();
        const SolarDate s = SolarFromDayNumber(d.dayNumber);
        if (d.mark == HolidayMark::Work && DayOfWeek(s.year, s.month, s.day) % 6 != 0) std::abort();
        if (d.name == nullptr || d.name[0] == '\0') std::abort();
    }
    const HolidayTable combined = HolidayTable::Combine(HolidayTable::BuiltIn(), HolidayTable(), {r.table});
    const HolidayOrigin expected = r.year == 2025 ? HolidayOrigin::BuiltIn : HolidayOrigin::Fetched;
    if (combined.Source(r.year) == nullptr || combined.Source(r.year)->origin != expected) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact-size copy, so AddressSanitizer sees any read past the end.
    char* copy = static_cast<char*>(std::malloc(size ? size : 1));
    if (size) std::memcpy(copy, data, size);
    Check(copy, size, 0);
    Check(copy, size, 2026);
    std::string gbk;
    if (HolidayNameToGbk(std::string(copy, size), &gbk) && gbk.size() > size) std::abort();
    std::free(copy);
    return 0;
}
