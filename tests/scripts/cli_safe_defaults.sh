#!/usr/bin/env bash
# A run resumed over a folder lists the whole album in its playlist (split, every file, and said
# in convert --json's document); what would harm or surprise is
# refused: binary data to a terminal, negative counts, and every usage error in two lines (the
# problem, where the usage is) with status 2. Natively and as morlo-cli.exe.
. "$(dirname "$0")/lib/common.sh"

# Seven pieces: the example's three, the same three under other names, and one whose BGM is missing.
python3 - "$sample" "$work/seven.mrl" <<'PY'
import re, sys
head, *pieces = re.split(r"(?=^\[music)", open(sys.argv[1], encoding="cp932").read(), flags=re.M)
again = [re.sub(r"file=(\w+)\.wav", r"file=\g<1>2.wav", piece).replace("title=", "title=続・") for piece in pieces]
lost = pieces[0].replace("file=opening.wav", "file=lost.wav").replace("wave_file=sample.bgm", "wave_file=gone.bgm")
numbered = [re.sub(r"^\[music\d+\]", f"[music{n:04d}]", piece) for n, piece in enumerate(pieces + again + [lost])]
open(sys.argv[2], "w", encoding="cp932", newline="").write(head + "".join(numbered))
PY
run=(convert "$work/seven.mrl" --bgm "$work/bgm" --loops 0 --fade 0 --playlist album.m3u8)
mkdir "$work/full" "$work/resumed" "$work/resumed-exe"
exits 1 "$cli" "${run[@]}" --out "$work/full" >/dev/null || fail "the piece without its BGM file should fail the run"
# Five of the six files there, and an older file under the failing piece's name.
for folder in resumed resumed-exe; do
  cp "$work/full"/*.wav "$work/$folder/" && rm "$work/$folder/opening2.wav" && printf old >"$work/$folder/lost.wav"
done
exits 1 "$cli" "${run[@]}" --out "$work/resumed" --skip-existing >/dev/null || fail "the resumed run should fail the lost piece"
exits 1 wine_cli "${run[@]//$work/Z:$work}" --out "Z:$work/resumed-exe" --skip-existing >/dev/null ||
  fail "morlo-cli.exe's resumed run should fail the lost piece"
for folder in full resumed resumed-exe; do
  [ "$(grep -v '^#' "$work/$folder/album.m3u8" | tr '\n' ' ')" = \
    "opening.wav forest.wav night.wav opening2.wav forest2.wav night2.wav " ] &&
    cmp -s "$work/$folder/album.m3u8" "$work/full/album.m3u8" ||
    fail "$folder's playlist: $(cat "$work/$folder/album.m3u8")"
done
[ "$(cat "$work/resumed/lost.wav")" = old ] || fail "the failed piece's older file changed"
# A run that leaves no file of its own writes no playlist.
exits 1 "$cli" "${run[@]}" --out "$work/full" --only 6 --playlist none.m3u8 >/dev/null 2>&1 || fail "the lost piece alone"
[ ! -e "$work/full/none.m3u8" ] || fail "a run that left no file wrote a playlist"
# Split, the folder holding the introductions and the night's loop: the other loops written, the
# playlist the first run's, introduction then loop.
mkdir "$work/split" "$work/split-resumed"
split=(convert "$sample" --bgm "$work/bgm" --split --playlist album.m3u8 --out)
"$cli" "${split[@]}" "$work/split" >/dev/null
cp "$work/split"/*-intro.wav "$work/split/night-loop.wav" "$work/split-resumed/"
"$cli" "${split[@]}" "$work/split-resumed" --skip-existing --json >"$work/split.json" 2>/dev/null
cmp -s "$work/split/album.m3u8" "$work/split-resumed/album.m3u8" ||
  fail "the resumed split playlist: $(cat "$work/split-resumed/album.m3u8")"
python3 - "$work" <<'PY' || fail "the resumed split run's document"
import json, os, sys
document = json.load(open(f"{sys.argv[1]}/split.json", encoding="utf-8"))
assert [(p["file"], p["result"]) for p in document["pieces"]] == [("opening-intro.wav", "skipped"), (
    "opening-loop.wav", "written"), ("forest-intro.wav", "skipped"), ("forest-loop.wav", "written"),
    ("night-loop.wav", "skipped")], document["pieces"]
size = os.path.getsize(f"{sys.argv[1]}/split-resumed/album.m3u8")
assert document["playlist"] == {"file": "album.m3u8", "result": "written", "reason": None, "output_bytes": size}, document
PY

# Every usage error: the problem, then where the usage of the command given is; nothing more.
usage_error() { # the problem, the command in the hint ('' for none), the arguments…
  local problem=$1 command=$2 status; shift 2
  "$cli" "$@" >"$work/out" 2>"$work/said" </dev/null && status=0 || status=$?
  [ $status -eq 2 ] && [ ! -s "$work/out" ] && [ "$(wc -l <"$work/said")" -eq 2 ] &&
    [ "$(cat "$work/said")" = "morlo-cli: $problem"$'\n'"Run 'morlo-cli ${command:+$command }--help' for the usage." ] ||
    fail "$*: status $status, said: $(cat "$work/said")"
}
usage_error 'no command given' ''
usage_error "unknown option '--loop'" list list "$sample" --loop 3
usage_error '--loops is not an option of find-loop' find-loop find-loop "$work/full/night.wav" --loops 3
usage_error "--loops takes a whole number of 0 or more, not '-1'" list list "$sample" --loops -1
usage_error "--fade takes a whole number of 0 or more, not '-0'" check check "$sample" --bgm "$work/bgm" --fade -0
usage_error 'there is no piece 3: the pieces are numbered 0 to 2' convert \
  convert "$sample" --bgm "$work/bgm" --out "$work/full" --only 1,3
usage_error 'find-loop on a definition needs --bgm DIR' find-loop find-loop "$sample"
usage_error '--loops and --length cannot be used together' list list "$sample" --loops 2 --length 3:00
usage_error '--split writes the introduction and one pass of the loop, without a fade-out, as files: it takes no --length' \
  convert convert "$sample" --bgm "$work/bgm" --out "$work/full" --split --length 3:00
[ "$(LANG=ja_JP.UTF-8 "$cli" convert "$sample" --bgm "$work/bgm" --out "$work/full" --only x 2>&1)" = \
  "morlo-cli: 曲番号の並び 'x' が読めません"$'\n'"使い方は 'morlo-cli convert --help' で表示できます。" ] ||
  fail "a usage error in Japanese"

# Counts above 999 count as 999, each said in a line; the run goes on as with 999.
"$cli" list "$sample" --loops 999 --fade 999 >"$work/largest.txt"
"$cli" list "$sample" --fade 1000 --loops 99999999999999999999 >"$work/limited.txt" 2>"$work/said" ||
  fail "a limited count should not fail list"
cmp -s "$work/largest.txt" "$work/limited.txt" && [ "$(cat "$work/said")" = "morlo-cli: --fade 1000 counts as 999
morlo-cli: --loops 99999999999999999999 counts as 999" ] || fail "limited counts: $(cat "$work/said")"

# morlo-cli.exe says the same, in its Japanese, byte for byte.
cp "$sample" "$work/sample.mrl"
for words in "" "list $work/sample.mrl --loops -1" "list $work/sample.mrl --loops 5000"; do
  read -ra args <<<"$words"
  LANG=ja_JP.UTF-8 "$cli" "${args[@]}" >"$work/native.out" 2>"$work/native.err" && native=0 || native=$?
  wine_cli "${args[@]//$work/Z:$work}" >"$work/exe.out" 2>"$work/exe.err" && exe=0 || exe=$?
  [ $exe -eq $native ] && cmp -s "$work/native.out" "$work/exe.out" && cmp -s "$work/native.err" "$work/exe.err" ||
    fail "morlo-cli.exe $words: status $exe, said: $(cat "$work/exe.err")"
done

# --stdout to a terminal (a pty; a console to Wine) is refused in one line before the definition
# is read: this one does not exist. Standard input is no terminal: standard output alone decides.
terminal() { # what the terminal shows, without Wine's control sequences and blank lines
  timeout "$bound" script -qec "$1 </dev/null" /dev/null </dev/null | sed 's/\x1b\[[0-9;?]*[A-Za-z]//g' | tr -d '\r' | grep -v '^$'
}
refuse=(convert "$work/none.mrl" --bgm "$work/bgm" --stdout --only 0)
said=$(terminal "$(printf '%q ' "$cli" "${refuse[@]}")") && status=0 || status=$?
[ $status -eq 2 ] && [ "$said" = "morlo-cli: standard output is a terminal: --stdout writes the piece's bytes there, send \
them to a file or a pipe" ] || fail "--stdout to a terminal: status $status, $said"
said=$(LANG=ja_JP.UTF-8 terminal "$(printf '%q ' wine "$cli_exe" "${refuse[@]//$work/Z:$work}")") && status=0 || status=$?
[ $status -eq 2 ] && [ "$said" = "morlo-cli: 標準出力が端末です: --stdout は曲のデータをそのまま書き出すので、ファイルかパイプに\
送ってください" ] || fail "morlo-cli.exe's --stdout to a console: status $status, $said"
echo "cli_safe_defaults: ok"
