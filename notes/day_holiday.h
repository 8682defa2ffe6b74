// The holiday line of the day-note dialog: what a marked day is and where that comes from. Portable.
#pragma once

#include <string>

#include "calendar/holidays.h"

// For a day the table marks (GBK): "春节 放假" or "春节 调休上班", then "　来源：" and the source of
// the notice year that decides it (the day's year, or the next one for a day in December its notice
// names): the notices for built-in data ("国办发明电〔2025〕7号（2025年11月4日）", amendments after
// the first, joined by "、"), the notice's address for a fetched holiday-cn year, or the file's name
// ("假日.txt"). "" for a day the table does not mark.
std::string HolidaySourceLine(const HolidayTable& table, int year, int month, int day);
