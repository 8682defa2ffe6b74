// Where and how often the program fetches the holiday-cn year files (CMake cache variables
// VESTREL_HOLIDAY_URL, VESTREL_HOLIDAY_ROUND_SECONDS and VESTREL_HOLIDAY_REFETCH_SECONDS).
#include "web/holiday_fetcher.h"

const char* const kHolidayUrl = VESTREL_HOLIDAY_URL;
const long long kHolidayRoundSeconds = VESTREL_HOLIDAY_ROUND_SECONDS;
const long long kHolidayRefetchSeconds = VESTREL_HOLIDAY_REFETCH_SECONDS;
