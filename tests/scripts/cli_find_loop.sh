#!/usr/bin/env bash
# morlo-cli find-loop on the example: files written with --loops 2 give their definition's loop
# back exactly, in every width a WAVE file may hold them and through FLAC (within a millisecond
# through Ogg Vorbis); its BGM data, one pass each, says why it
# finds nothing; the definition form gives the lines to paste and how far the definition is off.
. "$(dirname "$0")/lib/common.sh"
"$cli" convert "$sample" --bgm "$work/bgm" --out "$work" --loops 2 --yes >/dev/null
# The forest's file again as sox writes 24- and 32-bit (the extensible form) and as a file whose
# odd-sized chunk before the data is padded, which a reader must step over.
sox "$work/forest.wav" -b 24 "$work/forest24.wav"
sox "$work/forest.wav" -b 32 -e signed-integer "$work/forest32.wav"
python3 - "$work" <<'PY'
import struct, sys
work = sys.argv[1]
data = open(f"{work}/forest.wav", "rb").read()
fmt = data.index(b"fmt ")
size = struct.unpack("<I", data[fmt + 4:fmt + 8])[0]
body = data[fmt:fmt + 8 + size] + b"odd \x03\x00\x00\x00abc\x00" + data[data.index(b"data"):]
open(f"{work}/forest-odd.wav", "wb").write(b"RIFF" + struct.pack("<I", 4 + len(body)) + b"WAVE" + body)
PY
# And through FLAC (lossless: exact) and Ogg Vorbis (lossy: within a millisecond).
flac -s -o "$work/forest-flac.wav" "$work/forest24.wav" 2>/dev/null
oggenc -Q -q 3 -o "$work/opening-ogg.wav" "$work/opening.wav"
for name in opening night forest forest24 forest32 forest-odd forest-flac; do
  "$cli" find-loop "$work/$name.wav" --json >"$work/$name.json" || fail "$name.wav: no loop found"
done
"$cli" find-loop "$work/opening-ogg.wav" --json >"$work/opening-ogg.json" || fail "the Ogg file: no loop found"
"$cli" find-loop "$work/opening-ogg.wav" >"$work/opening-ogg.txt"
"$cli" find-loop "$work/night.wav" >"$work/night.txt"
exits 1 "$cli" find-loop "$sample" --bgm "$work/bgm" --json >"$work/bgm.json" || fail "one pass each should exit 1"
"$cli" find-loop "$work/click.wav" 2>/dev/null && fail "a missing file should fail"
# What finds nothing, and why: a second of sound, five of silence, a length beyond the data.
sox -n -r 22050 -b 16 -c 1 "$work/short.wav" synth 1 sine 440
sox -n -r 22050 -b 16 -c 1 "$work/silent.wav" trim 0 5
exits 1 "$cli" find-loop "$work/short.wav" --json >"$work/short.json" || fail "too short: exit 1"
exits 1 "$cli" find-loop "$work/silent.wav" --json >"$work/silent.json" || fail "silent: exit 1"
oggenc -Q -o "$work/silent-ogg.ogg" "$work/silent.wav"
exits 1 "$cli" find-loop "$work/silent-ogg.ogg" --json >"$work/silent-ogg.json" || fail "silent Ogg: exit 1"
exits 1 "$cli" find-loop "$work/forest.wav" --near 2,60 --json >"$work/far.json" || fail "nothing near: exit 1"
exits 1 "$cli" find-loop "$work/silent.wav" >"$work/silent.txt" || fail "silent text: exit 1"
python3 - "$sample" "$work/near.mrl" <<'PY'
import sys
text = open(sys.argv[1], "rb").read()
# The forest's BGM data holding the loop and half of it again, with its loop 40 frames late.
open(sys.argv[2], "wb").write(text.replace(b"wave_size=382200", b"wave_size=514500")
                              .replace(b"loop_start=117600", b"loop_start=117680"))
PY
python3 - "$work/bgm/sample.bgm" <<'PY'
import sys
path = sys.argv[1]
data = bytearray(open(path, "rb").read())
forest = data[1764064:1764064 + 382200]
loop = forest[117600:]
data[1764064:1764064 + 382200] = forest + loop[:132300]
open(path, "wb").write(data)
PY
exits 1 "$cli" find-loop "$work/near.mrl" --bgm "$work/bgm" --only 1,2 >"$work/near.txt" || fail "the night has one pass"
# morlo-cli.exe finds the same, to the byte of its document.
exits 1 "$cli" find-loop "$work/near.mrl" --bgm "$work/bgm" --json >"$work/native.json" || fail "native document"
exits 1 wine_cli find-loop "Z:$work/near.mrl" --bgm "Z:$work/bgm" --json >"$work/windows.json" || fail "exe document"
# and in a FLAC file.
(cd "$work" && "$cli" find-loop forest-flac.wav --json >native-flac.json && wine_cli find-loop forest-flac.wav --json >windows-flac.json) ||
  fail "a FLAC file: no loop found"
cmp -s "$work/native-flac.json" "$work/windows-flac.json" ||
  fail "the Windows build finds otherwise in FLAC: $(diff "$work/native-flac.json" "$work/windows-flac.json" | head -5)"
