#!/usr/bin/env bash
# Every fuzz target for a bounded time (60 s each, or MORLO_FUZZ_SECONDS); fails on any finding.
top=$(cd "$(dirname "$0")/../.." && pwd)
exec "$top/fuzz/run.sh" "${MORLO_FUZZ_SECONDS:-60}"
