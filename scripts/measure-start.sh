#!/usr/bin/env bash
# Prints how long Vestrel.exe takes from its start to the first paint of the calendar under Wine,
# with the prefix's wineserver already running, on a private Xvfb screen; and the size of the exe.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
exe="$root/build/windows/Vestrel.exe"
source "$root/scripts/wine-env.sh"
"$root/scripts/wine-prefix.sh"
display=""
for n in $(seq 130 179); do
  [ -e "/tmp/.X$n-lock" ] || { display=":$n"; break; }
done
[ -n "$display" ] || { echo "measure-start: no free display number" >&2; exit 1; }
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 100); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo -display "$display" >/dev/null 2>&1 || { echo "measure-start: Xvfb did not start on $display" >&2; exit 1; }
wineserver -p 60 2>/dev/null || true  # keep the server up between runs (one may be running already)
shot=$(mktemp --suffix=.png)
for run in 1 2 3; do
  start=$(date +%s%N)
  DISPLAY="$display" wine "$exe" >/dev/null 2>&1 &
  app=$!
  while :; do
    import -display "$display" -window root "$shot" 2>/dev/null || true
    n=$(convert "$shot" -fill black +opaque 'rgb(50,80,90)' -fill white -opaque 'rgb(50,80,90)' \
          -format '%[fx:round(mean*w*h)]' info: 2>/dev/null || echo 0)
    [ "${n:-0}" -gt 2000 ] && break
    [ $(( ($(date +%s%N) - start) / 1000000 )) -gt 20000 ] && { echo "start: no paint within 20 s"; break; }
  done
  echo "start to first paint (run $run): $(( ($(date +%s%N) - start) / 1000000 )) ms (screen polled with import)"
  kill "$app" 2>/dev/null || true
  wait "$app" 2>/dev/null || true
  sleep 0.5
done
rm -f "$shot"
echo "Vestrel.exe: $(stat -c %s "$exe") bytes, stripped; DLLs it needs beyond Windows': $(x86_64-w64-mingw32-objdump -p "$exe" | grep 'DLL Name' | grep -viE 'kernel32|user32|gdi32|comdlg32|shell32|ws2_32|winhttp|advapi32|msvcrt|comctl32|ole32|psapi' | wc -l)"
