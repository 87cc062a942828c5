#!/usr/bin/env bash
# Takes the README's picture of the main window: morlo.exe under Wine in a virtual desktop of a
# private X display, the example opened through the real file-open dialog, then a PNG of it.
#   scripts/screenshot.sh [OUTPUT.png]     default: docs/main-window.png
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/scripts/env.sh"
. "$top/scripts/display.sh"
out=${1:-$top/docs/main-window.png}
exe="$MORLO_BUILD/windows/src/mainwindow/morlo.exe"

[ -f "$exe" ] || "$top/scripts/build.sh"
[ -d "$WINEPREFIX" ] || "$top/scripts/wine-prefix.sh"

work=$(mktemp -d)
trap 'stop_display; rm -rf "$work"' EXIT
python3 "$top/examples/make_bgm.py" "$work" >/dev/null
cp "$top/examples/sample.mrl" "$work/"
# One more piece, whose loop reaches past its data, shows how a row that cannot be written looks.
printf '\r\n[music0003]\r\nfile=broken.wav\r\ntitle=%s\r\nwave_file=sample.bgm\r\nwave_size=1000\r\nloop_size=2000\r\n' \
  "$(printf '壊れた曲' | iconv -f UTF-8 -t CP932)" >>"$work/sample.mrl"

start_display
trap 'stop_display; rm -rf "$work"' EXIT
LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 wine explorer /desktop=morlo,800x600 "$exe" >/dev/null 2>&1 &

# Every top-level window of the program is its own X window with its caption as name.
find_window() { # pattern
  local id
  for _ in $(seq 300); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) && [ -n "$id" ] && {
      echo "$id"
      return 0
    }
    sleep 0.1
  done
  echo "screenshot: no window named $1" >&2
  return 1
}

main=$(find_window '^morlo$')
xdotool windowfocus --sync "$main"
xdotool key --window "$main" alt+f
sleep 0.5
xdotool key o
dialog=$(find_window '^ファイルを開く$')
xdotool windowfocus --sync "$dialog"
sleep 0.5
xdotool type --delay 20 "Z:${work//\//\\}\\sample.mrl"
xdotool key Return
main=$(find_window '^morlo - 見本アルバム$')
sleep 1

geometry=$(xdotool getwindowgeometry --shell "$main")
eval "$geometry"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$work/shot.png"
mkdir -p "$(dirname "$out")"
mv "$work/shot.png" "$out"
echo "screenshot: $out"
