#!/usr/bin/env bash
# wine-at-dpi.sh DPI... -- PROGRAM [ARGS...]: runs a Windows program once at each display scale, in a
# copy of the project's Wine prefix whose LogPixels (read when a process starts) is switched between
# runs, with --at-dpi=N put before its arguments. The project's own prefix is never changed, so a
# run cut short leaves no other test at a strange scale. Fails when any run fails.
set -euo pipefail
[ -n "${DISPLAY:-}" ] || exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
here="$(dirname "${BASH_SOURCE[0]}")"
source "$here/wine-env.sh"
"$here/wine-prefix.sh"

dpis=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do dpis+=("$1"); shift; done
shift
source_prefix="$WINEPREFIX"
export WINEPREFIX="$source_prefix-dpi"
# The copy follows the prefix's settings: made again when the prefix was set up after it.
exec 9>"$source_prefix.dpi.lock"
flock 9
if [ ! -f "$WINEPREFIX/.vestrel-ready" ] || [ "$source_prefix/.vestrel-ready" -nt "$WINEPREFIX/.vestrel-ready" ]; then
  rm -rf "$WINEPREFIX"
  cp -a --reflink=auto "$source_prefix" "$WINEPREFIX"
  touch "$WINEPREFIX/.vestrel-ready"
fi

status=0
for dpi in "${dpis[@]}"; do
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  wine "$1" "--at-dpi=$dpi" "${@:2}" || { echo "wine-at-dpi: failed at $dpi DPI" >&2; status=1; }
done
wineserver -k 2>/dev/null || true
exit $status
