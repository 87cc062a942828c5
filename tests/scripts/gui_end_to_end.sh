#!/usr/bin/env bash
# morlo.exe as a user drives it: under Wine in a virtual desktop of a private X display, open the
# example through the file-open dialog, write its pieces through "WAVE出力(&S)", then once more
# answering Yes to every overwrite question. The files must equal morlo-cli's, byte for byte.
#   gui_end_to_end.sh [--shot FILE.png]   also saves a picture of the progress window's end state
# Under Wine without a window manager every top-level window is an X window named by its caption
# and covering the whole window, frame and caption included.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
. "$top/scripts/env.sh"
. "$top/scripts/display.sh"
shot=
[ "${1:-}" = "--shot" ] && shot=$(realpath -m "$2")
exe="$MORLO_BUILD/windows/src/mainwindow/morlo.exe"
cli="$MORLO_BUILD/native/src/cli/morlo-cli"
doing="starting"
fail() { echo "gui_end_to_end: $* (while $doing)" >&2; exit 1; }
shown() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
wait_window() { # caption pattern; prints the window id
  local id _
  for _ in $(seq 300); do
    id=$(shown "$1") && [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  fail "no window named $1 appeared"
}
# Presses a key (none: just waits) until the window goes: a key sent while it is still being
# activated is lost.
press_until_gone() { # window id, [key]
  local i
  for i in $(seq 300); do
    xdotool search --onlyvisible --name . 2>/dev/null | grep -qx "$1" || return 0
    if [ -n "${2:-}" ] && [ $((i % 20)) -eq 1 ]; then
      xdotool windowfocus --sync "$1" key --window "$1" "$2" 2>/dev/null || true
    fi
    sleep 0.1
  done
  fail "window $1 did not go away"
}
menu_command() { # window, popup access key, item access key
  xdotool windowfocus --sync "$1" key --window "$1" "alt+$2"
  sleep 0.3
  xdotool key "$3"
}
# Clicks at client coordinates: the client area lies centred horizontally with the frame's
# width below it.
click_client() { # window, client width, client height, x, y
  local WIDTH HEIGHT X Y SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  local border=$(((WIDTH - $2) / 2))
  xdotool mousemove --window "$1" $((border + $4)) $((HEIGHT - $3 - border + $5)) click 1
}
type_into() { # window, field x, y, text (fields of the 320 x 128 folder window)
  click_client "$1" 320 128 "$2" "$3"
  xdotool key End shift+Home Delete type --delay 10 "$4"
}
wine_path() { local p=${1//\//\\}; echo "Z:$p"; }

# Short paths: the settings window's fields take only what fits their width.
work=$(mktemp -d /tmp/morlo-e2e.XXXX)
wine_pid=
finish() {
  [ -z "$wine_pid" ] || kill "$wine_pid" 2>/dev/null || true
  stop_display
  rm -rf "$work"
}
trap finish EXIT
mkdir -p "$work/bgm" "$work/out" "$work/expected"
python3 "$top/examples/make_bgm.py" "$work/bgm"
cp "$top/examples/sample.mrl" "$work/"
"$cli" convert "$work/sample.mrl" --bgm "$work/bgm" --out "$work/expected" --yes </dev/null >/dev/null \
  || fail "morlo-cli could not convert the example"
pieces=(opening.wav forest.wav night.wav)

start_display || fail "no X display"
# A Wine server left from an earlier run would keep that run's display.
wineserver -k 2>/dev/null || true
LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 wine explorer /desktop=morlo-e2e,800x600 "$exe" >/dev/null 2>&1 &
wine_pid=$!

doing="opening the example"
main=$(wait_window '^morlo$')
menu_command "$main" f o
dialog=$(wait_window '^ファイルを開く$')
xdotool windowfocus --sync "$dialog"
sleep 0.3
xdotool type --delay 10 "$(wine_path "$work/sample.mrl")"
xdotool key Return
main=$(wait_window '^morlo - 見本アルバム$')

convert_and_compare() { # number of overwrite questions to answer Yes, what is being checked
  doing="choosing the folders"
  menu_command "$main" f s
  local folders box end f n
  folders=$(wait_window '^フォルダの指定$')
  sleep 0.3
  type_into "$folders" 151 32 "$(wine_path "$work/bgm")"
  type_into "$folders" 151 72 "$(wine_path "$work/out")"
  click_client "$folders" 320 128 197 106
  press_until_gone "$folders"
  for ((n = 0; n < $1; n++)); do
    doing="answering overwrite question $((n + 1)) of $1"
    box=$(wait_window '^確認$')
    press_until_gone "$box" Return
  done
  doing="waiting for the end of the run"
  end=$(wait_window '^出力終了$')
  sleep 0.5
  if [ -n "$shot" ]; then
    mkdir -p "$(dirname "$shot")" && import -window "$end" "$shot"
    shot=
  fi
  click_client "$end" 256 88 128 74
  press_until_gone "$end"
  for f in "${pieces[@]}"; do
    cmp -s "$work/out/$f" "$work/expected/$f" || fail "$2: $f is missing or differs from morlo-cli's"
  done
}

convert_and_compare 0 "first run"
# Spoil the files, so that only a real replacement can make them right again.
for f in "${pieces[@]}"; do printf 'spoilt' >"$work/out/$f"; done
convert_and_compare 3 "second run, Yes to every question"

doing="closing the main window"
menu_command "$main" f x
for _ in $(seq 100); do
  kill -0 "$wine_pid" 2>/dev/null || break
  sleep 0.1
done
echo "gui_end_to_end: ok"
