# cmake -DIN=calendar/holidays.txt -DOUT=.../holidays_data.cpp -P cmake/EmbedHolidays.cmake
#
# Writes the UTF-8 holiday data into a C++ source as one raw narrow string literal. The sources are
# compiled with -finput-charset=UTF-8 -fexec-charset=GBK, so the compiler stores the literal as GBK
# bytes: the program holds the data in GBK, the encoding of the notes folder's 假日.txt, and parses
# both alike. A character GBK cannot hold, or bytes that are not UTF-8, stop the build there.
if(NOT IN OR NOT OUT)
  message(FATAL_ERROR "EmbedHolidays.cmake needs -DIN=<holidays.txt> -DOUT=<file.cpp>")
endif()
file(READ "${IN}" text)
set(delimiter "vestrel_holidays")
string(FIND "${text}" ")${delimiter}\"" clash)
if(NOT clash EQUAL -1)
  message(FATAL_ERROR "${IN} holds the literal's closing delimiter )${delimiter}\"")
endif()
set(code "// Generated from ${IN} by cmake/EmbedHolidays.cmake; edit that file instead.
#include <cstddef>

extern const char kBuiltInHolidays[];
extern const size_t kBuiltInHolidaysSize;

const char kBuiltInHolidays[] = R\"${delimiter}(${text})${delimiter}\";
const size_t kBuiltInHolidaysSize = sizeof kBuiltInHolidays - 1;
")
# Rewritten only when it changes, so an unchanged data file recompiles nothing.
set(old "")
if(EXISTS "${OUT}")
  file(READ "${OUT}" old)
endif()
if(NOT old STREQUAL code)
  file(WRITE "${OUT}" "${code}")
endif()
