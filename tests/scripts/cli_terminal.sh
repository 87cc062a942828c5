#!/usr/bin/env bash
# morlo-cli in a real terminal (tmux): 120 columns wide, a piece with a long Japanese title and a
# piece that fails leave the failure on its own line and exactly one progress line below it; every
# answer to the overwrite question does what it says.
. "$(dirname "$0")/lib/common.sh"
socket="$work/tmux"
trap 'tmux -S "$socket" kill-server 2>/dev/null || true; rm -rf "$work"' EXIT

mkdir "$work/out"
truncate -s 1764064 "$work/silence.bgm"
title=$(printf '夜明け前の森を歩く%.0s' {1..9})
piece() { # number, file, wave file
  printf '[music%04d]\nfile=%s\ntitle=%s\nfmt_channels=2\nfmt_samples=44100\nfmt_bits=16\nwave_file=%s\n' "$1" "$2" "$title" "$3"
  printf 'wave_start=64\nwave_size=1764000\nloop_start=352800\nloop_size=1411200\n'
}
{ printf '[album]\ntitle=長い題\n'; piece 0 lost.wav missing.bgm; piece 1 long.wav silence.bgm; } |
  iconv -f UTF-8 -t CP932 >"$work/long.mrl"
run=("$cli" convert "$work/long.mrl" --bgm "$work" --out "$work/out" --yes)

LC_ALL=C.UTF-8 tmux -u -S "$socket" -f /dev/null new-session -d -x 120 -y 20 \
  "$(printf '%q ' "${run[@]}"); tmux -S $socket wait-for -S done; sleep 60"
timeout "$bound" tmux -S "$socket" wait-for done || fail "the run did not end"
tmux -S "$socket" capture-pane -p >"$work/screen"
bars=$(grep -cE '^\[[#.]{30}\] 100%  夜明け前.*\.\.\.$' "$work/screen" || true)
[ "$bars" -eq 1 ] || { cat "$work/screen"; fail "the screen holds $bars fitted progress lines, not one"; }
grep -A1 -x "lost.wav: the BGM wave file $work/missing.bgm cannot be opened" "$work/screen" | grep -q '^\[#' ||
  { cat "$work/screen"; fail "the failure is not followed by the progress line"; }

# Without a terminal on stderr only the failure is written there.
"${run[@]}" >/dev/null 2>"$work/stderr" </dev/null && fail "a failed piece should fail the run"
[ "$(cat "$work/stderr")" = "lost.wav: the BGM wave file $work/missing.bgm cannot be opened" ] ||
  fail "stderr holds more than the failure"
