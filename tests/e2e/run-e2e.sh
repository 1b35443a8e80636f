#!/usr/bin/env bash
# Starts the real program under Xvfb, as on a desktop, and checks what it shows:
# the title picture at start, that the maximized window, once restored, is
# maximized again or has its whole frame on the screen (also after a size
# chosen in the environment dialog) and that the About box then opens centred
# over it and cannot be minimized, then the pegs of every seat after a new
# game started from the menu with the keyboard, and a long jump by keyboard in a
# game by the house rules resumed from its record. Then, on a bare X server without a
# window manager, the maximized window must still fill the screen.
# Usage: run-e2e.sh BIN_DIR SCREENCHECK
set -euo pipefail
bin_dir=$1
check=$2
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A copy of the program folder: no settings file of the developer's interferes.
cp -r "$bin_dir"/. "$work/"
rm -f "$work/VEXEL.CFG"
# Nor does the running game kept for resuming touch the developer's.
export XDG_STATE_HOME="$work/state"

start_x() {  # display, with_wm
  Xvfb ":$1" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 & pids+=($!)
  for _ in $(seq 50); do xdpyinfo -display ":$1" >/dev/null 2>&1 && break; sleep 0.1; done
  if [ "$2" = yes ]; then DISPLAY=":$1" openbox >/dev/null 2>&1 & pids+=($!); sleep 0.5; fi
}

fail() { echo "e2e: $*"; exit 1; }

display=$((90 + RANDOM % 100))
start_x "$display" yes
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb
"$work/vexel" >"$work/vexel.log" 2>&1 & vexel_pid=$!; pids+=($vexel_pid)
xdotool search --sync --onlyvisible --name '^Vexel$' >/dev/null || fail "no window"
sleep 1.5

# Title picture: yellow pegs (seat 2) round a red ring (seat 3) on the silver
# board; no magenta peg yet (seat 4 is not in the picture).
read -r yellow silver magenta cyan < <("$check" FFFF00 C0C0C0 FF00FF 00FFFF)
echo "title picture: yellow=$yellow silver=$silver magenta=$magenta"
[ "$yellow" -gt 2000 ] || fail "title picture pegs missing"
[ "$silver" -gt 50000 ] || fail "board missing"
[ "$magenta" -lt 50 ] || fail "pegs drawn before a game"

win=$(xdotool search --onlyvisible --name '^Vexel$' | head -n1)

