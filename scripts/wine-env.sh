# Sourced by the Wine scripts: the project's private Wine prefix and the environment every Wine
# command of the project runs in.
VESTREL_ROOT="${VESTREL_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
export WINEPREFIX="${VESTREL_WINEPREFIX:-$VESTREL_ROOT/build/wineprefix}"
export WINEDEBUG=-all
export WINEARCH=win64
# The Unix locale sets Wine's code page for non-Unicode programs: zh_CN (936) unless a run asks for
# another (VESTREL_WINE_LOCALE=en_US.UTF-8 is code page 1252, zh_TW.UTF-8 is 950).
export LC_ALL="${VESTREL_WINE_LOCALE:-zh_CN.UTF-8}"
export LANG="$LC_ALL"
