#!/usr/bin/env bash
# morlo-cli on the bundled example: the files read back as WAVE with the listed figures, the exit
# codes tell the truth, and what is no definition (a folder, a device, a pipe nobody writes to) is
# refused at once.
. "$(dirname "$0")/lib/common.sh"
mkdir "$work/out" "$work/cancel"
[[ $("$cli" convert "$sample" --bgm "$work/bgm" --out "$work/out" </dev/null) == *'成功:3個 失敗:0個'* ]] ||
  fail "the run did not write all three pieces"
"$cli" list "$sample" >"$work/list.txt"
python3 - "$work" <<'PY' || fail "the list does not add up or the files do not read back as listed"
import os, sys, wave
work = sys.argv[1]
lines = open(f"{work}/list.txt", encoding="utf-8").read().splitlines()
rows = [line.split("\t") for line in lines[1:-1]]
seconds = [int(r[2].split(":")[0]) * 60 + int(r[2].split(":")[1]) for r in rows]
sizes = [int(r[3].replace(",", "")) for r in rows]
assert lines[-1].split()[2::3] == ["%d:%02d" % divmod(sum(seconds), 60), f"{sum(sizes):,}"], lines[-1]
for row, time, size in zip(rows, seconds, sizes):
    path = f"{work}/out/{row[4]}"
    with wave.open(path) as w:
        assert int(w.getnframes() / w.getframerate()) == time and os.path.getsize(path) == size, row
PY

# Without --yes and without a terminal every file is kept, and the run says so.
before=$(md5sum "$work/out"/*.wav)
exits 1 "$cli" convert "$sample" --bgm "$work/bgm" --out "$work/out" >/dev/null || fail "refusing to overwrite should exit 1"
[ "$before" = "$(md5sum "$work/out"/*.wav)" ] || fail "existing files changed without --yes"
exits 0 "$cli" convert "$sample" --bgm "$work/bgm" --out "$work/out" --yes --only 1 >/dev/null || fail "--yes should replace"

# A piece that a run would refuse is listed without figures and left out of the totals.
piece='wave_size=1058400\r\nloop_start=176400\r\nloop_size=882000\r\n'
printf "[album]\r\ntitle=x\r\n[music0000]\r\nfile=a.wav\r\n$piece[music0001]\r\nfile=../b.wav\r\n$piece" >"$work/refused.mrl"
"$cli" list "$work/refused.mrl" >"$work/refused.txt"
grep -q $'^   1\t\t--:--\t出力不可\t' "$work/refused.txt" || fail "a refused piece should be listed as 出力不可"
[ "$(tail -n 1 "$work/refused.txt")" = '合計時間 : 0:16 合計サイズ :   2,822,446' ] || fail "totals should leave out the refused piece"
"$cli" list "$work/refused.mrl" --loops 0 --fade 0 | grep -q $'^   0\t\t0:01\t176,446\ta.wav' || fail "list should follow --loops and --fade"

# --full-fade: 20 s of fade, longer than every loop, ends quiet (as sox and wave read the files);
# the list, --json of list and check, and the playlist tell the sizes and times of these files.
mkdir "$work/full"
"$cli" convert "$sample" --bgm "$work/bgm" --out "$work/full" --fade 20 --full-fade --playlist all.m3u8 >/dev/null
"$cli" list "$sample" --fade 20 --full-fade >"$work/full.txt"
"$cli" list "$sample" --fade 20 --full-fade --json >"$work/full.json"
"$cli" check "$sample" --bgm "$work/bgm" --fade 20 --full-fade --json >"$work/full-check.json"
python3 - "$work" <<'PY' || fail "the full fades are not as long or as quiet as they should be, or not as listed"
import json, os, subprocess, sys, wave
work = sys.argv[1]
rows = [line.split("\t") for line in open(f"{work}/full.txt", encoding="utf-8").read().splitlines()[1:-1]]
playlist = open(f"{work}/full/all.m3u8", encoding="utf-8").read().splitlines()
listed, checked = (json.load(open(f"{work}/{name}.json", encoding="utf-8"))["pieces"] for name in ("full", "full-check"))
assert [(p["output_bytes"], p["play_seconds"]) for p in checked] == [(p["output_bytes"], p["play_seconds"]) for p in listed]
for piece, row in zip(listed, rows):
    path, rate = f"{work}/full/{piece['file']}", piece["fmt_samples"]
    with wave.open(path) as w:
        frames, block = w.getnframes(), w.getsampwidth() * w.getnchannels()
    assert frames == (piece["loop_start"] + 2 * piece["loop_size"]) // block + 20 * rate, piece["file"]
    said = lambda *trim: subprocess.run(["sox", path, "-n", *trim, "stat"], capture_output=True, text=True).stderr
    stat = lambda *trim: {k.strip(): float(v.split()[0]) for k, v in (l.split(":", 1) for l in said(*trim).splitlines())}
    assert stat()["Samples read"] == frames * w.getnchannels(), piece["file"]
    assert stat("trim", "-0.1")["Maximum amplitude"] < 0.01, piece["file"]  # the last 0.1 s
    seconds = int(row[2].split(":")[0]) * 60 + int(row[2].split(":")[1])
    assert os.path.getsize(path) == piece["output_bytes"] == int(row[3].replace(",", "")), piece["file"]
    assert seconds == piece["play_seconds"] == frames // rate, piece["file"]
    assert f"#EXTINF:{seconds},{piece['title']}" in playlist, playlist
PY

# Ctrl-C while a long piece is written: exit 1, and the unfinished file is gone.
timeout 20 "$cli" convert "$sample" --bgm "$work/bgm" --out "$work/cancel" --only 0 --loops 999 </dev/null &>/dev/null &
pid=$!
for _ in $(seq 200); do [ -e "$work/cancel/opening.wav.morlo-unfinished" ] && break; sleep 0.05; done
kill -INT "$pid"
exits 1 wait "$pid" && [ -z "$(ls "$work/cancel")" ] || fail "Ctrl-C should cancel with exit 1 and remove the unfinished file"
# What is no definition file is refused at once, in one line naming the path and why.
mkfifo "$work/pipe"
while read -r path reason; do
  said=$(timeout 5 "$cli" list "$path" 2>&1 </dev/null) && status=0 || status=$?
  [ "$status" -eq 2 ] && [ "$said" = "morlo-cli: $path is no loop definition file ($reason)" ] || fail "$path: $status, '$said'"
done <<EOF
$work it is a folder
/dev/zero it is not a regular file
$work/pipe it is not a regular file
$top/README.md [album] title is missing or the file cannot be read
EOF
[ "$("$cli" --version)" = "morlo ver.1.01" ] || fail "--version is wrong"
exits 2 "$cli" convert "$sample" >/dev/null || fail "missing folders should exit 2"
echo "cli_example: ok"