cmp -s "$work/native.json" "$work/windows.json" || fail "the Windows build finds otherwise: $(diff "$work/native.json" "$work/windows.json" | head -5)"
python3 - "$work" <<'PY' || fail "find-loop's answers"
import json, sys
work = sys.argv[1]
# The definition's loops in frames: the opening's, the night's and the forest's.
loops = {"opening": (88200, 352800), "night": (0, 52920), "forest": (58800, 132300)}
for name in ["opening", "night", "forest", "forest24", "forest32", "forest-odd", "forest-flac"]:
    document = json.load(open(f"{work}/{name}.json"))
    piece = document["pieces"][0]
    assert piece["file"].endswith(name + ".wav") and piece["found"] and piece["case"] == "repeat", (name, piece)
    best = piece["candidates"][0]
    assert (best["loop_start_frame"], best["loop_length_frames"]) == loops[name.split("-")[0].rstrip("0123456789")], (name, best)
    assert best["confidence"] == 1.0 and "loop_start" not in best, (name, best)
    assert sorted(best) == ["confidence", "loop_length_frames", "loop_start_frame", "seam_measure"], best
    # The 32-bit seam is not measured.
    assert (best["seam_measure"] is None) == (name == "forest32"), (name, best)
ogg = json.load(open(f"{work}/opening-ogg.json"))["pieces"][0]["candidates"][0]
assert abs(ogg["loop_length_frames"] - 352800) <= 44 and abs(ogg["loop_start_frame"] - 88200) <= 882, ogg
assert 0.5 < ogg["confidence"] < 1, ogg
# The document's confidence is the text's, to its two decimals.
said = open(f"{work}/opening-ogg.txt", encoding="utf-8").read().splitlines()[2]
assert f"confidence {ogg['confidence']:.2f}," in said and round(ogg["confidence"], 2) == ogg["confidence"], (said, ogg)
# Its times are the frames at the Ogg file's own rate.
import re
frames, minutes, seconds = re.search(r"length (\d+) frames \((\d+):([\d.]+)\)", said).groups()
assert abs(int(frames) / 44100 - (int(minutes) * 60 + float(seconds))) < 0.001, said
for name, reason in [("short", "too-short"), ("silent", "silent"), ("silent-ogg", "silent"), ("far", "nothing-near")]:
    piece = json.load(open(f"{work}/{name}.json"))["pieces"][0]
    assert (piece["found"], piece["case"], piece["reason"], piece["candidates"]) == (False, None, reason, []), (name, piece)
silent = open(f"{work}/silent.txt", encoding="utf-8").read().splitlines()
assert silent[1] == "  not found (silent): the data is silent", silent
pieces = json.load(open(f"{work}/bgm.json"))["pieces"]
assert [(p["number"], p["found"], p["case"], p["reason"], p["candidates"]) for p in pieces] == [
    (0, False, None, "no-repeat", []), (1, False, None, "no-repeat", []), (2, False, None, "no-repeat", [])], pieces
assert pieces[1]["title"] == "森の小径"
night = open(f"{work}/night.txt", encoding="utf-8").read().splitlines()
assert night[2] == "  1. start 0 frames (0:00.000), length 52920 frames (0:04.800), confidence 1.00, seam 0.0", night
document = json.load(open(f"{work}/native.json"))["pieces"]
assert [(p["number"], p["found"], p["case"]) for p in document] == [(0, False, None), (1, True, "repeat"), (2, False, None)], document
best = document[1]["candidates"][0]
assert (best["loop_start_frame"], best["loop_length_frames"], best["loop_start"], best["loop_size"], best["confidence"]) == (
    58800, 132300, 117600, 264600, 1.0), best
assert list(document[1]) == ["number", "title", "found", "case", "reason", "candidates"], list(document[1])
near = open(f"{work}/near.txt", encoding="utf-8").read().splitlines()
assert near[:6] == ["1\t森の小径", "  repeat: the data holds the loop more than once; candidates, best first:",
    near[2], "  loop_start=117600", "  loop_size=264600",
    "  the definition's loop is off the best: start +40 frames (+1.8 ms), length 0 frames (0.0 ms)"], near
assert near[2].startswith("  1. start 58800 frames (0:02.667), length 132300 frames (0:06.000), confidence 1.00"), near
assert near[6:8] == ["2\t夜の街", "  not found (no-repeat): the music does not repeat: the data holds one pass only, or the piece does not"], near
PY
# Usage errors: status 2.
exits 2 "$cli" find-loop "$sample" || fail "a definition needs --bgm"
exits 2 "$cli" find-loop "$work/night.wav" --bgm "$work/bgm" || fail "an audio file takes no --bgm"
exits 2 "$cli" find-loop "$work/night.wav" --near 2.5,0 || fail "a loop of no length"
exits 2 "$cli" find-loop "$work/night.wav" --near 2.5 || fail "--near needs a length"
exits 2 "$cli" find-loop "$work/night.wav" --near -1,5 || fail "a start before the data"
exits 2 "$cli" find-loop "$work/night.wav" --min-length 5 --max-length 3 || fail "crossed lengths"
exits 2 "$cli" find-loop "$work/night.wav" --loops 3 || fail "find-loop writes nothing: no --loops"
head -c 100 /dev/urandom >"$work/noise.wav"
exits 2 "$cli" find-loop "$work/noise.wav" || fail "a file that is neither definition nor audio"
echo "cli_find_loop: ok"
