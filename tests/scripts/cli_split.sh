#!/usr/bin/env bash
# convert --split: each piece as its introduction and one pass of its loop. Joined, introduction,
# loop, loop, they are the plain file of --loops 2 --fade 0 sample for sample, in WAVE (Python's
# wave) and FLAC (flac -d); the loop file's loop read by exiftool, metaflac and vorbiscomment, the
# introduction's none; the piece without an introduction writes its loop file alone; the playlist
# names the introduction, then the loop; each existing file is asked about on its own; the options
# that do not apply are usage errors; --jobs 2 writes what --jobs 1 does, morlo-cli.exe what morlo-cli does;
# convert --json has an object per file, a piece refused whole under its own name.
. "$(dirname "$0")/lib/common.sh"
run=(convert "$sample" --bgm "$work/bgm" --yes --out)
split=(--split --tags --loop-points)
mkdir "$work"/{wav,flac,flac2,ogg,exe,plain,plainflac,json}
"$cli" "${run[@]}" "$work/plain" --loops 2 --fade 0 >/dev/null
"$cli" "${run[@]}" "$work/plainflac" --loops 2 --fade 0 --format flac >/dev/null
"$cli" "${run[@]}" "$work/wav" "${split[@]}" --playlist album.m3u8 >"$work/end.txt"
"$cli" "${run[@]}" "$work/flac" "${split[@]}" --format flac --jobs 1 >/dev/null
"$cli" "${run[@]}" "$work/flac2" "${split[@]}" --format flac --jobs 2 >/dev/null
# mixed.mrl: the example and a fourth piece, the night under a name that leaves the folder.
python3 -c 'import sys; t = open(sys.argv[1], "rb").read(); night = t[t.index(b"[music0002]"):]
open(sys.argv[2], "wb").write(t + night.replace(b"[music0002]", b"[music0003]").replace(b"night.wav", b"..\\x.wav"))' \
  "$sample" "$work/mixed.mrl"
exits 1 "$cli" "${run[@]/#$sample/$work/mixed.mrl}" "$work/json" --split --json >"$work/json.json" ||
  fail "the refused piece should fail the run"
