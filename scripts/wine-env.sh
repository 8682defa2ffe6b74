# Sourced by the Wine scripts: the project's private Wine prefix and the environment every Wine
# command of the project runs in.
VESTREL_ROOT="${VESTREL_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
export WINEPREFIX="${VESTREL_WINEPREFIX:-$VESTREL_ROOT/build/wineprefix}"
export WINEDEBUG=-all
export WINEARCH=win64
export LC_ALL=zh_CN.UTF-8
export LANG=zh_CN.UTF-8
