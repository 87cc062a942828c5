# Sourced by the scripted suites: strict mode, the two converters, a work folder removed on exit
# holding the example's BGM in bgm/, fail and exits. morlo-cli speaks English unless a suite asks
# for Japanese (LANG=ja_JP.UTF-8 on the command); morlo-cli.exe under Wine speaks Japanese.
set -euo pipefail
export LANG=C.UTF-8
unset LC_ALL LC_MESSAGES
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
. "$top/scripts/env.sh"
cli="$MORLO_BUILD/native/src/cli/morlo-cli"
cli_exe="$MORLO_BUILD/windows/src/cli/morlo-cli.exe"
sample="$top/examples/sample.mrl"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Every wait is on a state and bounded generously: a slow machine makes a suite slow, never wrong.
bound=${MORLO_WAIT_SECONDS:-300}
fail() { echo "$(basename "$0" .sh): $*${doing:+ (while $doing)}" >&2; exit 1; }
# Tells whether a command succeeds within $bound seconds, tried every 0.05 s.
comes() { local deadline=$((SECONDS + bound)); until "$@"; do [ $SECONDS -lt $deadline ] || return 1; sleep 0.05; done; }
# Tells whether a command, given no input and its errors silenced, exits with the given status.
exits() { local want=$1; shift; "$@" </dev/null 2>/dev/null; [ $? -eq "$want" ]; }
wine_cli() { "$top/scripts/wine-run.sh" "$cli_exe" "$@"; }
# The BGM is the same on every run and slow to synthesize: made once per build tree.
bgm="$MORLO_BUILD/sample.bgm"
[ "$bgm" -nt "$top/examples/make_bgm.py" ] || { python3 "$top/examples/make_bgm.py" "$work" >/dev/null &&
  cp "$work/sample.bgm" "$bgm.$$" && mv -f "$bgm.$$" "$bgm"; }
mkdir "$work/bgm" && cp "$bgm" "$work/bgm/"
