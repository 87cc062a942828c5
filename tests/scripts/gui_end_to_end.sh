#!/usr/bin/env bash
# morlo.exe as a user drives it: under Wine in a virtual desktop of a private X display, open the
# example through the file-open dialog, write its pieces through "WAVE出力(&S)", then once more
# answering Yes to every overwrite question. The files must equal morlo-cli's, byte for byte.
#   gui_end_to_end.sh [--shot FILE.png]   also saves a picture of the progress window's end state
#   MORLO_E2E_TRACE=1 gui_end_to_end.sh   shows every command it runs
set -euo pipefail
[ -n "${MORLO_E2E_TRACE:-}" ] && set -x
top=$(cd "$(dirname "$0")/../.." && pwd)
. "$top/scripts/env.sh"
. "$top/scripts/display.sh"
. "$top/tests/e2e/windows.sh"
shot=
[ "${1:-}" = "--shot" ] && shot=$(realpath -m "$2")
exe="$MORLO_BUILD/windows/src/mainwindow/morlo.exe"
cli="$MORLO_BUILD/native/src/cli/morlo-cli"
[ -f "$exe" ] || fail "$exe is not built"
[ -x "$cli" ] || fail "$cli is not built"

# Short paths: the settings window's fields take only what fits their width.
work=$(mktemp -d /tmp/morlo-e2e.XXXX)
wine_pid=
finish() {
  # The program has usually ended by now; a failed kill must not fail the suite.
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
trap finish EXIT
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

convert_with_folders() { # answers to expect (count of overwrite questions)
  doing="choosing the folders"
  menu_command "$main" f s
  local folders
  folders=$(wait_window '^フォルダの指定$')
  sleep 0.3
  replace_field "$folders" 320 128 8 22 286 "$(wine_path "$work/bgm")"
  replace_field "$folders" 320 128 8 62 286 "$(wine_path "$work/out")"
  click_client "$folders" 320 128 197 106
  wait_gone "$folders"
  local n box
  for ((n = 0; n < $1; n++)); do
    doing="answering overwrite question $((n + 1)) of $1"
    box=$(wait_window '^確認$')
    press_until_gone "$box" Return
  done
}

close_end_window() {
  local end
  doing="waiting for the end of the run"
  end=$(wait_window '^出力終了$')
  sleep 0.5
  if [ -n "$shot" ]; then
    save_window "$end" "$shot"
    shot=
  fi
  doing="closing the progress window"
  click_client "$end" 256 88 128 74
  wait_gone "$end"
}

compare_outputs() { # what is being checked
  local f
  for f in "${pieces[@]}"; do
    [ -f "$work/out/$f" ] || fail "$1: $f was not written"
    cmp -s "$work/out/$f" "$work/expected/$f" || fail "$1: $f differs from morlo-cli's"
  done
}

convert_with_folders 0
close_end_window
compare_outputs "first run"

# Spoil the files, so that only a real replacement can make them right again.
for f in "${pieces[@]}"; do printf 'spoilt' >"$work/out/$f"; done
convert_with_folders 3
close_end_window
compare_outputs "second run, Yes to every question"

doing="closing the main window"
menu_command "$main" f x
for _ in $(seq 100); do
  kill -0 "$wine_pid" 2>/dev/null || break
  sleep 0.1
done
echo "gui_end_to_end: ok"
