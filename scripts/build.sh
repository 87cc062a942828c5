#!/usr/bin/env bash
# Configures and builds the three trees: native (release, for use and benchmarks), check
# (native with AddressSanitizer and UndefinedBehaviorSanitizer, for tests) and windows (MinGW-w64).
#   scripts/build.sh [TREE...]    only the trees named, such as native
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/scripts/env.sh"
jobs=$(nproc)

configure() { # folder, cmake arguments…
  local dir="$MORLO_BUILD/$1"; shift
  [ -f "$dir/CMakeCache.txt" ] || cmake -S "$top" -B "$dir" "$@" >/dev/null
}

trees=("$@")
[ $# -gt 0 ] || trees=(native check windows)
for tree in "${trees[@]}"; do
  case $tree in
    native) configure native -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF ;;
    check) configure check -DCMAKE_BUILD_TYPE=Debug -DMORLO_SANITIZE=ON ;;
    windows)
      locations=(
        -DMORLO_KISSFFT_SOURCE_DIR="$("$top/scripts/debian-source.sh" --where kissfft || true)"
        -DMORLO_WINDOWS_LIBS_DIR="$("$top/scripts/windows-libs.sh" --where || true)"
      )
      configure windows -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64.cmake" \
        "${locations[@]}"
      # A tree configured before the libraries' sources were fetched (or fetched anew) is told where they are.
      for location in "${locations[@]}"; do
        grep -qxF "${location#-D}" <(sed 's/:PATH=/=/' "$MORLO_BUILD/windows/CMakeCache.txt") ||
          cmake -B "$MORLO_BUILD/windows" "$location" >/dev/null
      done
      ;;
    *) echo "build: no tree '$tree' (native, check or windows)" >&2; exit 2 ;;
  esac
done
for tree in "${trees[@]}"; do
  echo "build: $tree"
  log="$MORLO_BUILD/$tree/build.log"
  if ! cmake --build "$MORLO_BUILD/$tree" -j "$jobs" >"$log" 2>&1; then
    grep -vE '^\[ *[0-9]+%\]' "$log" >&2
    echo "build: $tree failed" >&2
    exit 1
  fi
  grep -E 'warning:' "$log" || true
done
