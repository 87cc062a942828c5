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
# Both in Japanese, the messages too: morlo-cli.exe follows the UI language of the prefix.
exits 1 env LANG=ja_JP.UTF-8 "$cli" "${checks[@]}" "$work/bgm" --json >"$work/native.json" ||
  fail "findings should exit 1 with --json"
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
assert native["pieces"][4]["findings"][0]["message"] == "出力名 '..\\x.wav' はただのファイル名ではなく、出力フォルダの外に出ます"
pieces = native["pieces"]
assert [p["title"] for p in pieces[:2]] == ["オープニング", "森の小径"] and native["totals"]["errors"] == 2
seam = pieces[3]["findings"][0]
assert seam["measure"] > 8 and all(p["seam_measure"] < 2 for p in pieces[:3]), pieces
assert seam["suggestion"]["loop_start"] == 117600 and seam["suggestion"]["measure"] < 8, seam
assert native["findings"] == [] and native["totals"]["notes"] == 0, native
keys = ["number", "section", "title", "file", "wave_file", "fmt_channels", "fmt_samples", "fmt_bits", "wave_start",
        "wave_size", "loop_start", "loop_size", "play_seconds", "output_bytes", "writable"]
assert [list(p) for p in listed["pieces"]] == [keys] * 7 and list(pieces[0]) == keys + ["seam_measure", "findings"]
written = [p for p in pieces if p["writable"]]  # the piece whose name leaves the folder is not
assert listed["pieces"][0]["output_bytes"] == 4586446 and len(written) == 6 and listed["totals"] == {"pieces": 7,
    "play_seconds": sum(p["play_seconds"] for p in written), "output_bytes": sum(p["output_bytes"] for p in written)}
PY

# What loading passes over in silence. gap.mrl: the example with piece 2 numbered 5 and the forest's
# fmt_bits left out; bits.mrl: the example with only that; utf8.mrl: the example saved as UTF-8.
python3 - "$sample" "$work" <<'PY'
import sys
text = open(sys.argv[1], "rb").read()
bits = text.replace(b"fmt_bits=16\r\nwave_file=sample.bgm\r\nwave_start=1764064", b"wave_file=sample.bgm\r\nwave_start=1764064")
assert bits != text
open(f"{sys.argv[2]}/bits.mrl", "wb").write(bits)
open(f"{sys.argv[2]}/gap.mrl", "wb").write(bits.replace(b"[music0002]", b"[music0005]"))
open(f"{sys.argv[2]}/utf8.mrl", "wb").write(text.decode("cp932").encode("utf-8"))
PY
exits 1 "$cli" check "$work/gap.mrl" --bgm "$work/bgm" >"$work/gap.txt" || fail "a section never read should exit 1"
[ "$(cat "$work/gap.txt")" = "-	warning	unread-sections	$work/gap.mrl: sections never read (1): [music0005]; reading \
stops at the first missing number, [music0002]: number the sections from music0000 without gaps
1	note	default-bits	森の小径: fmt_bits is not given: the default 16 is taken
2 pieces checked: 0 errors, 1 warning, 1 note" ] || fail "the gap and the default: $(cat "$work/gap.txt")"
LANG=ja_JP.UTF-8 "$cli" check "$work/gap.mrl" --bgm "$work/bgm" >"$work/gap.txt" || true
[ "$(cat "$work/gap.txt")" = "-	warning	unread-sections	$work/gap.mrl: 読まれないセクション(1個): [music0005]。読み込みは\
最初の欠番 [music0002] で止まります。music0000 から欠番なしで番号を付けてください
1	note	default-bits	森の小径: fmt_bits の指定がないので、既定の 16 になります
2曲を検査: エラー0件、警告1件、注記1件" ] || fail "the gap and the default in Japanese: $(cat "$work/gap.txt")"
exits 0 "$cli" check "$work/bits.mrl" --bgm "$work/bgm" >/dev/null || fail "notes alone should exit 0"
exits 1 "$cli" check "$work/utf8.mrl" --bgm "$work/bgm" >"$work/utf8.txt" || fail "a file saved as UTF-8 should exit 1"
[ "$(head -n 1 "$work/utf8.txt")" = "-	warning	saved-as-utf8	$work/utf8.mrl: the file is saved as UTF-8, but a definition \
is read as Shift-JIS: its titles and names come out garbled; save it as Shift-JIS" ] || fail "UTF-8 not told: $(cat "$work/utf8.txt")"
# morlo-cli.exe speaks the language of the prefix: Japanese, or English when Wine's locale is.
LANG=ja_JP.UTF-8 "$cli" check "$work/gap.mrl" --bgm "$work/bgm" --json >"$work/gap-native.json" || true
"$cli" check "$work/gap.mrl" --bgm "$work/bgm" --json >"$work/gap-native-english.json" || true
wine_cli check "Z:$work/gap.mrl" --bgm "Z:$work/bgm" --json >"$work/gap-windows.json" || true
MORLO_WINE_LOCALE=C.UTF-8 wine_cli check "Z:$work/gap.mrl" --bgm "Z:$work/bgm" --json >"$work/gap-windows-english.json" || true
python3 - "$work" <<'PY' || fail "the gap's documents"
import json, sys
work = sys.argv[1]
native, english, windows, windows_english = (json.load(open(f"{work}/gap-{n}.json", encoding="utf-8"))
                                             for n in ("native", "native-english", "windows", "windows-english"))
assert native == windows and english == windows_english, "the Windows documents differ"
assert [(f["level"], f["code"]) for f in native["findings"]] == [("warning", "unread-sections")], native["findings"]
assert native["findings"][0]["message"].startswith("読まれないセクション(1個): [music0005]。"), native["findings"]
assert english["pieces"][1]["findings"] == [{"level": "note", "code": "default-bits",
                                             "message": "fmt_bits is not given: the default 16 is taken"}], english
assert (native["totals"]["warnings"], native["totals"]["notes"]) == (1, 1), native["totals"]
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
