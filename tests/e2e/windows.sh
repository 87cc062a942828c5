# Sourced by the end-to-end suite: finding and driving the program's windows with xdotool.
# Under Wine without a window manager every top-level window is an X window named by its caption
# and covering the whole window, frame and caption included.

# What the suite is doing, for the failure message.
doing="starting"

fail() {
  echo "gui_end_to_end: $* (while $doing)" >&2
  exit 1
}

# The first visible window whose name matches pattern; waits up to 30 s.
wait_window() { # pattern
  local id _
  for _ in $(seq 300); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  fail "no window named $1 appeared"
}

is_shown() { # window id
  xdotool search --onlyvisible --name '.' 2>/dev/null | grep -qx "$1"
}

wait_gone() { # window id
  local _
  for _ in $(seq 300); do
    is_shown "$1" || return 0
    sleep 0.1
  done
  fail "window $1 did not go away"
}

# Presses a key in a window until the window goes: a key that arrives while the window is still
# being activated is lost.
press_until_gone() { # window id, key
  local _ n
  for _ in $(seq 10); do
    xdotool windowfocus --sync "$1" 2>/dev/null || true
    xdotool key --window "$1" "$2" 2>/dev/null || true
    for n in $(seq 20); do
      is_shown "$1" || return 0
      sleep 0.1
    done
  done
  fail "window $1 did not go away after $2"
}

# A Linux path as Wine shows it on drive Z:.
wine_path() { # path
  local p=${1//\//\\}
  echo "Z:$p"
}

# Opens a popup of the menu bar by its access key, then chooses an item by its access key.
menu_command() { # window, popup key, item key
  xdotool windowfocus --sync "$1"
  xdotool key --window "$1" "alt+$2"
  sleep 0.3
  xdotool key "$3"
}

# Clicks at client coordinates. The client area lies centred horizontally in the window with the
# frame's width below it, so its origin follows from the window's size and the client size.
click_client() { # window, client width, client height, x, y
  local WIDTH HEIGHT X Y SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  local border=$(((WIDTH - $2) / 2))
  local top=$((HEIGHT - $3 - border))
  xdotool mousemove --window "$1" $((border + $4)) $((top + $5)) click 1
}

# Clicks into an edit field, empties it and types text.
replace_field() { # window, client width, client height, field x, y, width, text
  click_client "$1" "$2" "$3" $(($4 + $6 / 2)) $(($5 + 10))
  xdotool key End shift+Home Delete
  xdotool type --delay 10 "$7"
}

save_window() { # window, file.png
  mkdir -p "$(dirname "$2")"
  import -window "$1" "$2"
}
