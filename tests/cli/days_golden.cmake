# The real binary: --days writes exactly the bytes recorded before its formatting was rewritten
# for speed, and before the calendar reached past 2049. That range is checked by its SHA-256; a few stretches are kept as text under
# golden/, so a difference there shows the line that changed.
#   golden/days-1900-02-01-1900-03-31.txt   the first days on offer
#   golden/days-2017-01-01-2017-12-31.txt   a year with a leap sixth month
#   golden/days-2033-07-01-2034-03-31.txt   a leap eleventh month and a lunar year across two Gregorian ones
#   golden/days-2049-11-01-2049-12-31.txt   the last days of 2049
# Since Gregorian festivals name only days from their first year on, 156 lines of 1900 ... 1949 (元旦
# before 1912; 劳动节, 儿童节, 国庆 before 1950, each not on a lunar festival) lost the festival
# from their label and festival columns; nothing else changed.
set(whole_range_sha256 369571cd236d124bb640fd26d3c103f715dbcebfebd2a5764231cea449bf509d)

execute_process(COMMAND ${TOOL} --days 1900-02-01 2049-12-31 OUTPUT_FILE ${WORK}/days-whole-range.txt
                RESULT_VARIABLE rc)
file(SHA256 ${WORK}/days-whole-range.txt sha)
if(NOT rc EQUAL 0 OR NOT sha STREQUAL whole_range_sha256)
  message(SEND_ERROR "--days 1900-02-01 2049-12-31: status ${rc}, SHA-256 ${sha}, expected ${whole_range_sha256}")
endif()

foreach(range 1900-02-01-1900-03-31 2017-01-01-2017-12-31 2033-07-01-2034-03-31 2049-11-01-2049-12-31)
  string(SUBSTRING ${range} 0 10 from)
  string(SUBSTRING ${range} 11 10 to)
  execute_process(COMMAND ${TOOL} --days ${from} ${to} OUTPUT_FILE ${WORK}/days-${range}.txt RESULT_VARIABLE rc)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/days-${range}.txt ${GOLDEN}/days-${range}.txt
                  RESULT_VARIABLE differs)
  if(NOT rc EQUAL 0 OR NOT differs EQUAL 0)
    message(SEND_ERROR "--days ${from} ${to} differs from golden/days-${range}.txt (status ${rc}); see "
                       "diff ${WORK}/days-${range}.txt ${GOLDEN}/days-${range}.txt")
  endif()
endforeach()