# The overwrite question answered as a user would, for three existing files asked about in turn:
# which files each answer replaces, how many questions were asked, the end line, the status and
# the playlist, which lists the files written or kept by an answer, never those kept for want of
# one. The keys for each question are tmux key names joined by "+"; kept files still hold "old".
quick=(convert "$sample" --bgm "$work/bgm" --loops 0 --fade 0)
mkdir "$work/ref" && "$cli" "${quick[@]}" --out "$work/ref" >/dev/null
printf old >"$work/old"
questions() { grep -cF "$prompt" "$work/screen" || true; }
asked() { tmux -S "$socket" capture-pane -p -S - -t ask >"$work/screen" && [ "$(questions)" -ge "$1" ]; }
while IFS='|' read -r locale keys state end status asked listed; do
  doing="answering $keys"
  prompt='Replace it? (y = yes, n or Enter = no, a = yes to all, s = no to all)'
  [ "$locale" = C.UTF-8 ] || prompt='上書きしますか？ (y=はい n/Enter=いいえ a=以降すべて上書き s=以降すべてスキップ)'
  rm -rf "$work/ask" && mkdir "$work/ask"
  for name in opening forest night; do cp "$work/old" "$work/ask/$name.wav"; done
  tmux -S "$socket" new-session -d -s ask -x 200 -y 50 \
    "LC_ALL=$locale $(printf '%q ' "$cli" "${quick[@]}" --out "$work/ask" --playlist album.m3u8); echo \"status \$?\"; tmux -S $socket wait-for -S asked; sleep 60"
  n=0
  for key in $keys; do
    n=$((n + 1))
    comes asked $n || { cat "$work/screen"; fail "question $n did not show in $bound s"; }
    tmux -S "$socket" send-keys -t ask ${key//+/ }
  done
  timeout "$bound" tmux -S "$socket" wait-for asked || fail "the run did not end"
  tmux -S "$socket" capture-pane -p -S - -t ask >"$work/screen"
  tmux -S "$socket" kill-session -t ask
  seen=""
  for name in opening forest night; do
    if cmp -s "$work/ask/$name.wav" "$work/old"; then seen+="$name:kept "
    elif cmp -s "$work/ask/$name.wav" "$work/ref/$name.wav"; then seen+="$name:replaced "
    else seen+="$name:broken "; fi
  done
  playlist=$(grep -sv '^#' "$work/ask/album.m3u8" | paste -sd ' ' || true)
  [ "$seen" = "$state " ] && grep -qxF "$end" "$work/screen" && grep -qx "status $status" "$work/screen" &&
    [ "$(questions)" -eq "$asked" ] && [ "$playlist" = "$listed" ] ||
    { cat "$work/screen"; fail "$seen, $(questions) questions, playlist '$playlist'"; }
done <<TABLE
C.UTF-8|y+Enter n+Enter Y+Enter|opening:replaced forest:kept night:replaced|Output finished (succeeded: 2, failed: 1)|1|3|opening.wav forest.wav night.wav
C.UTF-8|Enter N+Enter y+Enter|opening:kept forest:kept night:replaced|Output finished (succeeded: 1, failed: 2)|1|3|opening.wav forest.wav night.wav
C.UTF-8|a+Enter|opening:replaced forest:replaced night:replaced|Output finished (succeeded: 3, failed: 0)|0|1|opening.wav forest.wav night.wav
C.UTF-8|n+Enter A+Enter|opening:kept forest:replaced night:replaced|Output finished (succeeded: 2, failed: 1)|1|2|opening.wav forest.wav night.wav
C.UTF-8|y+Enter s+Enter|opening:replaced forest:kept night:kept|Output finished (succeeded: 1, failed: 0, skipped: 2)|0|2|opening.wav forest.wav night.wav
C.UTF-8|S+Enter|opening:kept forest:kept night:kept|Output finished (succeeded: 0, failed: 0, skipped: 3)|0|1|opening.wav forest.wav night.wav
C.UTF-8|x+Enter yes+Enter y+Enter Space+n+Space+Enter Enter|opening:replaced forest:kept night:kept|Output finished (succeeded: 1, failed: 2)|1|5|opening.wav forest.wav night.wav
C.UTF-8|y+Enter C-d|opening:replaced forest:kept night:kept|Output finished (succeeded: 1, failed: 2)|1|2|opening.wav
C.UTF-8|C-d|opening:kept forest:kept night:kept|Output finished (succeeded: 0, failed: 3)|1|1|
ja_JP.UTF-8|Enter s+Enter|opening:kept forest:kept night:kept|出力終了(成功:0個 失敗:1個 スキップ:2個)|1|2|opening.wav forest.wav night.wav
TABLE
# The playlist asked about after three pieces written: kept by the answer n (or Enter) or s it
# fails nothing, as the user chose; kept at the end of the input it fails the run, named on stderr.
prompt='Replace it? (y = yes, n or Enter = no, a = yes to all, s = no to all)'
while IFS='|' read -r keys status named; do
  doing="answering $keys for the playlist"
  rm -rf "$work/ask" && mkdir "$work/ask" && cp "$work/old" "$work/ask/album.m3u8"
  tmux -S "$socket" new-session -d -s ask -x 200 -y 50 \
    "LC_ALL=C.UTF-8 $(printf '%q ' "$cli" "${quick[@]}" --out "$work/ask" --playlist album.m3u8); echo \"status \$?\"; tmux -S $socket wait-for -S asked; sleep 60"
  comes asked 1 || { cat "$work/screen"; fail "the question did not show in $bound s"; }
  tmux -S "$socket" send-keys -t ask ${keys//+/ }
  timeout "$bound" tmux -S "$socket" wait-for asked || fail "the run did not end"
  tmux -S "$socket" capture-pane -p -S - -t ask >"$work/screen"
  tmux -S "$socket" kill-session -t ask
  cmp -s "$work/ask/album.m3u8" "$work/old" && grep -qx "status $status" "$work/screen" &&
    [ "$(grep -cx 'album.m3u8: the output file exists and was kept' "$work/screen")" -eq "$named" ] &&
    grep -qx 'Output finished (succeeded: 3, failed: 0)' "$work/screen" || { cat "$work/screen"; fail "the playlist"; }
done <<TABLE
n+Enter|0|0
Enter|0|0
S+Enter|0|0
C-d|1|1
TABLE
doing=""
echo "cli_terminal: ok"
