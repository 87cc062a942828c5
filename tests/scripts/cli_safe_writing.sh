#!/usr/bin/env bash
# No run loses or breaks a file: on file systems too small for the album (tmpfs, mounted as root),
# with and without the files of an earlier run, by morlo-cli and morlo-cli.exe; terminated, hung
# up or killed in the middle of a piece; cancelled at the overwrite question. Every file left is a
# whole file of this run or the earlier file byte for byte, and nothing else.
. "$(dirname "$0")/lib/common.sh"
# Mounting the small file systems needs root. Anyone else fails rather than pass untested, unless
# MORLO_SKIP_NEEDS_ROOT=1 asks for the suite to be skipped, which it then says.
if [ "$(id -u)" -ne 0 ]; then
  [ "${MORLO_SKIP_NEEDS_ROOT:-}" = 1 ] || fail "mounting small file systems needs root (MORLO_SKIP_NEEDS_ROOT=1 skips)"
  echo "cli_safe_writing: SKIPPED, not run as root: safe writing is NOT tested (MORLO_SKIP_NEEDS_ROOT=1)" >&2
  exit 0
fi
mounts=()
trap 'tmux -S "$work/tmux" kill-server 2>/dev/null; for m in "${mounts[@]}"; do umount "$m"; done; rm -rf "$work"' EXIT
small() { # folder, size[, ro]: a fresh file system of that size
  mkdir -p "$1" && mount -t tmpfs -o "size=$2${3:+,$3}" tmpfs "$1" && mounts+=("$1") || fail "cannot mount $1"
}
for loops in 2 5; do
  mkdir "$work/ref$loops" && "$cli" convert "$sample" --bgm "$work/bgm" --out "$work/ref$loops" --loops "$loops" >/dev/null
done
# The folder holds exactly the named files, each equal to its namesake in the reference folder named.
holds() { # folder, name:loops …
  local folder=$1; shift
  [ "$(ls -A "$folder" | tr '\n' ' ')" = "$(printf '%s ' "${@%%:*}" | tr ' ' '\n' | sort | tr '\n' ' ' | sed 's/^ //')" ] ||
    fail "$folder holds $(ls -A "$folder" | tr '\n' ' '), not $*"
  for item in "$@"; do
    cmp -s "$folder/${item%%:*}" "$work/ref${item##*:}/${item%%:*}" || fail "$folder/${item%%:*} is not the ${item##*:}-loop file"
  done
}

# A 2 MB stick: the 4.5 MB opening fails alone and leaves nothing; the two small pieces fit.
# 7 MB holding a run at 2 loops, run again at 5: what does not fit keeps its old file.
for side in native exe; do
  run=("$cli" convert) z=""
  [ $side = exe ] && run=(wine_cli convert) z="Z:"
  doing="$side on 2 MB"
  small "$work/$side-2m" 2m
  exits 1 "${run[@]}" "$z$sample" --bgm "$z$work/bgm" --out "$z$work/$side-2m" >/dev/null || fail "a failed piece should exit 1"
  holds "$work/$side-2m" forest.wav:2 night.wav:2
  doing="$side on 7 MB"
  small "$work/$side-7m" 7m
  exits 0 "${run[@]}" "$z$sample" --bgm "$z$work/bgm" --out "$z$work/$side-7m" >/dev/null || fail "the first run should fit"
  exits 1 "${run[@]}" "$z$sample" --bgm "$z$work/bgm" --out "$z$work/$side-7m" --loops 5 --yes >/dev/null ||
    fail "pieces that do not fit should fail"
  holds "$work/$side-7m" opening.wav:2 forest.wav:2 night.wav:5
done
doing="native on 2 MB"
"$cli" convert "$sample" --bgm "$work/bgm" --out "$work/native-2m" --yes 2>"$work/said" >/dev/null </dev/null || true
grep -qx 'morlo-cli: the pieces need 5,656,698 bytes, the output folder has [0-9,]* free; those that fit are still written' \
  "$work/said" || fail "no line on the missing space: $(cat "$work/said")"
