#!/usr/bin/env bash
# morlo-cli for definition authors, natively and as morlo-cli.exe under Wine: check reports what
# would fail or click, --json documents read back with Python's json module, and --loop-points
# files carry their loop in a smpl chunk that an independent reader finds where it belongs.
. "$(dirname "$0")/lib/common.sh"
# click.mrl: the example with the forest's loop ended 1000 frames early. authors.mrl: the example,
# that piece, an output name that leaves the folder, a missing BGM file, and the forest's output
# name again in capitals (with a title byte pair that is no Shift-JIS character).
python3 - "$sample" "$work/authors.mrl" "$work/click.mrl" <<'PY'
import sys
text = open(sys.argv[1], "rb").read()
click = lambda t: t.replace(b"loop_size=264600", b"loop_size=262600")
open(sys.argv[3], "wb").write(click(text))
night, forest = text[text.index(b"[music0002]") + 11:], text[text.index(b"[music0001]") + 11:text.index(b"[music0002]")]
text += b"\r\n[music0003]" + click(forest).replace(b"forest", b"forest2") + b"[music0004]\r\nfile=..\\x.wav" + night
text += b"[music0005]\r\nwave_file=missing.bgm\r\nfile=gone.wav" + night + b"[music0006]\r\nfile=FOREST.WAV\r\ntitle=x\x85\x40" + night
open(sys.argv[2], "wb").write(text)
PY
checks=(check "$work/authors.mrl" --bgm)
exits 1 "$cli" "${checks[@]}" "$work/bgm" >"$work/check.txt" || fail "findings should exit 1"
exits 1 "$cli" "${checks[@]}" "$work/bgm" --json >"$work/native.json" || fail "findings should exit 1 with --json"
exits 1 wine_cli "${checks[@]/#$work/Z:$work}" "Z:$work/bgm" --json >"$work/windows.json" || fail "exe exit"
exits 0 wine_cli check "Z:$sample" --bgm "Z:$work/bgm" >/dev/null || fail "the example has findings"
exits 1 "$cli" check "$work/click.mrl" --bgm "$work/bgm" >/dev/null || fail "a warning alone should exit 1"
exits 2 "$cli" check "$sample" >/dev/null || fail "check without --bgm should exit 2"
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
        "wave_size", "loop_start", "loop_size", "play_seconds", "output_bytes", "writable"]
assert [list(p) for p in listed["pieces"]] == [keys] * 7 and list(pieces[0]) == keys + ["seam_measure", "findings"]
written = [p for p in pieces if p["writable"]]  # the piece whose name leaves the folder is not
assert listed["pieces"][0]["output_bytes"] == 4586446 and len(written) == 6 and listed["totals"] == {"pieces": 7,
    "play_seconds": sum(p["play_seconds"] for p in written), "output_bytes": sum(p["output_bytes"] for p in written)}
PY

# Loop points: one loop, 1 s of fade, so that the 8-bit piece's data is odd and needs its pad byte.
mkdir "$work/plain" "$work/points" "$work/points-windows"
run=(convert "$sample" --bgm "$work/bgm" --loops 1 --fade 1 --yes --out)
"$cli" "${run[@]}" "$work/plain" >/dev/null && "$cli" "${run[@]}" "$work/points" --loop-points >/dev/null
exits 0 wine_cli "${run[@]/#$work/Z:$work}" "Z:$work/points-windows" --loop-points >/dev/null || fail "the exe with --loop-points"
python3 - "$work" <<'PY' || fail "the smpl chunks"
import struct, subprocess, sys
work = sys.argv[1]
for name, loop_start, loop_size, frame, rate in [("opening.wav", 352800, 1411200, 4, 44100),
                                                ("forest.wav", 117600, 264600, 2, 22050), ("night.wav", 0, 52920, 1, 11025)]:
    plain, marked, windows = (open(f"{work}/{d}/{name}", "rb").read() for d in ("plain", "points", "points-windows"))
    assert marked == windows and marked[:4] + marked[8:len(plain)] == plain[:4] + plain[8:], name
    assert struct.unpack("<I", marked[4:8])[0] == len(marked) - 8 and len(plain) % 2 == (name == "night.wav")
    chunks, at = {}, 12
    while at < len(marked):
        tag, size = marked[at:at + 4], struct.unpack("<I", marked[at + 4:at + 8])[0]
        chunks[tag], at = marked[at + 8:at + 8 + size], at + 8 + size + size % 2
    assert at == len(marked) and list(chunks) == [b"fmt ", b"data", b"smpl"], (name, list(chunks))
    assert struct.unpack("<9I6I", chunks[b"smpl"]) == (0, 0, round(1e9 / rate), 60, 0, 0, 0, 1, 0, 0, 0, loop_start // frame,
                                                      (loop_start + loop_size) // frame - 1, 0, 0), name
    sox = subprocess.run(["sox", "--i", "-s"] + [f"{work}/{d}/{name}" for d in ("plain", "points")], capture_output=True,
                         text=True, check=True).stdout
    assert sox == f"{len(chunks[b'data']) // frame}\n" * 2, (name, sox)
PY
echo "cli_authoring: ok"
