#!/usr/bin/env bash
# Sets everything up, then converts the bundled example with morlo-cli and lists its pieces.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
. "$top/scripts/env.sh"
cli="$MORLO_BUILD/native/src/cli/morlo-cli"
bgm="$MORLO_BUILD/example/bgm"
out="$top/out/example"
python3 "$top/examples/make_bgm.py" "$bgm"
mkdir -p "$out"
echo
"$cli" list "$top/examples/sample.mrl"
echo
"$cli" convert "$top/examples/sample.mrl" --bgm "$bgm" --out "$out" --yes
echo "The WAVE files are in $out"
