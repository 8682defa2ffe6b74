#!/usr/bin/env bash
# Runs the GUI tests that save PNGs under three code pages for non-Unicode programs (zh_CN 936,
# en_US 1252, zh_TW 950) and fails unless every picture is pixel-identical to the zh_CN run's: the
# program must read the same whatever the Windows language. Each run's pictures are kept in
# <build>/tests/gui-shots-<locale>. Usage: gui-locales.sh BUILD_DIR
set -uo pipefail
build="$1"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
tests=(tests/grid/grid_tests.exe tests/app/main_window_tests.exe tests/widgets/widgets_tests.exe
       tests/notes/note_dialog_tests.exe)
status=0
for loc in zh_CN en_US zh_TW; do
  rm -rf "$build/tests/gui-shots-$loc"
  for t in "${tests[@]}"; do
    if ! VESTREL_WINE_LOCALE="$loc.UTF-8" VESTREL_SHOTS_SUFFIX="$loc" timeout 240 "$here/wine-run.sh" "$build/$t" \
        > "$build/tests/gui-locales-$loc-$(basename "$t" .exe).log" 2>&1; then
      echo "gui-locales: $t failed under $loc.UTF-8 (log: $build/tests/gui-locales-$loc-$(basename "$t" .exe).log)"
      tail -n 30 "$build/tests/gui-locales-$loc-$(basename "$t" .exe).log"
      status=1
    fi
  done
done
compared=0
for png in "$build"/tests/gui-shots-zh_CN/*.png; do
  name=$(basename "$png")
  for loc in en_US zh_TW; do
    other="$build/tests/gui-shots-$loc/$name"
    if [ ! -f "$other" ]; then
      echo "gui-locales: $name missing under $loc"; status=1; continue
    fi
    differ=$(compare -metric AE "$png" "$other" null: 2>&1)
    compared=$((compared + 1))
    if [ "$differ" != "0" ]; then
      echo "gui-locales: $name differs under $loc in $differ pixels"; status=1
    fi
  done
done
echo "gui-locales: $compared pictures compared with the zh_CN run's"
[ "$compared" -gt 0 ] || status=1
exit $status
