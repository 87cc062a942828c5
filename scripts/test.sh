#!/usr/bin/env bash
# Sets everything up and runs every test: the native tests (with sanitizers), the Windows
# tests under Wine in a private Xvfb display, and the scripted suites in tests/scripts.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh" || exit 1
. "$top/scripts/env.sh"
. "$top/scripts/display.sh"
start_display || exit 1

passed=0 failed=0
run_suite() { # name, command…
  local name=$1; shift
  echo "== $name"
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "== $name FAILED"; fi
}

run_suite "native tests" ctest --test-dir "$MORLO_BUILD/check" --output-on-failure
run_suite "Windows tests under Wine" ctest --test-dir "$MORLO_BUILD/windows" --output-on-failure
for script in "$top"/tests/scripts/*.sh; do
  [ -e "$script" ] || continue
  run_suite "$(basename "$script" .sh)" bash "$script"
done

echo "suites: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
