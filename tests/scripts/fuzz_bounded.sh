#!/usr/bin/env bash
# Every fuzz target for a bounded number of runs with a fixed seed, so that a run here repeats
# the one that was checked before it landed; fails on any finding. MORLO_FUZZ_SECONDS caps the
# time of each target (a slower machine runs a prefix of the same inputs).
top=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${MORLO_FUZZ_SECONDS:-120}
status=0
MORLO_FUZZ_ARGS="-seed=1 -runs=100000" "$top/fuzz/run.sh" "$seconds" definition_fuzz || status=1
MORLO_FUZZ_ARGS="-seed=1 -runs=1200" "$top/fuzz/run.sh" "$seconds" piece_fuzz || status=1
exit $status
