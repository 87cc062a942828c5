#!/usr/bin/env bash
# morlo-cli in a real terminal 120 columns wide: a piece with a long Japanese title and a piece
# that fails leave the failure on its own line and exactly one progress line below it.
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
timeout 15 tmux -S "$socket" wait-for done || fail "the run did not end"
tmux -S "$socket" capture-pane -p >"$work/screen"
bars=$(grep -cE '^\[[#.]{30}\] 100%  夜明け前.*\.\.\.$' "$work/screen" || true)
[ "$bars" -eq 1 ] || { cat "$work/screen"; fail "the screen holds $bars fitted progress lines, not one"; }
grep -A1 -x 'lost.wav: the BGM wave file cannot be opened' "$work/screen" | grep -q '^\[#' ||
  { cat "$work/screen"; fail "the failure is not followed by the progress line"; }

# Without a terminal on stderr only the failure is written there.
"${run[@]}" >/dev/null 2>"$work/stderr" </dev/null && fail "a failed piece should fail the run"
[ "$(cat "$work/stderr")" = "lost.wav: the BGM wave file cannot be opened" ] || fail "stderr holds more than the failure"
echo "cli_terminal: ok"
