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
text += b"[music0005]\r\nwave_file=missing.bgm\r\nfile=gone.mp3" + night + b"[music0006]\r\nfile=FOREST.WAV\r\ntitle=x\x85\x40" + night
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
    ("5", "warning", "no-wav-ending"), ("6", "warning", "same-output")] and lines[-1] == "7 pieces checked: 2 errors, 3 warnings", lines
# FOREST.WAV and forest.wav are two files on Linux, one on Windows: each system says what is true there.
assert lines[-2] == ("6\twarning\tsame-output\tx?@: the output name differs from piece 1's ('forest.wav') in letter case "
                     "alone: on Windows, and on file systems that ignore case such as FAT, the two are one file and "
                     "converting both, this one asks to replace that one's file"), lines[-2]
native, windows, listed = (json.load(open(f"{work}/{n}.json", encoding="utf-8")) for n in ("native", "windows", "list"))
messages = [d["pieces"][6]["findings"][0].pop("message") for d in (native, windows)]
assert messages == ["出力名が1番の曲の出力名('forest.wav')と大文字・小文字だけ違います。Windows や、FAT のように大文字と小文字を"
                    "区別しないファイルシステムでは同じファイルになり、両方を出力すると、こちらがそのファイルの上書きを尋ねます",
                    "1番の曲と同じファイル('forest.wav')に書きます。両方を出力すると、こちらがそのファイルの上書きを尋ねます"], messages
# The pair that is no character reads as its bytes on both systems.
assert native["pieces"][6]["title"] == "x?@" and native == windows, "the Windows document differs"
assert native["pieces"][4]["findings"][0]["message"] == "出力名 '..\\x.wav' はただのファイル名ではなく、出力フォルダの外に出ます"
pieces = native["pieces"]
assert [p["title"] for p in pieces[:2]] == ["オープニング", "森の小径"] and native["totals"]["errors"] == 2
seam = pieces[3]["findings"][0]
assert seam["measure"] > 8 and all(p["seam_measure"] < 2 for p in pieces[:3]), pieces
assert seam["suggestion"]["loop_start"] == 117600 and seam["suggestion"]["measure"] < 8, seam
# Too little data past the forest's cut end (45 ms) for the music to judge.
assert (seam["judged_by"], seam["suggestion"]["loop_start_frame"], seam["suggestion"]["start_shift_ms"]) == (
    "waveform", 58800, 0.0), seam
assert native["findings"] == [] and native["totals"]["notes"] == 0, native
# Every value of list's document from the definition as Windows reads it (the first of a repeated
# key) and the output rule worked out here: header, introduction, two loops, a fade of at most 10 s.
sections, expected = {}, []
for line in open(f"{work}/authors.mrl", "rb").read().decode("cp932", "replace").replace("\ufffd", "?").splitlines():
    if line.startswith("["):
        section = sections.setdefault(line.strip("[]"), {})
    elif "=" in line and not line.startswith(";"):
        section.setdefault(*line.split("=", 1))
