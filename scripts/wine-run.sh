#!/usr/bin/env bash
# Runs a Windows program (a test executable, Vestrel.exe) in the project's Wine prefix, on the
# current X display or, without one, on a private Xvfb screen. The program's exit status is ours.
set -euo pipefail
here="$(dirname "${BASH_SOURCE[0]}")"
source "$here/wine-env.sh"
"$here/wine-prefix.sh"

if [ -n "${DISPLAY:-}" ]; then
  exec wine "$@"
else
  exec xvfb-run -a -s "-screen 0 1024x768x24" wine "$@"
fi
