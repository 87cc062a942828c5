#!/usr/bin/env bash
# Measures encoding an album with workers and prints medians over repetitions taken in turn:
#   morlo-cli convert --format flac with --jobs 1 and with the default (one worker per processor),
#   wall clock and processor time (user + system); --format ogg likewise, its processor time
#   against oggenc -q 5 over the WAVE files of the same pieces; and flac -5 over those WAVE files,
#   one after another.
#
#   bench/jobs.sh DEFINITION BGM_DIR [--reps N] [-- CONVERT_OPTIONS…]
# CONVERT_OPTIONS go to every convert (such as --loops 1 --fade 0). Needs the native build
# (scripts/setup.sh), oggenc and flac. Works in a scratch folder under $MORLO_BUILD, removed at the end.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/scripts/env.sh"
usage() { echo "usage: $0 DEFINITION BGM_DIR [--reps N] [-- CONVERT_OPTIONS...]" >&2; exit 2; }
[ $# -ge 2 ] || usage
definition=$(realpath "$1") bgm=$(realpath "$2")
shift 2
reps=3 options=()
while [ $# -gt 0 ]; do
  case $1 in
    --reps) reps=$2; shift 2 ;;
    --) shift; options=("$@"); break ;;
    *) usage ;;
  esac
done
cli="$MORLO_BUILD/native/src/cli/morlo-cli"
[ -x "$cli" ] || { echo "bench: build first (scripts/setup.sh): $cli is missing" >&2; exit 1; }
command -v oggenc >/dev/null && command -v flac >/dev/null || { echo "bench: oggenc and flac are needed" >&2; exit 1; }

mkdir -p "$MORLO_BUILD"
work=$(mktemp -d "$MORLO_BUILD/bench-jobs.XXXXXX")
trap 'rm -rf "$work"' EXIT
convert=("$cli" convert "$definition" --bgm "$bgm" --yes "${options[@]}")
times="$work/times"
: >"$times"
measure() { # case, command… : appends "case wall user system peak-KiB"
  local name=$1; shift
  # Dirty pages of the previous case would otherwise slow this one down while they are flushed.
  sync
  if ! /usr/bin/time -f '%e %U %S %M' -o "$work/time" "$@" >"$work/stdout" 2>"$work/stderr"; then
    echo "bench: $name failed" >&2
    cat "$work/stdout" "$work/stderr" >&2
    exit 1
  fi
  echo "$name $(tail -1 "$work/time")" >>"$times"
}
fresh() { rm -rf "$work/$1" && mkdir "$work/$1"; }
# Each tool over the WAVE files, one file after another, in a shell whose children time counts.
each_wave() { # tool, extension, options…
  local tool=$1 extension=$2 file; shift 2
  for file in "$work"/wav/*.wav; do
    "$tool" "$@" -o "$work/$tool/$(basename "$file" .wav).$extension" "$file"
  done
}

# The WAVE files once, as the encoders' input; every piece must be written.
mkdir "$work/wav"
"${convert[@]}" --out "$work/wav" >"$work/wav.txt" </dev/null || { cat "$work/wav.txt" >&2; exit 1; }
pieces=$(find "$work/wav" -name '*.wav' | wc -l)
bytes=$(find "$work/wav" -name '*.wav' -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }')
echo "bench: $pieces pieces, $bytes bytes of WAVE, $reps repetitions, $(nproc) processors"
find "$bgm" -type f -exec cat {} + >/dev/null # every case reads the BGM data from the page cache
for ((rep = 1; rep <= reps; rep++)); do
  for format in flac ogg; do
    fresh out && measure "$format jobs 1" "${convert[@]}" --out "$work/out" --format $format --jobs 1
    fresh out && measure "$format default" "${convert[@]}" --out "$work/out" --format $format
    [ "$(find "$work/out" -name "*.$format" | wc -l)" -eq "$pieces" ] || { echo "bench: $format: not $pieces files" >&2; exit 1; }
  done
  fresh oggenc && measure "oggenc -q 5" bash -c "$(declare -f each_wave); work='$work'; each_wave oggenc ogg -Q -q 5"
  fresh flac && measure "flac -5" bash -c "$(declare -f each_wave); work='$work'; each_wave flac flac -s -5"
  echo "bench: repetition $rep done"
done

python3 - "$times" "$bytes" <<'PY'
import statistics, sys
rows = [line.split() for line in open(sys.argv[1])]
mb = int(sys.argv[2]) / 1e6
cases = []
for row in rows:
    name = " ".join(row[:-4])
    if name not in cases:
        cases.append(name)
def of(name):
    return [(float(r[-4]), float(r[-3]) + float(r[-2]), int(r[-1]) / 1024) for r in rows if " ".join(r[:-4]) == name]
def median(name, column):
    return statistics.median(v[column] for v in of(name))
print(f"{'case':<14}{'wall s':>9}{'cpu s':>9}{'MB/s':>9}{'peak MiB':>10}   wall runs (s)")
for name in cases:
    wall, cpu, peak = (median(name, c) for c in range(3))
    runs = " ".join(f"{v[0]:.2f}" for v in of(name))
    print(f"{name:<14}{wall:9.2f}{cpu:9.2f}{mb / wall:9.0f}{peak:10.1f}   {runs}")
print(f"flac: default / jobs 1 wall clock {median('flac default', 0) / median('flac jobs 1', 0):.2f}, "
      f"ogg: {median('ogg default', 0) / median('ogg jobs 1', 0):.2f}")
print(f"processor time: morlo ogg (default) / oggenc -q 5 {median('ogg default', 1) / median('oggenc -q 5', 1):.2f}, "
      f"morlo flac (default) / flac -5 {median('flac default', 1) / median('flac -5', 1):.2f}")
PY
