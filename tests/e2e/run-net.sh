#!/usr/bin/env bash
# Network games through real programs under Xvfb, joined over the loopback
# address: a host (seat 1 played at its screen, seats 3 and 5 over the
# network) and two joined programs, one for each network seat. Each program
# moves by keyboard in its seat's turn; after every move all three autosaves
# must hold the same moves. Then one joined program is killed and started
# again: it joins its seat again and the game goes on through the others.
# Last the host quits: both joined programs keep the game.
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
# shellcheck source=tests/e2e/xserver.sh
. "$(dirname "$0")/xserver.sh"
start_x

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
last_seat() { moves host | tail -n1 | sed -E 's/^[0-9]+\. ([0-9]):.*/\1/'; }
# The seat to move: the first mover, then the next playing seat in turn.
to_move() {
  local last
  last=$(last_seat)
  if [ -z "$last" ]; then sed -nE 's/^FirstMover ([0-9])$/\1/p' "$(record host)"; return; fi
  case $last in 1) echo 3 ;; 3) echo 5 ;; 5) echo 1 ;; esac
}
# Each seat walks the cursor from the centre to a peg at the front of its
# point and steps it towards the middle; the next moves find the cursor where
# it was left (on the peg just moved) and step that peg on. The three paths
# never meet in the few moves played here.
declare -A first_keys=(
  [1]="Up Up Up Up Up Up space Down Return"
  [3]="Down Down Right Right Right Right space Up Return"
  [5]="Down Down Left Left Left Left Left space Up Return")
declare -A next_keys=([1]="space space Down Return" [3]="space space Left Return" [5]="space space Right Return")
declare -A moved=() program=([1]=host)
# Plays one move of the seat to move, by keyboard at its program, and checks
# that it reaches every program named.
play_one() {  # NAMES...
  local before seat name k
  before=$(count host)
  seat=$(to_move)
  name=${program[$seat]}
  k=${first_keys[$seat]}
  [ -n "${moved[$seat]:-}" ] && k=${next_keys[$seat]}
  # shellcheck disable=SC2086
  keys "$name" $k
  wait_moves $((before + 1)) "$@" || fail "move $((before + 1)) by seat $seat at $name did not reach $*"
  moved[$seat]=1
  same_moves "$@"
}

setup host hnhnhn 001010
setup ben hnhnhn 000000
setup cid hnhnhn 000000
start host --host "$port"
grep -q "hosting on port $port" "$work/host.log" || fail "the host does not say it is hosting"
start ben --join "127.0.0.1:$port" --name Ben
start cid --join "127.0.0.1:$port" --name Cid
for _ in $(seq 50); do [ -f "$(record host)" ] && [ -f "$(record ben)" ] && [ -f "$(record cid)" ] && break; sleep 0.1; done
# Each joined program has the seat that carries its player's name.
for name in ben cid; do
  seat=$(grep -iE "^Seat [0-9] human .*name=\"$name\"" "$(record host)" | cut -d' ' -f2 || true)
  [ "$seat" = 3 ] || [ "$seat" = 5 ] || fail "no network seat carries the name of $name"
  program[$seat]=$name
done

# Two rounds at least, each move seen on all three screens, until seat 5 has
# just moved, so that the host is next.
while [ "$(count host)" -lt 6 ] || [ "$(last_seat)" != 5 ]; do play_one host ben cid; done
n=$(count host)

# The program of seat 5 dies and comes back: the same seat, the same game,
# and the next moves of the others reach it.
gone=${program[5]}
kill -9 "${pid[$gone]}"
wait "${pid[$gone]}" 2>/dev/null || true   # quietly: the kill is meant
sleep 0.5
rm -f "$(record "$gone")"
start "$gone" --join "127.0.0.1:$port" --name "${gone^}"
wait_moves "$n" "$gone" || fail "$gone did not get the game back"
play_one host ben cid
play_one host ben cid

# The host quits: the joined programs are told and keep the game.
n=$(count host)
xdotool windowactivate --sync "${win[host]}" 2>/dev/null || true
xdotool key alt+F4
sleep 0.5
xdotool key Return   # "really?" yes
for _ in $(seq 50); do kill -0 "${pid[host]}" 2>/dev/null || break; sleep 0.1; done
kill -0 "${pid[host]}" 2>/dev/null && fail "the host did not end"
sleep 1
for name in ben cid; do [ "$(count "$name")" -ge "$n" ] || fail "$name lost the game"; done
echo "e2e network: $n moves on three screens, rejoined, host ended, the game kept"
