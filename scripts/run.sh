#!/usr/bin/env bash
# Shows the calendar: Vestrel.exe under Wine when it has been built, else the terminal calendar.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if [ -x "$root/build/windows/Vestrel.exe" ] || [ -f "$root/build/windows/Vestrel.exe" ]; then
  exec "$root/scripts/wine-run.sh" "$root/build/windows/Vestrel.exe"
elif [ -x "$root/build/native/vestrel-cal" ]; then
  exec "$root/build/native/vestrel-cal" "$@"
else
  echo "Built so far:"
  find "$root/build/native" "$root/build/windows" -maxdepth 3 -type f \( -name '*.exe' -o -perm -u+x \) \
       -not -path '*/CMakeFiles/*' -not -path '*/googletest/*' 2>/dev/null | sed "s|$root/||" | sort
fi