"$cli" "${run[@]}" "$work/ogg" "${split[@]}" --format ogg >/dev/null
wine_cli "${run[@]/#$work/Z:$work}" "Z:$work/exe" "${split[@]}" --playlist album.m3u8 >/dev/null
diff -r "$work/wav" "$work/exe" >/dev/null || fail "morlo-cli.exe writes other files"
diff -r "$work/flac" "$work/flac2" >/dev/null || fail "--jobs 2 writes other files than --jobs 1"
for f in "$work"/flac/*.flac "$work"/plainflac/*.flac; do
  flac -s -d --force-raw-format --endian=little --sign=signed -o "$f.raw" "$f"
  metaflac --export-tags-to="$f.tags" "$f"
done
for f in "$work"/ogg/*.ogg; do vorbiscomment -l "$f" >"$f.tags"; done
for f in "$work"/wav/*-loop.wav; do exiftool -b -SamplerData "$f" >"$f.smpl"; done
python3 - "$work" <<'PY' || fail "the split files"
import json, os, struct, subprocess, sys, wave
work = sys.argv[1]
def frames(path):
    with wave.open(path) as w:
        return w.readframes(w.getnframes())
assert open(f"{work}/end.txt").read() == "Output finished (succeeded: 5, failed: 0)\n"
names = ["forest-intro", "forest-loop", "night-loop", "opening-intro", "opening-loop"]
for kind in ("flac", "ogg"):
    assert sorted(n for n in os.listdir(f"{work}/{kind}") if n.endswith(kind)) == [f"{n}.{kind}" for n in names], kind
playlist = "#EXTM3U\n"
for name, title, frame in (("opening", "オープニング", 4), ("forest", "森の小径", 2), ("night", "夜の街", 1)):
    intro = frames(f"{work}/wav/{name}-intro.wav") if name != "night" else b""
    loop = frames(f"{work}/wav/{name}-loop.wav")
    assert intro + loop + loop == frames(f"{work}/plain/{name}.wav"), f"{name}: WAVE"
    raw = lambda part: open(f"{work}/flac/{name}-{part}.flac.raw", "rb").read() if intro or part == "loop" else b""
    assert raw("intro") + raw("loop") * 2 == open(f"{work}/plainflac/{name}.flac.raw", "rb").read(), f"{name}: FLAC"
    length = len(loop) // frame
    # exiftool's sampler data: the loop's cue point, type, first and last frame, and fraction.
    assert struct.unpack("<5I", open(f"{work}/wav/{name}-loop.wav.smpl", "rb").read()) == (0, 0, 0, length - 1, 0)
    loop_tags = [f"TITLE={title} (loop)", "ALBUM=見本アルバム"]
    for kind in ("flac", "ogg"):
        tags = open(f"{work}/{kind}/{name}-loop.{kind}.tags", encoding="utf-8").read().splitlines()
        assert tags[:2] == loop_tags and tags[-2:] == ["LOOPSTART=0", f"LOOPLENGTH={length}"], (name, kind, tags)
        if intro:
            tags = open(f"{work}/{kind}/{name}-intro.{kind}.tags", encoding="utf-8").read()
            assert f"TITLE={title}\n" in tags and "LOOP" not in tags, (name, kind, tags)
    rate = {4: 44100, 2: 22050, 1: 11025}[frame]
    if intro:
        playlist += f"#EXTINF:{len(intro) // frame // rate},{title}\n{name}-intro.wav\n"
    playlist += f"#EXTINF:{length // rate},{title} (loop)\n{name}-loop.wav\n"
    for part, data in (("intro", intro), ("loop", loop)):
        if data:
            probed = subprocess.run(["ffprobe", "-v", "error", "-show_entries", "stream=duration_ts", "-of", "csv=p=0",
                                     f"{work}/ogg/{name}-{part}.ogg"], capture_output=True, check=True).stdout
            assert int(probed) == len(data) // frame, (name, part, probed)
assert open(f"{work}/wav/album.m3u8", encoding="utf-8").read() == playlist, open(f"{work}/wav/album.m3u8").read()
document = json.load(open(f"{work}/json.json", encoding="utf-8"))
files = [(0, "opening-intro"), (0, "opening-loop"), (1, "forest-intro"), (1, "forest-loop"), (2, "night-loop")]
assert list(document["pieces"][0]) == ["number", "part", "file", "result", "reason", "output_bytes"], document
assert [tuple(p.values()) for p in document["pieces"]] == [
    (n, name.split("-")[1], f"{name}.wav", "written", None, os.path.getsize(f"{work}/json/{name}.wav"))
    for n, name in files] + [(3, "whole", "..\\x.wav", "failed", "name-not-plain", None)], document["pieces"]
assert document["totals"] == {"pieces": 6, "written": 5, "failed": 1, "skipped": 0, "cancelled": 0}, document
PY

# Each file is asked about on its own: kept, every one of them.
"$cli" "${run[@]/--yes/--skip-existing}" "$work/wav" --split >"$work/again.txt" 2>/dev/null
[ "$(cat "$work/again.txt")" = "Output finished (succeeded: 0, failed: 0, skipped: 5)" ] || fail "again: $(cat "$work/again.txt")"
for given in "--loops 3" "--length 3:00" "--fade 0" --full-fade "--stdout --only 0"; do
  # shellcheck disable=SC2086
  "$cli" convert "$sample" --bgm "$work/bgm" --split $given 2>"$work/refused.txt" && fail "--split with $given"
  grep -q "^morlo-cli: --split writes .*: it takes no ${given%% *}$" "$work/refused.txt" || fail "$given: $(cat "$work/refused.txt")"
done
echo "cli_split: ok"