grep -qx 'opening.wav: writing the output file failed (is the disk full?); no file was replaced' "$work/said" ||
  fail "the full disk is not named: $(cat "$work/said")"
"$cli" convert "$sample" --bgm "$work/bgm" --out "$work/native-2m" --yes --full-fade 2>"$work/said" >/dev/null </dev/null || true
grep -q '^morlo-cli: the pieces need 6,243,228 bytes' "$work/said" || fail "the space needed leaves out the full fade"
"$cli" convert "$sample" --bgm "$work/bgm" --out "$work/native-2m" --yes --tags --loop-points 2>"$work/said" >/dev/null </dev/null || true
grep -q '^morlo-cli: the pieces need 5,657,418 bytes' "$work/said" || fail "the space needed leaves out the tags and loop points"
doing=""

# An output folder that cannot take files is refused before anything starts, in one line.
small "$work/read-only" 1m ro
touch "$work/a-file"
while read -r folder reason; do
  said=$("$cli" convert "$sample" --bgm "$work/bgm" --out "$folder" 2>&1 </dev/null) && status=0 || status=$?
  [ $status -eq 2 ] && [ "$said" = "morlo-cli: $reason" ] || fail "$folder: $status, '$said'"
done <<EOF
$work/none the output folder $work/none does not exist
$work/a-file the output $work/a-file is not a folder
$work/read-only the output folder $work/read-only cannot be written to
EOF

# Terminated, hung up or killed while opening.wav is replaced by a very long one.
mkdir "$work/signals"
cp "$work/ref2/"*.wav "$work/signals/"
for signal in TERM HUP KILL; do
  doing="$signal"
  "$cli" convert "$sample" --bgm "$work/bgm" --out "$work/signals" --only 0 --loops 999 --yes </dev/null &>/dev/null &
  pid=$!
  comes test -e "$work/signals/opening.wav.morlo-unfinished" ||
    { kill "$pid"; fail "the run wrote no unfinished file to signal in $bound s"; }
  kill -"$signal" "$pid"
  { wait "$pid"; } 2>/dev/null && status=0 || status=$?
  if [ $signal = KILL ]; then
    [ "$(ls -A "$work/signals" | tr '\n' ' ')" = "forest.wav night.wav opening.wav opening.wav.morlo-unfinished " ] &&
      cmp -s "$work/signals/opening.wav" "$work/ref2/opening.wav" || fail "a killed run should leave the old file and its unfinished one"
  else
    [ $status -eq 1 ] || fail "exit status $status"
    holds "$work/signals" opening.wav:2 forest.wav:2 night.wav:2
  fi
done
doing="the run after the killed one"
exits 0 "$cli" convert "$sample" --bgm "$work/bgm" --out "$work/signals" --only 0 --loops 5 --yes >/dev/null ||
  fail "the piece should be written"
holds "$work/signals" opening.wav:5 forest.wav:2 night.wav:2

# Ctrl-C while the overwrite question waits: the run ends at once as cancelled, the file stays.
doing="Ctrl-C at the question"
socket="$work/tmux"
LC_ALL=C.UTF-8 tmux -u -S "$socket" -f /dev/null new-session -d -x 120 -y 20 \
  "$(printf '%q ' "$cli" convert "$sample" --bgm "$work/bgm" --out "$work/signals" --only 2); echo \"status \$?\"; tmux -S $socket wait-for -S done; sleep 60"
asked() { tmux -S "$socket" capture-pane -p | grep -q 'Replace it?'; }
comes asked || { tmux -S "$socket" capture-pane -p; fail "the overwrite question did not show in $bound s"; }
tmux -S "$socket" send-keys C-c
timeout "$bound" tmux -S "$socket" wait-for done || fail "the run did not end"
tmux -S "$socket" capture-pane -p >"$work/screen"
grep -q '^morlo-cli: cancelled' "$work/screen" && grep -qx 'status 1' "$work/screen" || { cat "$work/screen"; fail "not cancelled"; }
holds "$work/signals" opening.wav:5 forest.wav:2 night.wav:2
echo "cli_safe_writing: ok"
