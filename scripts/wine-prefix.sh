#!/usr/bin/env bash
# Creates the project's Wine prefix once: boots it, maps the Chinese font names to WenQuanYi Zen Hei,
# and turns the user folders (Documents, Desktop ...) into real folders inside the prefix so that no
# test writes into the machine's home folder. A prefix that is ready returns at once.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

stamp="$WINEPREFIX/.vestrel-ready"
[ -f "$stamp" ] && exit 0

mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$(dirname "$WINEPREFIX")/.wineprefix.lock"
flock 9
[ -f "$stamp" ] && exit 0

echo "wine-prefix: creating $WINEPREFIX"
mkdir -p "$WINEPREFIX"
WINEDLLOVERRIDES="mscoree,mshtml=" wine wineboot -i >/dev/null 2>&1
wineserver -w

key='HKCU\Software\Wine\Fonts\Replacements'
for face in "宋体" "SimSun" "新宋体" "NSimSun" "楷体_GB2312" "楷体_gb2312" "KaiTi_GB2312" "黑体" "SimHei" "微软雅黑" "Microsoft YaHei"; do
  wine reg add "$key" /v "$face" /t REG_SZ /d "WenQuanYi Zen Hei" /f >/dev/null 2>&1
done

# The user folders of a new prefix are links to $HOME; make them folders of the prefix.
for user_dir in "$WINEPREFIX"/drive_c/users/*; do
  [ -d "$user_dir" ] || continue
  for link in "$user_dir"/*; do
    if [ -L "$link" ]; then
      rm -f "$link"
      mkdir -p "$link"
    fi
  done
done
wineserver -w
touch "$stamp"
echo "wine-prefix: ready"
