#!/usr/bin/env bash
# Builds the Debian package of morlo-cli from the native tree, installing first what the build
# needs (not Wine or MinGW-w64), and with --install installs it with apt.
#   scripts/package.sh [--install]   → $MORLO_BUILD/native/morlo-cli_VERSION_amd64.deb
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/scripts/env.sh"
install=0
case ${1:-} in
  --install) install=1 ;;
  "") ;;
  *) echo "usage: $0 [--install]" >&2; exit 2 ;;
esac

install_missing build-essential cmake pkg-config nlohmann-json3-dev libflac-dev libvorbis-dev libogg-dev libkissfft-dev dpkg-dev
"$top/scripts/build.sh" native
version=$(sed -n 's/^project(morlo VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
package="$MORLO_BUILD/native/morlo-cli_${version}_$(dpkg --print-architecture).deb"
rm -f "$package"
log="$MORLO_BUILD/native/package.log"
(cd "$MORLO_BUILD/native" && cpack >"$log" 2>&1) && [ -f "$package" ] ||
  { cat "$log" >&2; echo "package: cpack wrote no $package" >&2; exit 1; }
echo "$package"
if [ $install -eq 1 ]; then
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get install -y -qq "$package"
fi
