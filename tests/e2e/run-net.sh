#!/usr/bin/env bash
# Network games through real programs under Xvfb, joined over the loopback
# address: a host (seat 1 played at its screen, seat 4 over the network) and a
# joined program (seat 4). Each side moves by keyboard in its turn; every
# program's autosave must hold the same moves. Then the joined program is
# killed and started again: it joins its seat again and both go on. Last the
# host quits: the joined program keeps the game and plays on at one screen.
# Usage: run-net.sh BIN_DIR NETSEATS
set -euo pipefail
bin_dir=$1
netseats=$2
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "e2e network: $*"
  for f in "$work"/*.log; do echo "== $f"; tail -n 20 "$f"; done
  for r in "$work"/*/state/vexel/current.vxg; do [ -f "$r" ] && { echo "== $r"; cat "$r"; }; done
  exit 1
}

port=$((40000 + RANDOM % 20000))
export VEXEL_JOIN_CODE=TEST42
display=$((90 + RANDOM % 100))
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 & pids+=($!)
for _ in $(seq 50); do xdpyinfo -display ":$display" >/dev/null 2>&1 && break; sleep 0.1; done
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb
openbox >/dev/null 2>&1 & pids+=($!)
sleep 0.5

# One folder per program: its own settings file and its own autosave.
setup() {  # NAME KINDS NET
  mkdir -p "$work/$1"
  cp -r "$bin_dir"/. "$work/$1/"
  "$netseats" "$work/$1/VEXEL.CFG" "$2" "$3"
}
declare -A win pid
start() {  # NAME ARGS...
  local name=$1; shift
  local before
  before=$(xdotool search --onlyvisible --name '^Vexel' 2>/dev/null | sort || true)
  XDG_STATE_HOME="$work/$name/state" "$work/$name/vexel" "$@" >>"$work/$name.log" 2>&1 & pid[$name]=$!; pids+=($!)
  for _ in $(seq 100); do
    local now
    now=$(xdotool search --onlyvisible --name '^Vexel' 2>/dev/null | sort || true)
    win[$name]=$(comm -13 <(echo "$before") <(echo "$now") | head -n1)
    [ -n "${win[$name]}" ] && break
    sleep 0.1
  done
  [ -n "${win[$name]}" ] || fail "$name shows no window"
  sleep 1
}
record() { echo "$work/$1/state/vexel/current.vxg"; }
moves() { grep -E '^[0-9]+\. ' "$(record "$1")" 2>/dev/null || true; }
count() { moves "$1" | wc -l; }
keys() {  # NAME KEYS...: typed into that program's window
  local name=$1; shift
  xdotool windowactivate --sync "${win[$name]}" 2>/dev/null || xdotool windowfocus "${win[$name]}"
  xdotool key Escape
  sleep 0.2
  xdotool key --delay 60 "$@"
}
# Waits until the move count of every named program is at least N.
wait_moves() {  # N NAMES...
  local n=$1; shift
  for _ in $(seq 100); do
    local ok=1
    for name in "$@"; do [ "$(count "$name")" -ge "$n" ] || ok=0; done
    [ $ok = 1 ] && return 0
    sleep 0.1
  done
  return 1
}
same_moves() {  # NAMES...: every program's autosave holds the same moves
  local first=$1; shift
  for name in "$@"; do
    diff <(moves "$first") <(moves "$name") >/dev/null || fail "the moves of $first and $name differ"
  done
}
# Seat 1 moves from the top, seat 4 from the bottom: the first move walks the
# cursor from the centre to a front peg, the next ones show the cursor where
# it was left (on the peg just moved) and move that peg on.
declare -A first_keys=([1]="Up Up Up Up Up Up space Down Return" [4]="Down Down Down Down Down Down space Up Return")
declare -A next_keys=([1]="space space Down Return" [4]="space space Up Return")
declare -A moved=()
# Plays one move of whichever seat is to move, by keyboard at its program.
play_one() {  # SEAT_OF_PROGRAM... as pairs NAME:SEAT
  local before
  before=$(count host)
  local last
  last=$(moves host | tail -n1 | sed -E 's/^[0-9]+\. ([0-9]):.*/\1/')
  for pair in "$@"; do
    local name=${pair%%:*} seat=${pair##*:}
    # Seat 1 and 4 alternate; with no move yet either may begin.
    if [ -z "$last" ] || [ "$last" != "$seat" ]; then
      local k=${first_keys[$seat]}
      [ -n "${moved[$seat]:-}" ] && k=${next_keys[$seat]}
      # shellcheck disable=SC2086
      keys "$name" $k
      if wait_moves $((before + 1)) host; then moved[$seat]=1; return 0; fi
    fi
  done
  return 1
}

setup host hnnhnn 000100
setup ben hnnhnn 000000
start host --host "$port"
grep -q "hosting on port $port" "$work/host.log" || fail "the host does not say it is hosting"
start ben --join "127.0.0.1:$port" --name Ben
wait_moves 0 host ben
for _ in $(seq 50); do [ -f "$(record host)" ] && break; sleep 0.1; done

# Four moves, two by each side, each seen on both screens.
for i in 1 2 3 4; do
  play_one host:1 ben:4 || fail "move $i was not made"
  wait_moves "$i" host ben || fail "move $i did not reach the joined program"
  same_moves host ben
done
grep -q 'name="Ben"' "$(record host)" || fail "seat 4 does not carry the joined player's name"

# The joined program dies after a move of its own and comes back: the same
# seat, the same game, and the host's next move reaches it.
n=4
if [ "$(moves host | tail -n1 | sed -E 's/^[0-9]+\. ([0-9]):.*/\1/')" = 1 ]; then
  play_one ben:4 || fail "the joined program's move was not made"
  n=5
  wait_moves $n host ben || fail "move $n did not reach the joined program"
fi
kill -9 "${pid[ben]}"
sleep 0.5
rm -f "$(record ben)"
start ben --join "127.0.0.1:$port" --name Ben
wait_moves $n ben || fail "the joined program did not get the game back"
play_one host:1 || fail "no move after joining again"
n=$((n + 1))
wait_moves $n host ben || fail "the game did not go on after joining again"
same_moves host ben

# The host quits: the joined program is told and keeps the game.
xdotool key --window "${win[host]}" alt+F4 2>/dev/null || true
sleep 0.5
xdotool key --window "${win[host]}" Return 2>/dev/null || true   # "really?" yes
for _ in $(seq 50); do kill -0 "${pid[host]}" 2>/dev/null || break; sleep 0.1; done
kill -0 "${pid[host]}" 2>/dev/null && fail "the host did not end"
sleep 1
[ "$(count ben)" -ge $n ] || fail "the joined program lost the game"
echo "e2e network: $(count ben) moves on both screens, rejoined, host ended, the game kept"
