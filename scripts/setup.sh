#!/usr/bin/env bash
# Takes a fresh Debian 12 machine (root, apt) to a working state: packages, the Japanese
# locale that gives Wine code page 932, both builds, and a Wine prefix kept inside the
# build tree. Safe to run again; quick when everything is already there.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=scripts/env.sh
. "$top/scripts/env.sh"

packages=(
  build-essential cmake googletest
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 xvfb xauth xdotool imagemagick fonts-noto-cjk locales
  fonts-wine sox python3 clang libclang-rt-14-dev zip time tmux nlohmann-json3-dev
  ffmpeg python3-mutagen libimage-exiftool-perl
  pkg-config libflac-dev libvorbis-dev libogg-dev flac vorbis-tools dpkg-dev man-db
  libkissfft-dev lintian bash-completion zsh
)

install_missing "${packages[@]}"

# Wine picks its ANSI code page from LANG; without this locale it silently falls back to 1252.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  echo "setup: generating ja_JP.UTF-8"
  localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi

# The Windows build compiles KissFFT, libogg, libvorbis and libFLAC itself, from Debian's source packages.
"$top/scripts/debian-source.sh" kissfft >/dev/null
"$top/scripts/windows-libs.sh" >/dev/null
"$top/scripts/build.sh"
"$top/scripts/wine-prefix.sh"