outer() {  # window: left top width height of its frame, as the X server has it
  local l r t b x y w h
  read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,/ /g')
  x=$(xwininfo -id "$1" | sed -n 's/.*Absolute upper-left X: *//p')
  y=$(xwininfo -id "$1" | sed -n 's/.*Absolute upper-left Y: *//p')
  w=$(xwininfo -id "$1" | sed -n 's/.*Width: *//p')
  h=$(xwininfo -id "$1" | sed -n 's/.*Height: *//p')
  echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))"
}
# Maximized, or a normal window whose whole frame is on the screen.
expect_placed() {  # what
  local state x y w h
  state=$(xprop -id "$win" _NET_WM_STATE)
  if [[ $state == *MAXIMIZED_VERT* && $state == *MAXIMIZED_HORZ* ]]; then echo "$1: maximized"; return; fi
  read -r x y w h < <(outer "$win")
  echo "$1: normal, frame $x,$y to $((x + w)),$((y + h))"
  [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le 1280 ] && [ $((y + h)) -le 1024 ] ||
    fail "$1: the window's frame lies off the screen"
}
restore() { wmctrl -i -r "$win" -b remove,maximized_vert,maximized_horz; sleep 1.5; }
viewable() { xwininfo -id "$1" | grep -q 'Map State: IsViewable'; }
# The About box ("&Hilfe", "I&nfo") opens centred over the main window as it
# really stands, offers no maximize, and comes back at once when the window
# manager minimizes it (taking the main window with it).
expect_about_box() {  # what
  local dialog mx my mw mh dx dy dw dh
  xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus "$win"
  xdotool key --window "$win" alt+h; sleep 0.5
  xdotool key n
  dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^Info$' | head -n1) || true
  [ -n "$dialog" ] || fail "$1: no About box"
  sleep 0.7
  read -r mx my mw mh < <(outer "$win")
  read -r dx dy dw dh < <(outer "$dialog")
  echo "$1: About box at $dx,$dy, centred over $mx,$my ${mw}x$mh: $((mx + mw / 2 - dw / 2)),$((my + mh / 2 - dh / 2))"
  [ "$dx,$dy" = "$((mx + mw / 2 - dw / 2)),$((my + mh / 2 - dh / 2))" ] || fail "$1: the About box is off-centre"
  [[ $(xprop -id "$dialog" _NET_WM_ALLOWED_ACTIONS) != *MAXIMIZE* ]] || fail "$1: the About box offers maximize"
  xdotool windowminimize "$dialog"; sleep 1.5
  viewable "$dialog" && viewable "$win" || fail "$1: the About box stayed minimized"
  xdotool key Escape; sleep 0.5
}
client_width() { xwininfo -id "$win" | sed -n 's/.*Width: *//p'; }
# Waits up to 10 s for the window to become `width` pixels wide.
await_width() {
  for _ in $(seq 40); do [ "$(client_width)" = "$1" ] && return; sleep 0.25; done
  fail "$2: the window is $(client_width) wide, not $1"
}
# The environment dialog from the menu ("&Optionen", "&Umgebung..."), once it
# has the keyboard; Alt+F is "&Fenstergröße:", which presses the larger-size button.
open_environment() {
  local dialog
  xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus "$win"
  xdotool key --window "$win" alt+o; sleep 0.5
  xdotool key u
  dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^Umgebung$' | head -n1) || true
  [ -n "$dialog" ] || fail "no environment dialog"
  for _ in $(seq 40); do [ "$(xdotool getactivewindow)" = "$dialog" ] && break; sleep 0.25; done
  sleep 0.5
  xdotool key alt+f; sleep 0.5
}

# Restoring the window maximized at start, and again after the largest size was
# chosen in the environment dialog.
restore
expect_placed "restored after start"
expect_about_box "restored after start"
open_environment
xdotool key Tab; sleep 0.3; xdotool key space; sleep 0.5   # one size smaller
xdotool key Tab; sleep 0.3; xdotool key Return             # OK, the default button
await_width 1024 "size 4 from the environment dialog"
sleep 0.5
expect_placed "size 4"
open_environment                                           # back to size 5
xdotool key Tab; sleep 0.3; xdotool key Tab; sleep 0.3; xdotool key Return
await_width 1280 "size 5 from the environment dialog"
sleep 1
expect_placed "size 5"
restore
expect_placed "restored from size 5"
expect_about_box "restored from size 5"
# Size 4 again, maximized by the window manager and then restored: the window
# is maximized again in place, and the About box still centres over it.
open_environment
xdotool key Tab; sleep 0.3; xdotool key space; sleep 0.5
xdotool key Tab; sleep 0.3; xdotool key Return
await_width 1024 "size 4 again"
sleep 0.5
wmctrl -i -r "$win" -b add,maximized_vert,maximized_horz; sleep 1.5
restore
expect_placed "size 4, maximized, restored"
expect_about_box "size 4, maximized, restored"

# New game through the menu accelerators: Alt+S opens "&Spiel", N is "&Neues Spiel".
xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus "$win"
xdotool key --window "$win" alt+s
sleep 0.5
xdotool key n
sleep 1.5
read -r magenta cyan green < <("$check" FF00FF 00FFFF 00FF00)
echo "after new game: magenta=$magenta cyan=$cyan green=$green"
[ "$magenta" -gt 2000 ] || fail "seat 4's pegs did not appear"
[ "$cyan" -gt 2000 ] || fail "seat 5's pegs did not appear"

# Hint and take back. Seat 0 is the one human; the computers move first or
# after it. H is pressed until a hint stands on the board: its squares invert
# the green of seat 0's home point (0,128,0 -> FF7FFF) and, unlike a
# computer's marks, stay put until the next key.
shot() { if [ -n "${VEXEL_E2E_SHOTS:-}" ]; then "$check" --save "$VEXEL_E2E_SHOTS/$1.png"; fi; }
hinted=0
for _ in $(seq 40); do
  xdotool key h
  sleep 0.8
  read -r first < <("$check" FF7FFF)
  sleep 0.8
  read -r second < <("$check" FF7FFF)
  if [ "$first" -gt 60 ] && [ "$first" = "$second" ]; then hinted=$first; break; fi