for n in range(7):
    keys = sections[f"music{n:04d}"]
    piece = {"number": n, "section": f"music{n:04d}"} | {k: keys[k] for k in ("title", "file", "wave_file")}
    piece |= {k: int(keys[k]) for k in ("fmt_channels", "fmt_samples", "fmt_bits", "wave_start", "wave_size",
                                        "loop_start", "loop_size")}
    per_second = piece["fmt_channels"] * piece["fmt_samples"] * piece["fmt_bits"] // 8
    data = piece["loop_start"] + 2 * piece["loop_size"] + min(piece["loop_size"], 10 * per_second)
    expected.append(piece | {"play_seconds": data // per_second, "output_bytes": 46 + data, "writable": n != 4})
# check's pieces are list's with two keys more at their end.
assert listed["pieces"] == expected and [list(p) for p in listed["pieces"]] == [list(p) for p in expected], listed
assert [list(p)[:-2] for p in pieces] == [list(p) for p in expected] and list(pieces[0])[-2:] == ["seam_measure", "findings"]
assert [{k: p[k] for k in list(p)[:-2]} for p in pieces] == expected, pieces
written = [p for p in expected if p["writable"]]  # the piece whose name leaves the folder is not
totals = {"pieces": 7, "play_seconds": sum(p["play_seconds"] for p in written),
          "output_bytes": sum(p["output_bytes"] for p in written)}
for document in (listed, native):
    assert (document["album"], document["loops"], document["fade_seconds"]) == ("見本アルバム", 2, 10), document
    assert {k: document["totals"][k] for k in totals} == totals, document["totals"]
PY

# What loading passes over in silence, and a piece's findings, errors first. gap.mrl: the example
# with piece 2 numbered 5, and the forest's fmt_bits left out, its output name forest.mp3 and its
# loop past its data; bits.mrl: the example with only that; utf8.mrl: the example saved as UTF-8.
python3 - "$sample" "$work" <<'PY'
import sys
text = open(sys.argv[1], "rb").read()
bits = text.replace(b"fmt_bits=16\r\nwave_file=sample.bgm\r\nwave_start=1764064", b"wave_file=sample.bgm\r\nwave_start=1764064")
assert bits != text
open(f"{sys.argv[2]}/bits.mrl", "wb").write(bits)
open(f"{sys.argv[2]}/gap.mrl", "wb").write(bits.replace(b"[music0002]", b"[music0005]").replace(b"forest.wav", b"forest.mp3")
                                          .replace(b"loop_size=264600", b"loop_size=300000"))
open(f"{sys.argv[2]}/utf8.mrl", "wb").write(text.decode("cp932").encode("utf-8"))
PY
exits 1 "$cli" check "$work/gap.mrl" --bgm "$work/bgm" >"$work/gap.txt" || fail "a section never read should exit 1"
[ "$(cat "$work/gap.txt")" = "-	warning	unread-sections	$work/gap.mrl: sections never read (1): [music0005]; reading \
stops at the first missing number, [music0002]: number the sections from music0000 without gaps
1	error	loop-past-data	森の小径: the loop ends at byte 417600 (loop_start + loop_size) but the piece's data has only 382200 bytes (wave_size)
1	warning	no-wav-ending	森の小径: the output name 'forest.mp3' has no .wav ending
1	note	default-bits	森の小径: fmt_bits is not given: the default 16 is taken
2 pieces checked: 1 error, 2 warnings, 1 note" ] || fail "the gap and the default: $(cat "$work/gap.txt")"
LANG=ja_JP.UTF-8 "$cli" check "$work/gap.mrl" --bgm "$work/bgm" >"$work/gap.txt" || true
[ "$(cat "$work/gap.txt")" = "-	warning	unread-sections	$work/gap.mrl: 読まれないセクション(1個): [music0005]。読み込みは\
最初の欠番 [music0002] で止まります。music0000 から欠番なしで番号を付けてください
1	error	loop-past-data	森の小径: ループは 417600 バイト目で終わります(loop_start + loop_size)が、曲のデータは 382200 バイトしかありません(wave_size)
1	warning	no-wav-ending	森の小径: 出力名 'forest.mp3' は .wav で終わっていません
1	note	default-bits	森の小径: fmt_bits の指定がないので、既定の 16 になります
2曲を検査: エラー1件、警告2件、注記1件" ] || fail "the gap and the default in Japanese: $(cat "$work/gap.txt")"
exits 0 "$cli" check "$work/bits.mrl" --bgm "$work/bgm" >"$work/bits.txt" &&
  [ "$(tail -n 1 "$work/bits.txt")" = "3 pieces checked: 0 errors, 0 warnings, 1 note" ] ||
  fail "notes alone should exit 0 and be counted: $(cat "$work/bits.txt")"
# A name that is its ending alone has one.
sed 's/file=night.wav/file=.wav/' "$sample" >"$work/ending.mrl"
exits 1 "$cli" check "$work/ending.mrl" --bgm "$work/bgm" >"$work/ending.txt" || fail "a bare ending should exit 1"
[ "$(cat "$work/ending.txt")" = "2	warning	nothing-before-wav	夜の街: the output name '.wav' has nothing before its .wav ending
3 pieces checked: 0 errors, 1 warning" ] || fail "a bare ending: $(cat "$work/ending.txt")"
exits 0 "$cli" check "$work/utf8.mrl" --bgm "$work/bgm" >"$work/utf8.txt" || fail "a file saved as UTF-8 is read as such"
[ "$(cat "$work/utf8.txt")" = "-	note	saved-as-utf8	$work/utf8.mrl: the file is saved as UTF-8 without a byte-order \
mark: it was read as UTF-8
3 pieces checked: 0 errors, 0 warnings, 1 note" ] || fail "UTF-8 not told: $(cat "$work/utf8.txt")"
"$cli" check "$work/gap.mrl" --bgm "$work/bgm" --json >"$work/gap.json" || true
python3 - "$work/gap.json" <<'PY' || fail "the gap's document"
import json, sys
gap = json.load(open(sys.argv[1], encoding="utf-8"))
assert [(f["level"], f["code"]) for f in gap["findings"]] == [("warning", "unread-sections")], gap["findings"]
assert [(f["level"], f["code"]) for f in gap["pieces"][1]["findings"]] == [
    ("error", "loop-past-data"), ("warning", "no-wav-ending"), ("note", "default-bits")], gap
assert gap["pieces"][1]["findings"][2]["message"] == "fmt_bits is not given: the default 16 is taken", gap
assert (gap["totals"]["errors"], gap["totals"]["warnings"], gap["totals"]["notes"]) == (1, 2, 1), gap["totals"]
PY

# Judged by the music where the data goes on past the loop's end: twice.bgm holds the night's loop
# two and a half times; its loop as made passes, ended 3 ms late it is told to end where it runs on.
# Data that ends at the loop's end can only be judged by the waveform, and only shorter ends tried.
python3 - "$work" <<'PY'
import sys
work = sys.argv[1]
night = open(f"{work}/bgm/sample.bgm", "rb").read()[2146264:2146264 + 52920]
open(f"{work}/bgm/twice.bgm", "wb").write(night * 2 + night[:26460])
piece = lambda n, size, wave: (f"[music000{n}]\r\nfile=n{n}.wav\r\ntitle=night{n}\r\nfmt_channels=1\r\nfmt_samples=11025\r\n"
                               f"fmt_bits=8\r\nwave_file=twice.bgm\r\nwave_size={wave}\r\nloop_start=0\r\nloop_size={size}\r\n")
open(f"{work}/twice.mrl", "w", newline="").write("[album]\r\ntitle=twice\r\n" + piece(0, 52920, 132300) +
                                                 piece(1, 52953, 132300) + piece(2, 52953, 52953))
PY
exits 1 "$cli" check "$work/twice.mrl" --bgm "$work/bgm" >"$work/twice.txt" || fail "a loop that does not run on should exit 1"
[ "$(cat "$work/twice.txt")" = "1	warning	loop-seam	night1: the music does not run on from the loop's end into its start: \
difference 1.50 (the same music is below 0.30, unrelated about 1); suggested: loop_start=0 loop_size=52920 (start 0 frames, \
length 52920 frames; start moved +0.0 ms, end moved -3.0 ms)
2	warning	loop-seam	night2: the loop's seam jumps, an audible click: measure 14.5 (smooth is about 1, above 8.0 is \
flagged); the data ends at the loop's end: only shorter ends could be tried; smoother: loop_start=0 loop_size=52924 (start 0 \
frames, length 52924 frames; start moved +0.0 ms, end moved -2.6 ms; measure 0.0)
3 pieces checked: 0 errors, 2 warnings" ] || fail "loops judged by the music and by the waveform: $(cat "$work/twice.txt")"
"$cli" check "$work/twice.mrl" --bgm "$work/bgm" --json >"$work/twice.json" || true
python3 - "$work/twice.json" <<'PY' || fail "the judgements' document"
import json, sys
pieces = json.load(open(sys.argv[1], encoding="utf-8"))["pieces"]
music, waveform = pieces[1]["findings"][0], pieces[2]["findings"][0]
assert pieces[0]["findings"] == [] and pieces[0]["seam_measure"] < 1, pieces[0]
assert list(music)[3:] == ["judged_by", "measure", "difference", "suggestion"], music
assert (music["judged_by"], round(music["difference"], 2), music["measure"] > 8) == ("music", 1.5, True), music
assert music["suggestion"] == {"loop_start": 0, "loop_size": 52920, "measure": 0.0, "loop_start_frame": 0,
                               "loop_length_frames": 52920, "start_shift_ms": 0.0, "end_shift_ms": -3.0,
                               "difference": 0.0}, music
assert (waveform["judged_by"], waveform["difference"], round(waveform["measure"], 1)) == ("waveform", None, 14.5), waveform
assert {k: waveform["suggestion"][k] for k in ("loop_size", "loop_length_frames", "end_shift_ms", "difference")} == {
    "loop_size": 52924, "loop_length_frames": 52924, "end_shift_ms": -2.6, "difference": None}, waveform
PY

# Loop points, and tags beside them: one loop, 1 s of fade, so that the 8-bit piece's data is odd
# and needs its pad byte. The tagged run also writes a playlist; so does morlo-cli.exe's.
mkdir "$work/plain" "$work/points" "$work/tagged" "$work/tagged-windows" "$work/odd"
run=(convert "$sample" --bgm "$work/bgm" --loops 1 --fade 1 --yes --out)
tags=(--tags --loop-points --playlist album.m3u8)
"$cli" "${run[@]}" "$work/plain" >/dev/null && "$cli" "${run[@]}" "$work/points" --loop-points >/dev/null
"$cli" "${run[@]}" "$work/tagged" "${tags[@]}" >/dev/null
# Saved as UTF-8, with or without a byte-order mark, the definition writes the same files, names and tags.
printf '\xEF\xBB\xBF' | cat - "$work/utf8.mrl" >"$work/utf8-marked.mrl"
for saved in utf8 utf8-marked; do
  mkdir "$work/$saved"
  "$cli" "${run[@]/#$sample/$work/$saved.mrl}" "$work/$saved" "${tags[@]}" >/dev/null
  diff -r "$work/tagged" "$work/$saved" >/dev/null || fail "$saved.mrl writes other files than the Shift-JIS one"
done
exits 0 wine_cli "${run[@]/#$work/Z:$work}" "Z:$work/tagged-windows" "${tags[@]}" >/dev/null || fail "the exe with --tags"
"$cli" list "$sample" --loops 1 --fade 1 --tags --loop-points >"$work/list.txt"
"$cli" list "$sample" --loops 1 --fade 1 --tags --loop-points --json >"$work/list.json"
# The piece whose title has a byte pair that is no Shift-JIS character.
"$cli" convert "$work/authors.mrl" --bgm "$work/bgm" --out "$work/odd" --only 6 --tags >/dev/null
# Without --yes: failed pieces are left out of a playlist, and a playlist that exists is kept.
again=("$cli" "${run[@]/--yes/--tags}" "$work/tagged" --loop-points --playlist)
rm "$work/tagged/forest.wav"
exits 1 "${again[@]}" new.m3u8 >/dev/null || fail "kept pieces should exit 1"
rm "$work/tagged/forest.wav"
"${again[@]}" album.m3u8 --only 1 </dev/null >/dev/null 2>"$work/kept.txt" && fail "a kept playlist should exit 1"
grep -qx 'album.m3u8: the output file exists and was kept' "$work/kept.txt" || fail "the kept playlist is not named"
# mutagen comes with Debian's Python.
/usr/bin/python3 - "$work" <<'PY' || fail "the smpl chunks, the tags or the playlist"
import json, mutagen.wave, struct, subprocess, sys, wave
work = sys.argv[1]
out = lambda *command: subprocess.run(command, capture_output=True, check=True).stdout
listed = [line.split("\t") for line in open(f"{work}/list.txt", encoding="utf-8").read().splitlines()[1:-1]]
for n, (name, title, loop_start, loop_size, frame, rate) in enumerate([
        ("opening.wav", "オープニング", 352800, 1411200, 4, 44100), ("forest.wav", "森の小径", 117600, 264600, 2, 22050),
        ("night.wav", "夜の街", 0, 52920, 1, 11025)]):
    plain, marked, tagged, windows = (open(f"{work}/{d}/{name}", "rb").read()
                                      for d in ("plain", "points", "tagged", "tagged-windows"))
    assert tagged == windows and marked[:4] + marked[8:len(plain)] == plain[:4] + plain[8:], name
    assert marked[8:] == tagged[8:len(marked)] and len(plain) % 2 == (name == "night.wav"), name
    for file in (marked, tagged):
        assert struct.unpack("<I", file[4:8])[0] == len(file) - 8, name
        chunks, at = {}, 12
        while at < len(file):
            tag, size = file[at:at + 4], struct.unpack("<I", file[at + 4:at + 8])[0]
            chunks[tag], at = file[at + 8:at + 8 + size], at + 8 + size + size % 2
        assert at == len(file) and list(chunks)[:3] == [b"fmt ", b"data", b"smpl"], (name, list(chunks))
    assert list(chunks)[3:] == [b"LIST", b"id3 "], (name, list(chunks))
    assert struct.unpack("<9I6I", chunks[b"smpl"]) == (0, 0, round(1e9 / rate), 60, 0, 0, 0, 1, 0, 0, 0, loop_start // frame,
                                                      (loop_start + loop_size) // frame - 1, 0, 0), name
    paths = [f"{work}/{d}/{name}" for d in ("plain", "points", "tagged")]
    assert out("sox", "--i", "-s", *paths).decode() == f"{len(chunks[b'data']) // frame}\n" * 3, name
    for path in paths:
        with wave.open(path) as w:
            assert w.readframes(w.getnframes()) == chunks[b"data"], path
    path = paths[2]
    assert int(listed[n][3].replace(",", "")) == len(tagged) == json.load(open(f"{work}/list.json"))["pieces"][n]["output_bytes"]
    # ffprobe reads INFO only (it drops the ID3 tag when INFO is there), the texts as their bytes.
    probed = json.loads(out("ffprobe", "-v", "error", "-show_entries", "format_tags", "-of", "json", path))
    raw = out("ffmpeg", "-v", "error", "-i", path, "-f", "ffmetadata", "-").decode("cp932").splitlines()
    assert probed["format"]["tags"]["track"] == str(n + 1) and [f"title={title}", "album=見本アルバム"] == raw[1:3], (probed, raw)
    assert mutagen.wave.WAVE(path).tags.pprint().splitlines() == ["TALB=見本アルバム", f"TIT2={title}", f"TRCK={n + 1}/3"], name
    info = out("exiftool", "-charset", "Latin", "-charset", "RIFF=Latin", "-s3", "-RIFF:Title", "-RIFF:Product",
               "-RIFF:TrackNumber", "-RIFF:Software", path).decode("cp932")
    id3 = out("exiftool", "-s3", "-ID3:Title", "-ID3:Album", "-ID3:Track", path).decode()
    assert (info, id3) == (f"{title}\n見本アルバム\n{n + 1}\nmorlo ver.1.01\n", f"{title}\n見本アルバム\n{n + 1}/3\n"), (info, id3)
odd = f"{work}/odd/FOREST.WAV"
assert out("exiftool", "-charset", "Latin", "-charset", "RIFF=Latin", "-s3", "-RIFF:Title", odd) == b"x\x85\x40\n"
assert str(mutagen.wave.WAVE(odd).tags["TIT2"]) == "x?@", "invalid Shift-JIS is replaced as in JSON"
playlist = "#EXTM3U\n#EXTINF:11,オープニング\nopening.wav\n#EXTINF:9,森の小径\nforest.wav\n#EXTINF:5,夜の街\nnight.wav\n"
texts = [open(f"{work}/{d}", encoding="utf-8", newline="").read()
         for d in ("tagged/album.m3u8", "tagged-windows/album.m3u8", "tagged/new.m3u8")]
assert texts == [playlist, playlist, "#EXTM3U\n#EXTINF:9,森の小径\nforest.wav\n"], texts
assert sorted(__import__("os").listdir(f"{work}/tagged")) == ["album.m3u8", "forest.wav", "new.m3u8", "night.wav",
                                                              "opening.wav"]
PY
echo "cli_authoring: ok"
