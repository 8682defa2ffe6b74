# The real binary without a GBK converter (SHIM, preloaded, makes iconv_open fail): every mode that
# prints calendar text stops with status 1, one line on stderr and nothing on stdout, instead of
# passing GBK through; --help (UTF-8 only) and a bad argument are as ever.
# Each row: the status, then the arguments.
set(rows
  "1 2017 1"
  "1 --days 2017-01-01 2017-01-02"
  "1 --details 2017-01-01 2017-01-02"
  "1 --find x --notes /"
  "1 --terms 2017 2017"
  "1 --holidays 2026 2026"
  "1 --ics 2026 2026 --holidays"
  "0 --help"
  "2 2101 1")
foreach(row IN LISTS rows)
  separate_arguments(row UNIX_COMMAND "${row}")
  list(POP_FRONT row status)
  # AddressSanitizer wants its runtime first in the list of libraries; the shim goes before it.
  execute_process(COMMAND ${CMAKE_COMMAND} -E env LD_PRELOAD=${SHIM} ASAN_OPTIONS=verify_asan_link_order=0
                          ${TOOL} ${row}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  string(REGEX MATCHALL "\n" newlines "${err}")
  list(LENGTH newlines lines)
  if(NOT rc EQUAL status)
    message(SEND_ERROR "${row}: expected status ${status}, got ${rc}: ${err}")
  elseif(status EQUAL 1 AND (NOT out STREQUAL "" OR NOT lines EQUAL 1 OR NOT err MATCHES "^vestrel-cal: no converter from GBK"))
    message(SEND_ERROR "${row}: expected no output and one line naming the converter; got '${out}', '${err}'")
  endif()
endforeach()