done
echo "hint: inverted green=$hinted"
shot hint
[ "$hinted" -gt 60 ] || fail "H showed no hint in the human's turn"
xdotool key Escape
sleep 0.5
colours="00FF00 0000FF FFFF00 FF0000 FF00FF 00FFFF C0C0C0 008000 FFFFFF FF7FFF"
before=$("$check" $colours)
[ "$(echo "$before" | awk '{print $NF}')" = 0 ] || fail "the next key left the hint on the board"
shot before
# Seat 0 steps from hole 8 to 16 with the keyboard: six Ups walk the cursor
# from the centre to 8, Space selects, Down goes to 16, Enter makes the move.
xdotool key --delay 80 Up Up Up Up Up Up space Down Return
sleep 2.5
moved=$("$check" $colours)
shot moved
[ "$moved" != "$before" ] || fail "the keyboard move did not happen"
# Ctrl+Z at whatever moment the computers have reached: back to the position
# before seat 0's move, pixel for pixel.
xdotool key ctrl+z
sleep 1.5
after=$("$check" $colours)
shot taken-back
echo "take back: before=[$before] after=[$after]"
[ "$after" = "$before" ] || fail "Ctrl+Z did not bring back the position before the human's move"
kill "$vexel_pid" 2>/dev/null || true
wait "$vexel_pid" 2>/dev/null || true

# A long jump by keyboard, in a game by the house rules resumed from its
# record: two human seats, seat 1 to move after E7-F7 and M5-L4. The cursor
# walks up from the centre to D2, Space takes the peg, the cursor walks down
# to H7, and Enter makes the jump over F7 (one empty hole before it, one behind).
record="$XDG_STATE_HOME/vexel/current.vxg"
mkdir -p "$XDG_STATE_HOME/vexel"
cat >"$record" <<'VXG'
# Vexel game record
Format 1
Seat 1 human level=0 colour=0 name="Anna"
Seat 2 none level=1 colour=1 name="Ben"
Seat 3 none level=2 colour=2 name="Cleo"
Seat 4 human level=0 colour=3 name="Dora"
Seat 5 none level=1 colour=4 name="Emil"
Seat 6 none level=2 colour=5 name="Fay"
Pegs 15
Rules long-jumps
FirstMover 1
Status running
1. 1: E7 F7
1. 4: M5 L4
VXG
"$work/vexel" >>"$work/vexel.log" 2>&1 & vexel_pid=$!; pids+=($vexel_pid)
win=$(xdotool search --sync --onlyvisible --name '^Vexel$' | head -n1)
sleep 1.5
xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus "$win"
xdotool key --window "$win" alt+s; sleep 0.5; xdotool key o   # "Partie f&ortsetzen"
sleep 1.5
xdotool key Escape; sleep 0.3
xdotool key --delay 80 Up Up Up Up Up Up Left space Down Down Down Down Right Right Return
sleep 2.5
grep -q '^2\. 1: D2 H7$' "$record" || { cat "$record"; fail "the long jump by keyboard did not reach the record"; }
grep -q '^Rules long-jumps$' "$record" || fail "the resumed game lost its rules"
echo "long jump by keyboard: ok"
kill "$vexel_pid" 2>/dev/null || true

# Bare X server: the maximized window still fills the screen.
display2=$((display + 100))
start_x "$display2" no
export DISPLAY=":$display2"
"$work/vexel" >"$work/vexel2.log" 2>&1 & pids+=($!)
win=$(xdotool search --sync --onlyvisible --name '^Vexel$' | head -n1)
sleep 1
geometry=$(xdotool getwindowgeometry "$win" | sed -n 's/.*Geometry: //p')
echo "bare server window: $geometry"
[ "$geometry" = "1280x1024" ] || fail "window does not fill the screen without a window manager"
echo "e2e: ok"
