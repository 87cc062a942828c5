#!/usr/bin/env bash
# morlo-cli on the bundled example: the native and the Windows converter write the same bytes,
# the files read back as WAVE with the listed playing times, and the exit codes tell the truth;
# what is no definition (a folder, a device, a pipe nobody writes to) is refused at once.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
. "$top/scripts/env.sh"
cli="$MORLO_BUILD/native/src/cli/morlo-cli"
cli_exe="$MORLO_BUILD/windows/src/cli/morlo-cli.exe"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "cli_example: $*" >&2; exit 1; }

python3 "$top/examples/make_bgm.py" "$work/bgm"
mkdir -p "$work/native" "$work/windows"
"$cli" convert "$top/examples/sample.mrl" --bgm "$work/bgm" --out "$work/native" </dev/null >"$work/native.log"
grep -q '成功:3個 失敗:0個' "$work/native.log" || fail "native run did not write all three pieces"
"$top/scripts/wine-run.sh" "$cli_exe" convert "Z:$top/examples/sample.mrl" --bgm "Z:$work/bgm" --out "Z:$work/windows" \
  >/dev/null </dev/null || fail "Windows run failed"
for f in opening.wav forest.wav night.wav; do
  cmp "$work/native/$f" "$work/windows/$f" || fail "$f differs between the native and the Windows build"
done

# Playing times as listed, as sox and Python's wave module read the files.
"$cli" list "$top/examples/sample.mrl" >"$work/list.txt"
python3 - "$work" <<'PY' || fail "the files do not read back with the listed times"
import subprocess, sys, wave
work = sys.argv[1]
listed = {}
for line in open(f"{work}/list.txt", encoding="utf-8").read().splitlines()[1:-1]:
    fields = line.split("\t")
    minutes, seconds = fields[2].split(":")
    listed[fields[4]] = int(minutes) * 60 + int(seconds)
    assert int(fields[3].replace(",", "")) == len(open(f"{work}/native/{fields[4]}", "rb").read()), fields
def seconds_of(text):
    total = 0
    for part in text.split(":"):
        total = total * 60 + int(part)
    return total
rows = open(f"{work}/list.txt", encoding="utf-8").read().splitlines()[1:-1]
totals = open(f"{work}/list.txt", encoding="utf-8").read().splitlines()[-1].split()
assert totals[2] == "%d:%02d" % divmod(sum(seconds_of(r.split("\t")[2]) for r in rows), 60), totals
assert int(totals[5].replace(",", "")) == sum(int(r.split("\t")[3].replace(",", "")) for r in rows), totals
for name, seconds in listed.items():
    path = f"{work}/native/{name}"
    with wave.open(path) as w:
        duration = w.getnframes() / w.getframerate()
    sox = float(subprocess.run(["sox", "--i", "-D", path], capture_output=True, text=True, check=True).stdout)
    assert int(duration) == seconds, (name, duration, seconds)
    assert abs(sox - duration) < 0.001, (name, sox, duration)
PY

# A second run without --yes and without a terminal keeps every file and says so.
before=$(md5sum "$work/native"/*.wav)
set +e
"$cli" convert "$top/examples/sample.mrl" --bgm "$work/bgm" --out "$work/native" </dev/null >/dev/null 2>&1
status=$?
set -e
[ "$status" -eq 1 ] || fail "refusing to overwrite should exit 1, not $status"
[ "$before" = "$(md5sum "$work/native"/*.wav)" ] || fail "existing files changed without --yes"
"$cli" convert "$top/examples/sample.mrl" --bgm "$work/bgm" --out "$work/native" --yes --only 1 >/dev/null \
  || fail "--yes should replace the files"

# A piece that a run would refuse is listed without figures and left out of the totals.
piece='wave_size=1058400\r\nloop_start=176400\r\nloop_size=882000\r\n'
printf "[album]\r\ntitle=x\r\n[music0000]\r\nfile=a.wav\r\n$piece[music0001]\r\nfile=../b.wav\r\n$piece" >"$work/refused.mrl"
"$cli" list "$work/refused.mrl" >"$work/refused.txt"
grep -q $'^   1\t\t--:--\t出力不可\t' "$work/refused.txt" || fail "a refused piece should be listed as 出力不可"
[ "$(tail -n 1 "$work/refused.txt")" = '合計時間 : 0:16 合計サイズ :   2,822,446' ] || fail "totals should leave out the refused piece"
"$cli" list "$work/refused.mrl" --loops 0 --fade 0 | grep -q $'^   0\t\t0:01\t176,446\ta.wav' || fail "list should follow --loops and --fade"

# Ctrl-C while a long piece is written: exit 1, and the unfinished file is gone.
mkdir "$work/cancel"
"$cli" convert "$top/examples/sample.mrl" --bgm "$work/bgm" --out "$work/cancel" --only 0 --loops 999 \
  </dev/null >"$work/cancel.log" 2>&1 &
pid=$!
for _ in $(seq 200); do [ -e "$work/cancel/opening.wav" ] && break; sleep 0.05; done
kill -INT "$pid"
set +e
wait "$pid"; [ $? -eq 1 ] || fail "Ctrl-C should cancel with exit status 1"
[ -z "$(ls "$work/cancel")" ] || fail "a cancelled run left the unfinished file"
"$cli" list "$top/README.md" >/dev/null 2>&1; [ $? -eq 2 ] || fail "a file that is no definition should exit 2"
# What is no definition file at all is refused at once, in one line naming the path and why.
mkfifo "$work/pipe"
while read -r path reason; do
  said=$(timeout 5 "$cli" list "$path" 2>&1 </dev/null)
  status=$?
  [ "$status" -eq 2 ] && [ "$said" = "morlo-cli: $path is no loop definition file ($reason)" ] ||
    fail "$path gave status $status and '$said'"
done <<EOF
$work it is a folder
/dev/zero it is not a regular file
$work/pipe it is not a regular file
EOF
[ "$("$cli" --version)" = "morlo ver.1.01" ] || fail "--version is wrong"
"$cli" convert "$top/examples/sample.mrl" >/dev/null 2>&1; [ $? -eq 2 ] || fail "missing folders should exit 2"
set -e
echo "cli_example: ok"
