#!/usr/bin/env bash
# Installs what building and testing needs on a Debian 12 machine: packages, the zh_CN.UTF-8,
# en_US.UTF-8 and zh_TW.UTF-8 locales.
# Idempotent: a machine that has everything returns in well under a second.
set -euo pipefail

packages=(cmake make g++ clang libclang-rt-14-dev g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 xvfb xauth
          locales fonts-wqy-zenhei fonts-wqy-microhei fonts-liberation xdotool imagemagick x11-utils openbox libgtest-dev googletest libbenchmark-dev
          libical-dev python3-icalendar nlohmann-json3-dev)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# zh_CN for the program as our users run it; en_US (code page 1252) and zh_TW (950) for the runs
# that check it reads the same on a Windows of another language for non-Unicode programs.
for loc in zh_CN en_US zh_TW; do
  if ! locale -a 2>/dev/null | grep -qiE "^${loc}\.utf-?8$"; then
    echo "setup: generating ${loc}.UTF-8"
    if ! grep -qE "^${loc}\.UTF-8 UTF-8" /etc/locale.gen 2>/dev/null; then
      echo "${loc}.UTF-8 UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
    fi
    $SUDO locale-gen >/dev/null
  fi
done
