#!/usr/bin/env bash
# Builds the fuzz tree (clang, libFuzzer, ASan, UBSan) and runs each target for a while. New corpus
# entries go to a scratch copy, never into the repository; a finding is kept as
# $MORLO_BUILD/fuzz/findings/<target>/crash-… and the script fails. MORLO_FUZZ_ARGS adds libFuzzer
# options, such as a fixed -seed and -runs for a repeatable run.
#   fuzz/run.sh [SECONDS PER TARGET] [TARGET…]    (default 600 s, all targets)
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/scripts/env.sh"
seconds=${1:-600}
shift || true
targets=("$@")
[ $# -gt 0 ] || targets=(definition_fuzz piece_fuzz)
tree="$MORLO_BUILD/fuzz"
[ -f "$tree/CMakeCache.txt" ] || cmake -S "$top" -B "$tree" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORLO_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null || exit 1
cmake --build "$tree" -j 2 --target "${targets[@]}" >"$tree/build.log" 2>&1 || { cat "$tree/build.log" >&2; exit 1; }
failed=0
for target in "${targets[@]}"; do
  work=$(mktemp -d)
  cp -r "$top/fuzz/corpus/${target%_fuzz}/." "$work/"
  mkdir -p "$tree/findings/$target"
  echo "fuzz: $target for ${seconds}s"
  # shellcheck disable=SC2086
  if "$tree/fuzz/$target" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 ${MORLO_FUZZ_ARGS:-} \
      -artifact_prefix="$tree/findings/$target/" -print_final_stats=1 "$work" >"$tree/$target.log" 2>&1; then
    grep -E '^stat::(number_of_executed_units|peak_rss_mb)' "$tree/$target.log" | tr '\n' ' ' && echo
  else
    failed=1
    grep -E 'ERROR|invariant|SUMMARY|artifact' "$tree/$target.log" | head -20 >&2
    echo "fuzz: $target FOUND A FAULT (log: $tree/$target.log)" >&2
  fi
  rm -rf "$work"
done
exit $failed
