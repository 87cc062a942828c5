#!/usr/bin/env bash
# Measures converting a large deterministic definition (16 pieces of 16-bit stereo 44.1 kHz,
# 2 loops, 10 s fade; about 1 GiB of output) and prints medians over repetitions taken in turn:
#   morlo-cli native, the same bytes copied with cp (the copy limit), morlo-cli native writing
#   FLAC at libFLAC's default level, morlo-cli.exe under Wine, and sox doing the same job per
#   piece (raw input, trim, repeat, linear fade to WAVE).
#
#   bench/throughput.sh [--size MIB] [--reps N] [--no-wine] [--no-sox] [--native FILE]
# Needs the native and Windows builds (scripts/setup.sh). Works in $MORLO_BUILD and cleans up.
# --native measures another morlo-cli in the native case, such as a variant to compare.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/scripts/env.sh"
size=1024 reps=3 wine=1 sox=1
native="$MORLO_BUILD/native/src/cli/morlo-cli"
while [ $# -gt 0 ]; do
  case $1 in
    --size) size=$2; shift 2 ;;
    --reps) reps=$2; shift 2 ;;
    --no-wine) wine=0; shift ;;
    --no-sox) sox=0; shift ;;
    --native) native=$2; shift 2 ;;
    *) echo "usage: $0 [--size MIB] [--reps N] [--no-wine] [--no-sox] [--native FILE]" >&2; exit 2 ;;
  esac
done
windows="$MORLO_BUILD/windows/src/cli/morlo-cli.exe"
[ -x "$native" ] || { echo "bench: build first (scripts/setup.sh): $native is missing" >&2; exit 1; }
[ $wine -eq 0 ] || [ -f "$windows" ] || { echo "bench: $windows is missing" >&2; exit 1; }

mkdir -p "$MORLO_BUILD"
# The BGM data (about half the output), one set of outputs and one copy of them at a time.
need=$((size * 3 + 256))
avail=$(df -Pm "$MORLO_BUILD" | awk 'NR == 2 { print $4 }')
if [ "$avail" -lt "$need" ]; then
  echo "bench: $need MiB needed in $MORLO_BUILD, $avail MiB free" >&2
  exit 1
