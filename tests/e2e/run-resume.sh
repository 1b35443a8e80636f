#!/usr/bin/env bash
# Kill and resume through the real program under Xvfb: a game is started from
# the menu, the human seat makes a move with the keyboard, and while the
# computers move the program is killed (kill -9). The next start shows the
# title picture as always; "Resume" from the game menu brings the game back:
# its record, written again at once, begins with every move of the record the
# killed program left behind, and the pegs of all seats stand on the board.
# Then an autosave that cannot be read is put aside at the next start. Last,
# two copies at once: the second neither offers nor touches the first's game
# and keeps its own in current-2.vxg, which Resume finds again after both
# were killed.
# Usage: run-resume.sh BIN_DIR SCREENCHECK
set -euo pipefail
bin_dir=$1
check=$2
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "e2e resume: $*"; exit 1; }

cp -r "$bin_dir"/. "$work/"
rm -f "$work/VEXEL.CFG"
export XDG_STATE_HOME="$work/state"
record="$XDG_STATE_HOME/vexel/current.vxg"

# shellcheck source=tests/e2e/xserver.sh
. "$(dirname "$0")/xserver.sh"
start_x

start_vexel() {
  "$work/vexel" >>"$work/vexel.log" 2>&1 & vexel_pid=$!; pids+=($vexel_pid)
  win=$(xdotool search --sync --all --onlyvisible --pid "$vexel_pid" --name '^Vexel$' | head -n1)
  sleep 1.5
  xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus "$win"
  # With another copy's window on the screen a click makes sure the keys come here.
  xdotool mousemove --window "$win" 200 200 click 1; sleep 0.3
  [ "$(xdotool getactivewindow)" = "$win" ] || fail "the new window has no focus"
}
moves() { grep -E '^[0-9]+\. ' "$1" || true; }
# After a new game: the computers before the human seat move, then the game
# waits for it, and its autosave stays as it is.
wait_for_human() {
  for _ in $(seq 50); do [ -f "$1" ] && break; sleep 0.2; done
  [ -f "$1" ] || fail "no autosave at $1 after a new game"
  for _ in $(seq 20); do
    cp "$1" "$work/before.vxg"; sleep 1.5
    cmp -s "$1" "$work/before.vxg" && return 0
  done
  fail "the game at $1 never waited for the human seat"
}
seats() { grep -E '^(Seat|Pegs|FirstMover) ' "$1"; }

# A new game: seat 1 is the one human (the default seating), five computers.
start_vexel
xdotool key --window "$win" alt+s; sleep 0.5; xdotool key n
# Keys only once the game waits for seat 1, so that none reaches the board
# while the computers move and the cursor starts from the centre.
wait_for_human "$record"
# The computers before seat 1 move; then seat 1 steps from hole D3 to E7 with
# the keyboard (the cursor walks up from the centre), which only works in its turn.
# Escape first: the keys must reach the board, not the menu bar.
for _ in $(seq 60); do
  xdotool key Escape; sleep 0.2
  xdotool key --delay 80 Up Up Up Up Up Up space Down Return
  sleep 1
  if [ -f "$record" ] && moves "$record" | grep -q '^[0-9]*\. 1: '; then break; fi
done
moves "$record" | grep -q '^[0-9]*\. 1: ' || fail "the human's move never reached the autosave"
sleep 1.3   # a computer is marking or moving its pegs now
kill -9 "$vexel_pid"
wait "$vexel_pid" 2>/dev/null || true
cp "$record" "$work/killed.vxg"
echo "killed with $(moves "$work/killed.vxg" | wc -l) moves recorded"

# The next start: title picture first, then Resume ("Partie f&ortsetzen").
start_vexel
read -r yellow magenta < <("$check" FFFF00 FF00FF)
[ "$yellow" -gt 2000 ] && [ "$magenta" -lt 50 ] || fail "no title picture at the start (yellow=$yellow magenta=$magenta)"
xdotool key --window "$win" alt+s; sleep 0.5; xdotool key o
sleep 2
read -r magenta cyan < <("$check" FF00FF 00FFFF)
echo "resumed: magenta=$magenta cyan=$cyan"
[ "$magenta" -gt 2000 ] && [ "$cyan" -gt 2000 ] || fail "the resumed game's pegs are not on the board"
[ "$(seats "$record")" = "$(seats "$work/killed.vxg")" ] || fail "the seats changed on resuming"
n=$(moves "$work/killed.vxg" | wc -l)
[ "$(moves "$record" | head -n "$n")" = "$(moves "$work/killed.vxg")" ] ||
  fail "the resumed game does not go on from the killed one's last committed move"
kill -9 "$vexel_pid"
wait "$vexel_pid" 2>/dev/null || true

# An autosave that cannot be read: the start goes on and puts it aside.
printf 'Format 1\nSeat 1 human\n\x00\x01junk' >"$record"
start_vexel
read -r yellow < <("$check" FFFF00)
[ "$yellow" -gt 2000 ] || fail "no title picture after an unreadable autosave"
[ ! -e "$record" ] || fail "the unreadable autosave is still in place"
ls "$record".unreadable-* >/dev/null 2>&1 || fail "the unreadable autosave was not kept aside"
kill -9 "$vexel_pid"
wait "$vexel_pid" 2>/dev/null || true

second="$XDG_STATE_HOME/vexel/current-2.vxg"
new_game() {
  xdotool key Escape; sleep 0.2; xdotool key Escape; sleep 0.2   # a menu left open by a greyed item
  xdotool key --window "$win" alt+s; sleep 0.5; xdotool key n
  wait_for_human "$1"
}
start_vexel; first_pid=$vexel_pid
new_game "$record"
cp "$record" "$work/first.vxg"
start_vexel; second_pid=$vexel_pid
xdotool key --window "$win" alt+s; sleep 0.5; xdotool key o; sleep 1.5
[ ! -e "$second" ] || fail "the second copy offered the first copy's running game"
new_game "$second"
cmp -s "$record" "$work/first.vxg" || fail "the second copy changed the first copy's game"
cp "$second" "$work/second.vxg"
kill -9 "$first_pid" "$second_pid"
wait "$first_pid" "$second_pid" 2>/dev/null || true

# Two new copies: each finds the game of the file it holds.
start_vexel
start_vexel
read -r magenta < <("$check" FF00FF)
[ "$magenta" -lt 50 ] || fail "a game on the board before Resume (magenta=$magenta)"
xdotool key --window "$win" alt+s; sleep 0.5; xdotool key o; sleep 2
read -r magenta < <("$check" FF00FF)
[ "$magenta" -gt 2000 ] || fail "the second copy's game is not on the board after Resume (magenta=$magenta)"
[ "$(seats "$second")" = "$(seats "$work/second.vxg")" ] || fail "the second copy's game came back with other seats"
n=$(moves "$work/second.vxg" | wc -l)
[ "$(moves "$second" | head -n "$n")" = "$(moves "$work/second.vxg")" ] || fail "the second copy's game did not come back"
cmp -s "$record" "$work/first.vxg" || fail "the first copy's game was changed by resuming the second's"
echo "e2e resume: ok"
