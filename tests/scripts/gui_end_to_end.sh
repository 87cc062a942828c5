#!/usr/bin/env bash
# morlo.exe as a user drives it: under Wine in a virtual desktop of a private X display, open the
# example through the file-open dialog, write its pieces through "WAVE出力(&S)", then once more
# answering Yes to every overwrite question. The files must equal morlo-cli's, byte for byte. Then
# FLAC and Ogg Vorbis with tags and loop points, chosen in the Options menu, read back by their tools.
#   gui_end_to_end.sh [--shot FILE.png]   also saves a picture of the progress window's end state
# Under Wine without a window manager every top-level window is an X window named by its caption
# and covering the whole window, frame and caption included.
. "$(dirname "$0")/lib/common.sh"
. "$top/scripts/display.sh"
shot=
[ "${1:-}" = "--shot" ] && shot=$(realpath -m "$2")
doing="starting"
wait_window() { # caption pattern; prints the window id
  timeout "$bound" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | sed -n 1p ||
    fail "no window named $1 appeared in $bound s; shown: $(shown_windows)"
}
shown_windows() { xdotool search --onlyvisible --name . 2>/dev/null | xargs -r -n 1 xdotool getwindowname | paste -sd '|'; }
# Blank-named windows that show: Wine's popup menus (and the root).
blank_windows() { xdotool search --onlyvisible --name '^$' 2>/dev/null | sort; }
# Presses a key (none: just waits) until the window goes: a key sent while it is still being
# activated is lost.
press_until_gone() { # window id, [key]
  local i
  for i in $(seq $((bound * 10))); do
    xdotool search --onlyvisible --name . 2>/dev/null | grep -qx "$1" || return 0
    if [ -n "${2:-}" ] && [ $((i % 20)) -eq 1 ]; then xdotool windowfocus --sync "$1" key --window "$1" "$2" 2>/dev/null || true; fi
    sleep 0.1
  done
  fail "window $1 did not go away"
}
# Opens the popup, waits until it shows (an access key sent while the window is still being
# activated is lost: then Escape and again), and chooses the item.
menu_command() { # window, popup access key, item access key
  local before i
  before=$(blank_windows)
  for i in $(seq $((bound * 10))); do
    if [ $((i % 50)) -eq 1 ]; then
      xdotool key Escape 2>/dev/null || true
      xdotool windowfocus --sync "$1" key --window "$1" "alt+$2" 2>/dev/null || true
    fi
    sleep 0.1
    [ "$(blank_windows)" = "$before" ] || { xdotool key "$3"; return 0; }
  done
  fail "the menu of alt+$2 did not show"
}
# Whether the window's picture is more than one colour and the same as at the last look: drawn,
# and done drawing (the look before is kept in picture).
picture=
drawn() { # window id
  local now
  now=$(import -window "$1" png:- 2>/dev/null | identify -format '%k %#' - 2>/dev/null) || now=
  [ "${now%% *}" -gt 1 ] 2>/dev/null && [ "$now" = "$picture" ] && return 0
  picture=$now
  return 1
}
# Clicks at client coordinates: the client area lies centred horizontally with the frame's
# width below it.
click_client() { # window, client width, client height, x, y
  local WIDTH HEIGHT X Y SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove --window "$1" $(((WIDTH - $2) / 2 + $4)) $((HEIGHT - $3 - (WIDTH - $2) / 2 + $5)) click 1
}
type_into() { # window, field x, y, folder (fields of the 320 x 128 folder window)
  click_client "$1" 320 128 "$2" "$3"
  xdotool key End shift+Home Delete type --delay 10 "Z:${4//\//\\}"
}

mkdir "$work/out" "$work/expected" && cp "$sample" "$work/"
"$cli" convert "$sample" --bgm "$work/bgm" --out "$work/expected" </dev/null >/dev/null || fail "morlo-cli could not convert"
start_display || fail "no X display"
trap 'stop_display; rm -rf "$work"' EXIT
wineserver -k 2>/dev/null || true # a Wine server left from an earlier run would keep that run's display
LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 wine explorer /desktop=morlo-e2e,800x600 "$MORLO_BUILD/windows/src/mainwindow/morlo.exe" &>/dev/null &

doing="opening the example"
main=$(wait_window '^morlo$')
menu_command "$main" f o
dialog=$(wait_window '^ファイルを開く$')
# Typed again while the dialog stays: keys sent before its name field has the focus are lost.
for i in $(seq $((bound / 10))); do
  xdotool windowfocus --sync "$dialog" key End shift+Home Delete type --delay 10 "Z:${work//\//\\}\\sample.mrl" 2>/dev/null &&
    xdotool key Return 2>/dev/null || true
  main=$(timeout 10 xdotool search --sync --onlyvisible --name '^morlo - 見本アルバム$' 2>/dev/null | sed -n 1p) && break
