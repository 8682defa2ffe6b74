#!/usr/bin/env bash
# Runs ctest in each build folder given (make test: build/native, build/asan, build/windows), then
# prints one summary line over all of them.
# Exit status: non-zero when any test failed or any ctest run could not run.
set -uo pipefail
# In the sanitizer build a finding ends the test; this makes UBSan say where.
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"
passed=0; failed=0; status=0
for dir in "$@"; do
  log=$(mktemp)
  ctest --test-dir "$dir" --output-on-failure -j "$(nproc 2>/dev/null || echo 2)" 2>&1 | tee "$log"
  rc=${PIPESTATUS[0]}
  [ "$rc" -eq 0 ] || status=1
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)
  if [ -n "$line" ]; then
    nfail=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
    ntotal=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$line")
    passed=$((passed + ntotal - nfail)); failed=$((failed + nfail))
  else
    status=1
  fi
  rm -f "$log"
done
echo
echo "ctest: $passed passed, $failed failed"
exit $status
