#!/usr/bin/env bash
# convert --jobs: pieces encoded by several workers give the files of one worker byte for byte,
# with the same end line, failure lines, exit status and playlist (morlo-cli.exe's files and end
# line too); the overwrite questions are asked about the same files in the same order and take
# the same answers; a cancel (SIGINT, SIGTERM, Ctrl-C at a question) while pieces are encoded
# leaves no unfinished file and every file that was there as it was.
. "$(dirname "$0")/lib/common.sh"
socket="$work/tmux"
trap 'tmux -S "$socket" kill-server 2>/dev/null || true; rm -rf "$work"' EXIT

# The example's three pieces and two of them again under other names, among a piece whose BGM
# file is missing, one whose BGM file ends too soon, one whose loop reaches past its data and one
# of 12 bits, which FLAC and Ogg Vorbis refuse.
piece() { # number, file, then key=value… (of a key given twice the first counts)
  printf '[music%04d]\nfile=%s\ntitle=%s\n' "$1" "$2" "${2%.wav}"
  shift 2
  printf '%s\n' "$@"
}
opening=(fmt_channels=2 fmt_samples=44100 wave_file=sample.bgm wave_start=64 wave_size=1764000 loop_start=352800 loop_size=1411200)
forest=(fmt_channels=1 fmt_samples=22050 wave_file=sample.bgm wave_start=1764064 wave_size=382200 loop_start=117600 loop_size=264600)
night=(fmt_channels=1 fmt_samples=11025 fmt_bits=8 wave_file=sample.bgm wave_start=2146264 wave_size=52920 loop_size=52920)
{
  printf '[album]\ntitle=jobs\n'
  piece 0 opening.wav "${opening[@]}"
  piece 1 lost.wav wave_file=missing.bgm "${opening[@]}"
  piece 2 forest.wav "${forest[@]}"
  piece 3 short.wav wave_start=2190000 "${night[@]}"
  piece 4 night.wav "${night[@]}"
  piece 5 past.wav loop_start=8 "${night[@]}"
  piece 6 opening2.wav "${opening[@]}"
  piece 7 forest2.wav "${forest[@]}"
  piece 8 b12.wav fmt_bits=12 "${night[@]}"
} >"$work/jobs.mrl"
run=(convert "$work/jobs.mrl" --bgm "$work/bgm")

# Every format with one worker and with four: the same files, lines and status.
for format in wav flac ogg; do
  for jobs in 1 4; do
    doing="$format with $jobs workers"
    mkdir "$work/$format$jobs"
    "$cli" "${run[@]}" --out "$work/$format$jobs" --format $format --jobs $jobs --fade 3 --tags --loop-points \
      --playlist all.m3u8 >"$work/$format$jobs.out" 2>"$work/$format$jobs.err" </dev/null && status=0 || status=$?
    echo "$status" >"$work/$format$jobs.status"
  done
  doing="$format"
  diff -r "$work/${format}1" "$work/${format}4" || fail "the files differ"
  for kind in out err status; do
    cmp -s "$work/${format}1.$kind" "$work/${format}4.$kind" ||
      fail "$kind differs: $(cat "$work/${format}1.$kind") / $(cat "$work/${format}4.$kind")"
  done
done
[ "$(cat "$work/flac4.out")" = "Output finished (succeeded: 5, failed: 4)" ] && [ "$(cat "$work/flac4.status")" = 1 ] &&
  [ "$(ls "$work/flac4" | tr '\n' ' ')" = "all.m3u8 forest.flac forest2.flac night.flac opening.flac opening2.flac " ] ||
  fail "FLAC run: $(cat "$work/flac4.out"), status $(cat "$work/flac4.status"), $(ls "$work/flac4" | tr '\n' ' ')"

# morlo-cli.exe's workers (threads of the Windows build) too.
for jobs in 1 4; do
  doing="morlo-cli.exe with $jobs workers"
  mkdir "$work/exe$jobs"
  wine_cli convert "Z:$work/jobs.mrl" --bgm "Z:$work/bgm" --out "Z:$work/exe$jobs" --format flac --jobs $jobs \
    >"$work/exe$jobs.out" 2>/dev/null </dev/null && echo 0 >>"$work/exe$jobs.out" || echo $? >>"$work/exe$jobs.out"
done
diff -r "$work/exe1" "$work/exe4" && cmp -s "$work/exe1.out" "$work/exe4.out" && [ "$(ls "$work/exe4" | wc -l)" -eq 5 ] ||
  fail "the files or the end line differ: $(cat "$work/exe1.out") / $(cat "$work/exe4.out")"