done
[ -n "$main" ] || fail "the example did not open"

convert() { # number of overwrite questions to answer Yes
  doing="choosing the folders"
  menu_command "$main" f s
  local folders box end n
  folders=$(wait_window '^フォルダの指定$')
  comes drawn "$folders" || fail "the folder window was not drawn in $bound s"
  type_into "$folders" 151 32 "$work/bgm"
  type_into "$folders" 151 72 "$work/out"
  click_client "$folders" 320 128 197 106
  press_until_gone "$folders"
  for ((n = 1; n <= $1; n++)); do
    doing="answering overwrite question $n of $1"
    box=$(wait_window '^確認$')
    press_until_gone "$box" Return
  done
  doing="waiting for the end of the run"
  end=$(wait_window '^出力終了$')
  comes drawn "$end" || fail "the ended progress window was not drawn in $bound s"
  [ -z "$shot" ] || { mkdir -p "$(dirname "$shot")" && import -window "$end" "$shot" && shot=; }
  click_client "$end" 256 88 128 74
  press_until_gone "$end"
}

convert_and_compare() { # number of overwrite questions to answer Yes, what is being checked
  local f
  convert "$1"
  for f in opening.wav forest.wav night.wav; do
    cmp -s "$work/out/$f" "$work/expected/$f" || fail "$2: $f is missing or differs from morlo-cli's"
  done
}

convert_and_compare 0 "first run"
# Spoil the files, so that only a real replacement can make them right again.
for f in "$work/out"/*.wav; do printf 'spoilt' >"$f"; done
convert_and_compare 3 "second run, Yes to every question"

doing="writing FLAC"
for key in c t l; do menu_command "$main" o $key; done
convert 0
doing="writing Ogg Vorbis"
menu_command "$main" o v
convert 0
doing="reading FLAC and Ogg Vorbis back"
[ "$(ls "$work/out" | tr '\n' ' ')" = "forest.flac forest.ogg forest.wav night.flac night.ogg night.wav opening.flac opening.ogg opening.wav " ] ||
  fail "names: $(ls "$work/out" | tr '\n' ' ')"
flac -s -t "$work"/out/*.flac 2>"$work/flac-t.txt" || fail "flac -t: $(cat "$work/flac-t.txt")"
for name in opening forest night; do
  flac -s -d --force-raw-format --endian=little --sign=signed -o "$work/$name.raw" "$work/out/$name.flac"
  metaflac --export-tags-to="$work/$name.flac-tags" "$work/out/$name.flac"
  ogginfo "$work/out/$name.ogg" >"$work/$name.ogginfo" 2>&1 || fail "ogginfo $name: $(cat "$work/$name.ogginfo")"
  vorbiscomment -l "$work/out/$name.ogg" >"$work/$name.ogg-tags"
done
python3 - "$work" <<'PY' || fail "FLAC and Ogg Vorbis do not read back as the WAVE files with their tags"
import sys, wave
work = sys.argv[1]
for number, (name, title, loop_start, loop_length) in enumerate(
        [("opening", "オープニング", 88200, 352800), ("forest", "森の小径", 58800, 132300), ("night", "夜の街", 0, 52920)], 1):
    with wave.open(f"{work}/expected/{name}.wav") as w:
        data = w.readframes(w.getnframes())
        if w.getsampwidth() == 1:  # FLAC's 8-bit samples are signed
            data = bytes((b - 128) & 255 for b in data)
    assert open(f"{work}/{name}.raw", "rb").read() == data, f"{name}: decoded FLAC differs from the WAVE data"
    tags = [f"TITLE={title}", "ALBUM=見本アルバム", f"TRACKNUMBER={number}", "TRACKTOTAL=3", "ENCODER=morlo ver.1.01",
            f"LOOPSTART={loop_start}", f"LOOPLENGTH={loop_length}"]
    for kind in ("flac", "ogg"):
        got = open(f"{work}/{name}.{kind}-tags", encoding="utf-8").read().splitlines()
        assert got == tags, (name, kind, got)
    ogginfo = open(f"{work}/{name}.ogginfo").read()
    assert "WARNING" not in ogginfo and "error" not in ogginfo.lower(), ogginfo
PY
doing="closing the main window"
menu_command "$main" f x
press_until_gone "$main"
echo "gui_end_to_end: ok"
