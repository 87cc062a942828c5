#!/usr/bin/env bash
# Runs one Windows program under Wine with the project's prefix, code page 932 and Japanese as the
# user's language.
# Wine's helper processes keep inherited pipes open for seconds after the program ends,
# so the output goes through temporary files; `timeout` kills a hung program.
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/scripts/env.sh"
# The locale also gives Wine's UI language; MORLO_WINE_LOCALE=C.UTF-8 makes an English Windows.
locale=${MORLO_WINE_LOCALE:-ja_JP.UTF-8}
export LANG=$locale LC_ALL=$locale
limit=${MORLO_WINE_TIMEOUT:-300}
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
if [ -t 0 ]; then
  timeout -k 5 "$limit" wine "$@" >"$out" 2>"$err"
else
  timeout -k 5 "$limit" wine "$@" >"$out" 2>"$err" </dev/null
fi
rc=$?
cat "$out"
cat "$err" >&2
exit $rc
