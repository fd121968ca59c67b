#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the program need. Idempotent:
# nothing is downloaded when all packages are present already.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev
  libx11-dev libxext-dev libxrandr-dev libxdamage-dev x11-xserver-utils libfreetype-dev libfontconfig-dev libpng-dev libjpeg62-turbo-dev zlib1g-dev
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev libunwind-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-tools
  fonts-dejavu-core fonts-liberation2 fonts-wqy-microhei
  xvfb xauth x11-apps x11-utils xdotool imagemagick trayer xcompmgr zenity
  clang-16 libclang-rt-16-dev locales sox libpixman-1-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "setup: installing ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Locales the time rules are tested under.
want_locales=(ru_RU.UTF-8 en_US.UTF-8 en_GB.UTF-8 de_DE.UTF-8 ja_JP.UTF-8 zh_CN.UTF-8 zh_TW.UTF-8 ko_KR.UTF-8
              fi_FI.UTF-8)
have=$(locale -a 2>/dev/null | tr 'A-Z' 'a-z' | sed 's/utf8/utf-8/')
gen=0
for l in "${want_locales[@]}"; do
  lower=$(echo "$l" | tr 'A-Z' 'a-z')
  if ! grep -qx "$lower" <<<"$have"; then
    if [ "$(id -u)" -eq 0 ]; then
      sed -i "s/^# *\($l UTF-8\)/\1/" /etc/locale.gen
      gen=1
    fi
  fi
done
if [ "$gen" -eq 1 ]; then locale-gen >/dev/null; fi
