#!/usr/bin/env bash
# Shows the calendar: Vestrel.exe under Wine in the project's prefix. On a display ($DISPLAY set)
# it runs until the user ends it. Without one it runs on a private Xvfb screen, waits until the
# calendar has painted, saves a screenshot of the screen to build/screenshot.png, prints that path
# and ends the program.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
exe="$root/build/windows/Vestrel.exe"
[ -f "$exe" ] || { echo "run: $exe is not built" >&2; exit 1; }
source "$root/scripts/wine-env.sh"
"$root/scripts/wine-prefix.sh"

if [ -n "${DISPLAY:-}" ]; then
  exec wine "$exe"
fi

shot="$root/build/screenshot.png"
# The strip colour of the calendar's top strip, RGB(50, 80, 90): once many pixels have it, the
# calendar has painted.
painted() {
  import -display "$1" -window root "$shot.part.png" 2>/dev/null || return 1
  local n
  n=$(convert "$shot.part.png" -fill black +opaque 'rgb(50,80,90)' -fill white -opaque 'rgb(50,80,90)' \
        -format '%[fx:round(mean*w*h)]' info: 2>/dev/null || echo 0)
  [ "${n:-0}" -gt 2000 ]
}

run_on_virtual_screen() {
  local display=":$1"
  Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  local xvfb=$!
  trap 'kill "$xvfb" 2>/dev/null || true' RETURN
  for _ in $(seq 50); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.1; done
  DISPLAY="$display" wine "$exe" >/dev/null 2>&1 &
  local app=$!
  local ok=1
  for _ in $(seq 150); do
    if painted "$display"; then ok=0; break; fi
    sleep 0.2
  done
  sleep 0.5
  import -display "$display" -window root "$shot" 2>/dev/null || ok=1
  rm -f "$shot.part.png"
  kill "$app" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  wait "$app" 2>/dev/null || true
  return $ok
}

for n in $(seq 90 120); do
  [ -e "/tmp/.X$n-lock" ] && continue
  if run_on_virtual_screen "$n"; then
    echo "$shot"
    exit 0
  fi
  echo "run: the calendar did not paint within 30 s" >&2
  exit 1
done
echo "run: no free display number" >&2
exit 1
