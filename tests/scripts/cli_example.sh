#!/usr/bin/env bash
# morlo-cli on the bundled example: the files read back as WAVE with the listed figures, the exit
# codes tell the truth, and what is no definition (a folder, a device, a pipe nobody writes to) is
# refused at once.
. "$(dirname "$0")/lib/common.sh"
mkdir "$work/out" "$work/cancel"
[ "$(LANG=ja_JP.UTF-8 "$cli" convert "$sample" --bgm "$work/bgm" --out "$work/out" </dev/null)" = '出力終了(成功:3個 失敗:0個)' ] ||
  fail "the run did not write all three pieces, or said so in other words than the window's"

# Without --yes and without a terminal every file is kept and the piece fails; --skip-existing
# keeps them as skipped, not failed; --yes replaces.
before=$(md5sum "$work/out"/*.wav)
exits 1 "$cli" convert "$sample" --bgm "$work/bgm" --out "$work/out" >/dev/null || fail "refusing to overwrite should exit 1"
[ "$before" = "$(md5sum "$work/out"/*.wav)" ] || fail "existing files changed without --yes"
rm "$work/out/forest.wav"
printf old >"$work/out/album.m3u8"
skip=(convert "$sample" --bgm "$work/bgm" --out "$work/out" --skip-existing --playlist album.m3u8)
said=$("$cli" "${skip[@]}" 2>"$work/skipped") && status=0 || status=$?
[ "$said" = 'Output finished (succeeded: 1, failed: 0, skipped: 2)' ] && [ $status -eq 0 ] &&
  [ "$(cat "$work/skipped")" = "$work/out/opening.wav exists; kept"$'\n'"$work/out/night.wav exists; kept"$'\n'"$work/out/\
album.m3u8 exists; kept" ] || fail "--skip-existing should write the missing piece alone and say so: $status $(cat "$work/skipped")"
[ "$before" = "$(md5sum "$work/out"/*.wav)" ] && [ "$(cat "$work/out/album.m3u8")" = old ] || fail "--skip-existing changed a file"
exits 0 "$cli" "${skip[@]}" >/dev/null || fail "a run where nothing failed should exit 0"
exits 0 "$cli" convert "$sample" --bgm "$work/bgm" --out "$work/out" --yes --only 1 >/dev/null || fail "--yes should replace"

# A piece that a run would refuse is listed without figures and left out of the totals.
piece='wave_size=1058400\r\nloop_start=176400\r\nloop_size=882000\r\n'
printf "[album]\r\ntitle=x\r\n[music0000]\r\nfile=a.wav\r\n$piece[music0001]\r\nfile=../b.wav\r\n$piece" >"$work/refused.mrl"
"$cli" list "$work/refused.mrl" >"$work/refused.txt"
grep -q $'^   1\t\t--:--\tnot writable\t' "$work/refused.txt" || fail "a refused piece should be listed as not writable"
[ "$(tail -n 1 "$work/refused.txt")" = 'Total time : 0:16 Total size :   2,822,446' ] || fail "totals should leave out the refused piece"
LANG=ja_JP.UTF-8 "$cli" list "$work/refused.mrl" >"$work/refused.txt"
grep -q $'^   1\t\t--:--\t出力不可\t' "$work/refused.txt" || fail "in Japanese a refused piece should be listed as 出力不可"
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
timeout "$bound" "$cli" convert "$sample" --bgm "$work/bgm" --out "$work/cancel" --only 0 --loops 999 </dev/null &>/dev/null &
pid=$!
comes test -e "$work/cancel/opening.wav.morlo-unfinished" ||
  { kill "$pid"; fail "the run wrote no unfinished file to interrupt in $bound s"; }
kill -INT "$pid"
exits 1 wait "$pid" && [ -z "$(ls "$work/cancel")" ] || fail "Ctrl-C should cancel with exit 1 and remove the unfinished file"
# What is no definition file is refused at once, in one line naming the path and why.
mkfifo "$work/pipe"
: >"$work/empty.mrl"
head -c 4096 /dev/urandom >"$work/random.mrl"
while read -r path reason; do
  said=$(timeout "$bound" "$cli" list "$path" 2>&1 </dev/null) && status=0 || status=$?
  [ "$status" -eq 2 ] && [ "$said" = "morlo-cli: $path is no loop definition file ($reason)" ] || fail "$path: $status, '$said'"
done <<EOF
$work it is a folder
/dev/zero it is not a regular file
$work/pipe it is not a regular file
$work/none.mrl it does not exist
$work/empty.mrl it is empty
$work/random.mrl it has no [album] title
EOF

# Each message in one line with its exact reason; bad usage (status 2) says where the usage is after it.
mkdir "$work/fresh"
printf '[album]\r\ntitle=x\r\n' >"$work/empty-album.mrl"
said() { # the first line on stderr, the status, the command…
  local want=$1 status=$2 code; shift 2
  "$@" >/dev/null 2>"$work/said" </dev/null && code=0 || code=$?
  [ "$(head -n 1 "$work/said")" = "$want" ] && [ "$code" -eq "$status" ] ||
    fail "$*: status $code, said '$(head -n 1 "$work/said")', not '$want'"
}
to=(--bgm "$work/bgm" --out "$work/fresh")
said "night.wav: the BGM wave file $work/none/sample.bgm cannot be opened" 1 "$cli" convert "$sample" --bgm "$work/none" --out "$work/fresh" --only 2
said 'morlo-cli: there is no piece 3: the pieces are numbered 0 to 2' 2 "$cli" convert "$sample" "${to[@]}" --only 1,3
said "morlo-cli: --only takes a piece list, not ''" 2 "$cli" convert "$sample" "${to[@]}" --only ''
said 'morlo-cli: --yes and --skip-existing cannot be used together' 2 "$cli" convert "$sample" "${to[@]}" --yes --skip-existing
said 'morlo-cli: there is no piece 0: the definition has no pieces' 2 "$cli" convert "$work/empty-album.mrl" "${to[@]}" --only 0
[ -z "$(ls "$work/fresh")" ] || fail "a refused command wrote $(ls "$work/fresh")"
for command in list convert check; do
  "$cli" $command --help >"$work/help" 2>&1 && head -n 1 "$work/help" | grep -q '^usage: morlo-cli list' ||
    fail "$command --help should print the usage with status 0"
done

# The locale chooses the language: the first of LC_ALL, LC_MESSAGES and LANG that is set.
while IFS='|' read -r settings line; do
  got=$(env $settings "$cli" list "$work/none.mrl" 2>&1) || true
  [ "$got" = "morlo-cli: $work/none.mrl $line" ] || fail "$settings: '$got'"
done <<EOF
LANG=ja_JP.UTF-8|はループ定義ファイルではありません(存在しません)
LC_MESSAGES=ja_JP.eucJP LANG=C|はループ定義ファイルではありません(存在しません)
LC_ALL=C LANG=ja_JP.UTF-8|is no loop definition file (it does not exist)
EOF
[ "$(LANG=ja_JP.UTF-8 "$cli" convert "$sample" "${to[@]}" --only 3 2>&1 | head -n 1)" = 'morlo-cli: 3番の曲はありません: 曲の番号は0から2までです' ] ||
  fail "the piece numbers in Japanese"
[ "$("$cli" --version)" = "morlo ver.1.01" ] || fail "--version is wrong"
# The Windows programs tell the same version in their version resource, as Explorer shows it.
while IFS='|' read -r exe description; do
  [ "$(exiftool -s3 -ProductName -FileDescription -FileVersion -ProductVersion -FileVersionNumber -OriginalFileName \
    "$MORLO_BUILD/windows/src/$exe")" = "$(printf 'morlo\n%s\n1.01\n1.01\n1.1.0.0\n%s' "$description" "${exe#*/}")" ] ||
    fail "$exe's version resource"
done <<EOF
cli/morlo-cli.exe|morlo-cli, the command-line converter
mainwindow/morlo.exe|morlo
EOF
exits 2 "$cli" convert "$sample" >/dev/null || fail "missing folders should exit 2"
echo "cli_example: ok"
