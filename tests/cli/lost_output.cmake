# The real binary when its output cannot be written: status 1 and one line on stderr, for a full
# device, a closed stdout and, with SIGPIPE ignored, a pipe whose reader has gone.
function(expect_lost what rc err)
  string(REGEX MATCHALL "\n" newlines "${err}")
  list(LENGTH newlines lines)
  if(NOT rc EQUAL 1 OR NOT lines EQUAL 1 OR NOT err MATCHES "^vestrel-cal: ")
    message(SEND_ERROR "${what}: expected status 1 and one line on stderr; got ${rc}, '${err}'")
  endif()
endfunction()

execute_process(COMMAND ${TOOL} 2017 1 OUTPUT_FILE /dev/full RESULT_VARIABLE rc ERROR_VARIABLE err)
expect_lost("vestrel-cal 2017 1 >/dev/full" "${rc}" "${err}")

execute_process(COMMAND sh -c "exec \"$0\" 2017 1 >&-" ${TOOL} RESULT_VARIABLE rc ERROR_VARIABLE err)
expect_lost("vestrel-cal 2017 1 >&-" "${rc}" "${err}")

# More output than a pipe holds, so the writer meets the closed pipe whatever the timing.
execute_process(
  COMMAND bash -c "trap '' PIPE; \"$0\" --days 1900-02-01 2049-12-31 | true; exit \${PIPESTATUS[0]}" ${TOOL}
  RESULT_VARIABLE rc ERROR_VARIABLE err)
expect_lost("vestrel-cal --days ... | true, SIGPIPE ignored" "${rc}" "${err}")

execute_process(COMMAND ${TOOL} 2017 1 OUTPUT_FILE /dev/null RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT err STREQUAL "")
  message(SEND_ERROR "vestrel-cal 2017 1 >/dev/null: expected status 0 and no message; got ${rc}, '${err}'")
endif()
