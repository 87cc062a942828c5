#!/usr/bin/env bash
# Builds the encoder and decoder libraries the Windows build links (libogg, libvorbis, libFLAC)
# for MinGW-w64, static, from Debian's own source packages, once, into the build folder, and prints
# the folder they are installed in. Debian ships none of them for MinGW-w64.
#   scripts/windows-libs.sh           fetch, build and install what is missing
#   scripts/windows-libs.sh --where   the installed folder if all are there (status 1 if not)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/scripts/env.sh"
prefix="$MORLO_BUILD/deps/mingw"
# In the order they need each other: libvorbis is built against libogg.
libraries=(libogg libvorbis flac)

# A library counts as installed when its stamp names the source it was built from.
installed() { # package
  local source
  source=$("$top/scripts/debian-source.sh" --where "$1") || return 1
  [ "$(cat "$prefix/$1.built" 2>/dev/null)" = "$(basename "$source")" ]
}

if [ "${1:-}" = --where ]; then
  for library in "${libraries[@]}"; do installed "$library" || exit 1; done
  echo "$prefix"
  exit 0
fi
[ $# -eq 0 ] || { echo "usage: $0 [--where]" >&2; exit 2; }

# Options that keep each build to its library: no programs, tests, documents or shared objects.
# The stack protector and fortified sources would need MinGW's libssp in every program that links.
options_for() { # package; sets options
  case $1 in
    libogg) options=(-DINSTALL_DOCS=OFF) ;;
    # Its search for libogg would look for the folder below the cross-compiler's own root.
    libvorbis) options=(-DOGG_LIBRARY="$prefix/lib/libogg.a" -DOGG_INCLUDE_DIR="$prefix/include") ;;
    flac) options=(-DBUILD_CXXLIBS=OFF -DBUILD_PROGRAMS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_TESTING=OFF
                   -DBUILD_DOCS=OFF -DINSTALL_MANPAGES=OFF -DWITH_OGG=OFF -DWITH_STACK_PROTECTOR=OFF
                   -DWITH_FORTIFY_SOURCE=OFF) ;;
  esac
}

mkdir -p "$prefix"
for library in "${libraries[@]}"; do
  installed "$library" && continue
  source=$("$top/scripts/debian-source.sh" "$library")
  build="$MORLO_BUILD/deps/$library/build"
  log="$MORLO_BUILD/deps/$library/build.log"
  echo "windows-libs: building $library for MinGW-w64" >&2
  rm -rf "$build"
  options_for "$library"
  if ! { cmake -S "$source" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64.cmake" \
           -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -DCMAKE_INSTALL_PREFIX="$prefix" \
           "${options[@]}" &&
         cmake --build "$build" -j "$(nproc)" &&
         cmake --install "$build"; } >"$log" 2>&1; then
    tail -n 40 "$log" >&2
    echo "windows-libs: could not build $library (the whole log: $log)" >&2
    exit 1
  fi
  basename "$source" >"$prefix/$library.built"
done
echo "$prefix"
