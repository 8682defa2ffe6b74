// The day-note dialog's holiday line: a marked day and the source of the notice year deciding it.
#include <gtest/gtest.h>

#include <string>

#include "notes/day_holiday.h"

namespace {

TEST(HolidaySourceLine, NamesTheNoticesTheFileOrTheAddress) {
    const std::string text = "年 2027 自定 -\n休 元旦 2027-01-01\n";
    const HolidayTable user = HolidayTable::Parse(text.data(), text.size(), "假日.txt", nullptr);
    const std::string lines = "年 2028 holiday-cn -\n班 春节 2028-01-29\n";
    HolidayTable fetched = HolidayTable::Parse(lines.data(), lines.size(), "", nullptr);
    fetched.SetSource(HolidayOrigin::Fetched, "https://www.gov.cn/a.htm");
    const HolidayTable all = HolidayTable::Combine(HolidayTable::BuiltIn(), user, {fetched});
    struct { int y, m, d; const char* line; } rows[] = {
        {2026, 10, 1, "国庆节 放假　来源：国办发明电〔2025〕7号（2025年11月4日）"},
        {2020, 1, 31, "春节 放假　来源：国办发明电〔2019〕16号（2019年11月21日）、国办发明电〔2020〕1号（2020年1月26日）"},
        {2006, 12, 30, "元旦 调休上班　来源：国办发明电〔2006〕49号（2006年12月14日）"},  // 2007's notice
        {2008, 1, 1, "元旦 放假　来源：国办发明电〔2007〕52号"},                           // its date unknown
        {2027, 1, 1, "元旦 放假　来源：假日.txt"},
        {2028, 1, 29, "春节 调休上班　来源：https://www.gov.cn/a.htm"},
        {2026, 10, 12, ""},
        {2027, 1, 2, ""},
    };
    for (const auto& r : rows) EXPECT_EQ(HolidaySourceLine(all, r.y, r.m, r.d), r.line) << r.y << "-" << r.m << "-" << r.d;
}

}  // namespace