fi
work=$(mktemp -d "$MORLO_BUILD/bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

read -r pieces frame intro loop output < <(python3 "$top/bench/make_definition.py" "$work" "$size" | tail -1)
cat "$work/bench.bgm" >/dev/null # every case reads the BGM data from the page cache
winpath() { echo "Z:$1" | tr / '\\'; }

times="$work/times"
: >"$times"
measure() { # case, command… : appends "case seconds peak-KiB"
  local name=$1; shift
  # Dirty pages of the previous case would otherwise slow this one down while they are flushed.
  sync
  if ! /usr/bin/time -f '%e %M' -o "$work/time" "$@" >"$work/stdout" 2>"$work/stderr"; then
    echo "bench: $name failed" >&2
    cat "$work/stdout" "$work/stderr" >&2
    exit 1
  fi
  echo "$name $(tail -1 "$work/time")" >>"$times"
}
check_output() { # folder
  local bytes
  bytes=$(find "$1" -type f -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }')
  [ "$bytes" -eq "$output" ] || { echo "bench: $1 holds $bytes bytes, $output expected" >&2; exit 1; }
}

sox_pieces() {
  local raw=(-t raw -r 44100 -e signed-integer -b 16 -c 2 "$work/bench.bgm")
  local fade=$((10 * 44100)) introF=$((intro / frame)) loopF=$((loop / frame))
  mkdir -p "$work/sox"
  for ((n = 0; n < pieces; n++)); do
    local start=$((n * (intro + loop) / frame))
    local loopAt=$((start + introF))
    sox "|sox ${raw[*]} -p trim ${start}s ${introF}s" \
        "|sox ${raw[*]} -p trim ${loopAt}s ${loopF}s repeat 1" \
        "|sox ${raw[*]} -p trim ${loopAt}s ${fade}s fade t 0 ${fade}s ${fade}s" \
        -b 16 -e signed-integer "$work/sox/piece$n.wav"
  done
}

echo "bench: $pieces pieces, $output bytes of output, $reps repetitions"
# The first Wine start also starts the Wine server; measured runs find it running.
[ $wine -eq 0 ] || "$top/scripts/wine-run.sh" "$windows" --help >/dev/null
for ((rep = 1; rep <= reps; rep++)); do
  mkdir -p "$work/out"
  measure native "$native" convert "$work/bench.mrl" --bgm "$work" --out "$work/out" --loops 2 --fade 10 --yes
  check_output "$work/out"
  measure copy cp -r "$work/out" "$work/copy"
  rm -rf "$work/out" "$work/copy"
  mkdir -p "$work/flac"
  measure flac "$native" convert "$work/bench.mrl" --bgm "$work" --out "$work/flac" --loops 2 --fade 10 --yes --format flac
  [ "$(find "$work/flac" -name '*.flac' | wc -l)" -eq "$pieces" ] || { echo "bench: flac wrote no $pieces files" >&2; exit 1; }
  rm -rf "$work/flac"
  if [ $wine -eq 1 ]; then
    mkdir -p "$work/out"
    # Listing does no file work: its time is Wine's start-up and exit.
    measure wine-list "$top/scripts/wine-run.sh" "$windows" list "$(winpath "$work/bench.mrl")"
    measure wine "$top/scripts/wine-run.sh" "$windows" convert "$(winpath "$work/bench.mrl")" \
      --bgm "$(winpath "$work")" --out "$(winpath "$work/out")" --loops 2 --fade 10 --yes
    check_output "$work/out"
    rm -rf "$work/out"
  fi
  if [ $sox -eq 1 ]; then
    export -f sox_pieces
    export work pieces frame intro loop
    measure sox bash -c sox_pieces
    # sox writes its own header (44 bytes or so); the sample data must be the same length.
    soxBytes=$(find "$work/sox" -type f -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }')
    [ $((soxBytes - output)) -gt $((-pieces * 46)) ] && [ $((soxBytes - output)) -lt $((pieces * 46)) ] ||
      { echo "bench: sox wrote $soxBytes bytes, about $output expected" >&2; exit 1; }
    rm -rf "$work/sox"
  fi
  echo "bench: repetition $rep done"
done

python3 - "$times" "$output" "$((intro + loop))" <<'PY'
import statistics, sys
rows = [line.split() for line in open(sys.argv[1])]
output, largest = int(sys.argv[2]), int(sys.argv[3])
def median(case, column=1):
    values = [float(r[column]) for r in rows if r[0] == case]
    return statistics.median(values) if values else None
mb = output / 1e6
print(f"{'case':<12}{'median s':>10}{'MB/s':>10}   runs (s)")
for case in ("native", "copy", "flac", "wine", "wine-list", "sox"):
    m = median(case)
    if m is None:
        continue
    runs = " ".join(r[1] for r in rows if r[0] == case)
    speed = f"{mb / m:10.0f}" if m > 0 and case != "wine-list" else f"{'':>10}"
    print(f"{case:<12}{m:10.2f}{speed}   {runs}")
native, copy, flac, wine, sox = (median(c) for c in ("native", "copy", "flac", "wine", "sox"))
print(f"flac / native: {flac / native:.2f} (goal <= 3); MB/s counts the WAVE bytes the FLAC files hold")
if copy:
    print(f"native / copy: {native / copy:.2f} (goal <= 1.3)")
    if wine:
        print(f"wine / copy: {wine / copy:.2f} (goal <= 1.6; Wine's start-up included, wine-list shows its size)")
if sox:
    print(f"sox / native: {sox / native:.2f} (goal >= 3)")
limit = 50 + largest / 1048576 + 16
for case in ("native", "flac"):
    peak = median(case, 2) / 1024
    print(f"{case} peak memory: {peak:.1f} MiB (goal <= {limit:.1f} MiB: 50 + largest piece {largest / 1048576:.1f} + 16)")
PY
