#!/usr/bin/env bash
# Both fuzz targets (clang, libFuzzer, ASan, UBSan) with a fixed seed and number of runs, so that a
# run here repeats the one checked before it landed; a finding fails it and is kept under
# $MORLO_BUILD/fuzz/findings. MORLO_FUZZ_SECONDS caps each target (default 120); MORLO_FUZZ_ARGS
# replaces seed and runs (MORLO_FUZZ_ARGS=-seed=0 MORLO_FUZZ_SECONDS=600 for a long search).
set -uo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
. "$top/scripts/env.sh"
tree="$MORLO_BUILD/fuzz"
[ -f "$tree/CMakeCache.txt" ] || cmake -S "$top" -B "$tree" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORLO_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null || exit 1
cmake --build "$tree" -j 2 >"$tree/build.log" 2>&1 || { cat "$tree/build.log" >&2; exit 1; }
failed=0
for run in "definition_fuzz 100000" "piece_fuzz 1200"; do
  set -- $run
  work=$(mktemp -d)
  cp -r "$top/fuzz/corpus/${1%_fuzz}/." "$work/"
  mkdir -p "$tree/findings/$1"
  # shellcheck disable=SC2086
  if ! "$tree/fuzz/$1" -max_total_time="${MORLO_FUZZ_SECONDS:-120}" -timeout=30 -rss_limit_mb=2048 \
      ${MORLO_FUZZ_ARGS:--seed=1 -runs=$2} -artifact_prefix="$tree/findings/$1/" "$work" >"$tree/$1.log" 2>&1; then
    failed=1
    grep -E 'ERROR|invariant|SUMMARY|artifact' "$tree/$1.log" | head -20 >&2
    echo "fuzz: $1 FOUND A FAULT (log: $tree/$1.log)" >&2
  fi
  rm -rf "$work"
done
exit $failed
