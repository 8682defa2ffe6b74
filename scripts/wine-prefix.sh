#!/usr/bin/env bash
# Creates the project's Wine prefix once and keeps its settings current: boots it, maps the Chinese
# font names to WenQuanYi Micro Hei, gives "Arial" and "Arial Black" a Latin font with Chinese linked to
# WenQuanYi Micro Hei, turns the user folders (Documents, Desktop ...) into real folders
# inside the prefix so that no test writes into the machine's home folder, and lets Wine place
# windows itself (Xvfb has no window manager; managed windows make every DestroyWindow wait 2 s).
# A prefix whose settings are current returns at once.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

settings_version=4
stamp="$WINEPREFIX/.vestrel-ready"
[ "$(cat "$stamp" 2>/dev/null)" = "$settings_version" ] && exit 0

mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$(dirname "$WINEPREFIX")/.wineprefix.lock"
flock 9
[ "$(cat "$stamp" 2>/dev/null)" = "$settings_version" ] && exit 0

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "wine-prefix: creating $WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  WINEDLLOVERRIDES="mscoree,mshtml=" wine wineboot -i >/dev/null 2>&1
  wineserver -w
fi

key='HKCU\Software\Wine\Fonts\Replacements'
for face in "宋体" "SimSun" "新宋体" "NSimSun" "楷体_GB2312" "楷体_gb2312" "KaiTi_GB2312" "黑体" "SimHei" "微软雅黑" "Microsoft YaHei"; do
  wine reg add "$key" /v "$face" /t REG_SZ /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1
done
# Zen Hei's built-in bitmaps at 12 ... 16 pixels drop strokes (三 comes out as 二, 一 vanishes), so
# the Chinese names above go to Micro Hei, drawn from outlines. The grid's labels ask for "Arial"
# at 14 pixels: let Arial be Liberation Sans, whose missing Chinese glyphs Wine then takes from
# Micro Hei. Bold Arial is looked up as "Liberation Sans Bold".
wine reg add "$key" /v "Arial" /t REG_SZ /d "Liberation Sans" /f >/dev/null 2>&1
wine reg add "$key" /v "Arial Black" /t REG_SZ /d "Liberation Sans" /f >/dev/null 2>&1
link='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
for face in "Arial" "Arial Black" "Liberation Sans" "Liberation Sans Bold"; do
  wine reg add "$link" /v "$face" /t REG_MULTI_SZ /d "wqy-microhei.ttc,WenQuanYi Micro Hei" /f >/dev/null 2>&1
done
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1

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
echo "$settings_version" > "$stamp"
echo "wine-prefix: ready"
