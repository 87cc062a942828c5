#!/usr/bin/env bash
# morlo-cli for definition authors, natively and as morlo-cli.exe under Wine: check reports what
# would fail or click, --json documents read back with Python's json module, and --loop-points
# files carry their loop in a smpl chunk that an independent reader finds where it belongs.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
. "$top/scripts/env.sh"
cli="$MORLO_BUILD/native/src/cli/morlo-cli"
cli_exe="$MORLO_BUILD/windows/src/cli/morlo-cli.exe"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "cli_authoring: $*" >&2; exit 1; }
wine_cli() { "$top/scripts/wine-run.sh" "$cli_exe" "$@" </dev/null; }

python3 "$top/examples/make_bgm.py" "$work/bgm"
# click.mrl: the example with the forest's loop ended 1000 frames early. authors.mrl: the example,
# that piece, an output name that leaves the folder, a missing BGM file, and the forest's output
# name again in capitals (with a title byte pair that is no Shift-JIS character).
python3 - "$top/examples/sample.mrl" "$work/authors.mrl" "$work/click.mrl" <<'PY'
import sys
text = open(sys.argv[1], "rb").read()
open(sys.argv[3], "wb").write(text.replace(b"loop_size=264600", b"loop_size=262600"))
night = text[text.index(b"[music0002]"):].replace(b"[music0002]", b"")
forest = text[text.index(b"[music0001]"):text.index(b"[music0002]")].replace(b"[music0001]", b"")
text += b"\r\n[music0003]" + forest.replace(b"loop_size=264600", b"loop_size=262600").replace(b"forest", b"forest2")
text += b"[music0004]\r\nfile=..\\x.wav" + night
text += b"[music0005]\r\nwave_file=missing.bgm\r\nfile=gone.wav" + night
text += b"[music0006]\r\nfile=FOREST.WAV\r\ntitle=x\x85\x40" + night
open(sys.argv[2], "wb").write(text)
PY

set +e
"$cli" check "$work/authors.mrl" --bgm "$work/bgm" >"$work/check.txt"; [ $? -eq 1 ] || fail "findings should exit 1"
"$cli" check "$work/authors.mrl" --bgm "$work/bgm" --json >"$work/native.json"
wine_cli check "Z:$work/authors.mrl" --bgm "Z:$work/bgm" --json >"$work/windows.json"; [ $? -eq 1 ] || fail "exe exit"
wine_cli check "Z:$top/examples/sample.mrl" --bgm "Z:$work/bgm" >/dev/null || fail "the example has findings"
"$cli" check "$work/click.mrl" --bgm "$work/bgm" >/dev/null; [ $? -eq 1 ] || fail "a warning alone should exit 1"
"$cli" check "$top/examples/sample.mrl" >/dev/null 2>&1; [ $? -eq 2 ] || fail "check without --bgm should exit 2"
set -e
"$cli" list "$work/authors.mrl" --json >"$work/list.json"

python3 - "$work" <<'PY' || fail "check and list documents"
import json, sys
work = sys.argv[1]
lines = open(f"{work}/check.txt", encoding="utf-8").read().splitlines()
assert [tuple(line.split("\t")[:3]) for line in lines[:-1]] == [
    ("3", "warning", "loop-seam"), ("4", "error", "name-not-plain"), ("5", "error", "bgm-missing"),
    ("6", "warning", "same-output")] and lines[-1] == "7 pieces checked: 2 errors, 2 warnings", lines
native, windows, listed = (json.load(open(f"{work}/{n}.json", encoding="utf-8")) for n in ("native", "windows", "list"))
# Windows' own profile reading turns the pair that is no character into its default one.
assert native["pieces"][6]["title"] == "x?@" and windows["pieces"][6]["title"] == "x・"
windows["pieces"][6]["title"] = "x?@"
assert native == windows, "the Windows document differs"
pieces = native["pieces"]
assert [p["title"] for p in pieces[:2]] == ["オープニング", "森の小径"] and native["totals"]["errors"] == 2
seam = pieces[3]["findings"][0]
assert seam["measure"] > 8 and all(p["seam_measure"] < 2 for p in pieces[:3]), pieces
assert seam["suggestion"]["loop_start"] == 117600 and seam["suggestion"]["measure"] < 8, seam
keys = ["number", "section", "title", "file", "wave_file", "fmt_channels", "fmt_samples", "fmt_bits", "wave_start",
        "wave_size", "loop_start", "loop_size", "play_seconds", "output_bytes"]
assert [list(p) for p in listed["pieces"]] == [keys] * 7 and list(pieces[0]) == keys + ["seam_measure", "findings"]
assert listed["pieces"][0]["output_bytes"] == 4586446 and listed["totals"] == {"pieces": 7, "play_seconds": sum(
    p["play_seconds"] for p in pieces), "output_bytes": sum(p["output_bytes"] for p in pieces)}, listed["totals"]
PY

# Loop points: one loop, 1 s of fade, so that the 8-bit piece's data is odd and needs its pad byte.
mkdir -p "$work/plain" "$work/points" "$work/points-windows"
options=(--loops 1 --fade 1 --yes)
"$cli" convert "$top/examples/sample.mrl" --bgm "$work/bgm" --out "$work/plain" "${options[@]}" >/dev/null
"$cli" convert "$top/examples/sample.mrl" --bgm "$work/bgm" --out "$work/points" "${options[@]}" --loop-points >/dev/null
wine_cli convert "Z:$top/examples/sample.mrl" --bgm "Z:$work/bgm" --out "Z:$work/points-windows" "${options[@]}" \
  --loop-points >/dev/null || fail "Windows run with --loop-points failed"
python3 - "$work" <<'PY' || fail "the smpl chunks"
import struct, subprocess, sys
work = sys.argv[1]
loops = {"opening.wav": (352800, 1411200, 4, 44100), "forest.wav": (117600, 264600, 2, 22050),
         "night.wav": (0, 52920, 1, 11025)}
for name, (loop_start, loop_size, frame, rate) in loops.items():
    plain, marked = (open(f"{work}/{d}/{name}", "rb").read() for d in ("plain", "points"))
    assert marked == open(f"{work}/points-windows/{name}", "rb").read(), name
    assert marked[:4] + marked[8:len(plain)] == plain[:4] + plain[8:], name
    assert struct.unpack("<I", marked[4:8])[0] == len(marked) - 8 and len(plain) % 2 == (name == "night.wav")
    chunks, at = {}, 12
    while at < len(marked):
        tag, size = marked[at:at + 4], struct.unpack("<I", marked[at + 4:at + 8])[0]
        chunks[tag] = marked[at + 8:at + 8 + size]
        at += 8 + size + size % 2
    assert at == len(marked) and list(chunks) == [b"fmt ", b"data", b"smpl"], (name, list(chunks))
    smpl = struct.unpack("<9I6I", chunks[b"smpl"])
    assert smpl[:9] == (0, 0, round(1e9 / rate), 60, 0, 0, 0, 1, 0), (name, smpl)
    assert smpl[9:] == (0, 0, loop_start // frame, (loop_start + loop_size) // frame - 1, 0, 0), (name, smpl)
    sox = [subprocess.run(["sox", "--i", "-s", f"{work}/{d}/{name}"], capture_output=True, text=True,
                          check=True).stdout for d in ("plain", "points")]
    assert sox[0] == sox[1] == f"{len(chunks[b'data']) // frame}\n", (name, sox)
PY
echo "cli_authoring: ok"