# The questions at a terminal, answered in turn: lost.flac exists too, but its piece fails before
# it would be asked about, so the answers go to the same files with either number of workers.
quick=("${run[@]}" --format flac --loops 0 --fade 0)
mkdir "$work/ref" && "$cli" "${quick[@]}" --out "$work/ref" &>/dev/null </dev/null || true
printf old >"$work/old"
prompt='Replace it? (y = yes, n or Enter = no, a = yes to all, s = no to all)'
asked() { tmux -S "$socket" capture-pane -p -S - -t ask >"$work/screen" && [ "$(grep -cF "$prompt" "$work/screen")" -ge "$1" ]; }
for jobs in 1 4; do
  doing="answering with $jobs workers"
  rm -rf "$work/ask" && mkdir "$work/ask"
  for name in opening lost forest night opening2; do cp "$work/old" "$work/ask/$name.flac"; done
  tmux -S "$socket" new-session -d -s ask -x 200 -y 50 \
    "LC_ALL=C.UTF-8 $(printf '%q ' "$cli" "${quick[@]}" --out "$work/ask" --jobs $jobs); echo \"status \$?\"; tmux -S $socket wait-for -S asked; sleep 60"
  n=0
  for key in y n y n; do
    n=$((n + 1))
    comes asked $n || { cat "$work/screen"; fail "question $n did not show in $bound s"; }
    tmux -S "$socket" send-keys -t ask $key Enter
  done
  timeout "$bound" tmux -S "$socket" wait-for asked || fail "the run did not end"
  tmux -S "$socket" capture-pane -p -S - -t ask >"$work/screen"
  tmux -S "$socket" kill-session -t ask
  seen=""
  for name in opening lost forest night opening2 forest2; do
    if cmp -s "$work/ask/$name.flac" "$work/old"; then seen+="$name:kept "
    elif cmp -s "$work/ask/$name.flac" "$work/ref/$name.flac"; then seen+="$name:replaced "
    else seen+="$name:other "; fi
  done
  [ "$seen" = "opening:replaced lost:kept forest:kept night:replaced opening2:kept forest2:replaced " ] &&
    grep -qxF "Output finished (succeeded: 3, failed: 6)" "$work/screen" && grep -qx "status 1" "$work/screen" &&
    [ "$(grep -cF "$prompt" "$work/screen")" -eq 4 ] || { cat "$work/screen"; fail "$seen"; }
done

# Cancelled while three long pieces are encoded, with three workers and with one per processor
# (as many of the pieces at once as there are processors): each unfinished file goes, the files
# that were there stay as they were and the other pieces leave nothing.
long=("${run[@]}" --only 0,2,6 --loops 999 --yes)
encoding() { [ "$(find "$work/cancel" -name '*.morlo-unfinished' | wc -l)" -eq "$1" ]; }
processors=$(getconf _NPROCESSORS_ONLN)
for signal in INT TERM; do
  format=flac jobs=(--jobs 3) at_once=3
  [ $signal = INT ] || format=ogg jobs=() at_once=$((processors < 3 ? processors : 3))
  doing="SIG$signal while encoding $format ${jobs[*]}"
  rm -rf "$work/cancel" && mkdir "$work/cancel"
  cp "$work/old" "$work/cancel/opening.$format" && cp "$work/old" "$work/cancel/forest.$format"
  "$cli" "${long[@]}" "${jobs[@]}" --out "$work/cancel" --format $format </dev/null >"$work/cancel.out" 2>"$work/cancel.err" &
  pid=$!
  comes encoding $at_once || { kill "$pid"; fail "$at_once pieces were not encoded at once in $bound s"; }
  kill -$signal "$pid"
  { wait "$pid"; } 2>/dev/null && status=0 || status=$?
  [ $status -eq 1 ] && grep -q '^morlo-cli: cancelled' "$work/cancel.err" || fail "status $status, $(cat "$work/cancel.err")"
  [ "$(ls -A "$work/cancel" | tr '\n' ' ')" = "forest.$format opening.$format " ] &&
    cmp -s "$work/cancel/opening.$format" "$work/old" && cmp -s "$work/cancel/forest.$format" "$work/old" ||
    fail "the folder holds $(ls -A "$work/cancel" | tr '\n' ' ')"
done

# Ctrl-C at the question about opening2.flac while the other two pieces are encoded.
doing="Ctrl-C at the question while encoding"
rm -rf "$work/cancel" && mkdir "$work/cancel" && cp "$work/old" "$work/cancel/opening2.flac"
tmux -S "$socket" new-session -d -s ask -x 200 -y 50 \
  "LC_ALL=C.UTF-8 $(printf '%q ' "$cli" "${run[@]}" --only 0,2,6 --loops 999 --jobs 3 --format flac --out "$work/cancel"); echo \"status \$?\"; tmux -S $socket wait-for -S asked; sleep 60"
comes asked 1 || { cat "$work/screen"; fail "the question did not show in $bound s"; }
comes encoding 2 || fail "the other pieces were not encoded while the question waited"
tmux -S "$socket" send-keys -t ask C-c
timeout "$bound" tmux -S "$socket" wait-for asked || fail "the run did not end"
tmux -S "$socket" capture-pane -p -S - -t ask >"$work/screen"
grep -q '^morlo-cli: cancelled' "$work/screen" && grep -qx 'status 1' "$work/screen" || { cat "$work/screen"; fail "not cancelled"; }
[ "$(ls -A "$work/cancel")" = opening2.flac ] && cmp -s "$work/cancel/opening2.flac" "$work/old" ||
  fail "the folder holds $(ls -A "$work/cancel" | tr '\n' ' ')"

doing=""
said=$("$cli" "${run[@]}" --out "$work/ref" --jobs 0 2>&1 >/dev/null) && status=0 || status=$?
[ $status -eq 2 ] && [ "$(echo "$said" | head -1)" = "morlo-cli: --jobs takes a number from 1 to 999, not '0'" ] ||
  fail "--jobs 0: $status, $said"
echo "cli_jobs: ok"
