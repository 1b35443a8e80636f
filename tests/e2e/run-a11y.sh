#!/usr/bin/env bash
# The real program as a screen reader meets it: under Xvfb with a window
# manager and a private D-Bus session with its own accessibility bus, the
# program runs with accessibility on and a11y-check.py plays it through the
# accessibility tree. Two seats: Anna (human, seat 0) against Mimsel (the
# weakest computer, seat 3), both at the fastest speed, for a whole game.
# Usage: run-a11y.sh BIN_DIR
#        run-a11y.sh BIN_DIR count SEATS SPEED   (only computer seats, at the
#        weakest level and speed 0-5; prints how many messages the game sent)
set -euo pipefail
[ -n "${VEXEL_A11Y_TRACE:-}" ] && set -x
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${VEXEL_A11Y_SESSION:-}" ]; then
  limit=700; [ "${2:-}" = count ] && limit=1800
  # The accessibility bus puts its socket in the runtime folder, by default
  # one per user: a run of its own keeps runs side by side from breaking
  # each other's bus.
  runtime=$(mktemp -d)
  exec env VEXEL_A11Y_SESSION=1 XDG_RUNTIME_DIR="$runtime" timeout "$limit" dbus-run-session -- "$0" "$@"
fi
bin_dir=$1
mode=${2:-play} seats=${3:-2} speed=${4:-0}
work=$(mktemp -d)
export XDG_STATE_HOME="$work/state"  # the game kept for resuming stays out of the user's home
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work" "$XDG_RUNTIME_DIR"
}
trap cleanup EXIT
fail() { echo "a11y: $*"; [ -f "$work/vexel.log" ] && sed 's/^/vexel: /' "$work/vexel.log" | tail -20; exit 1; }

cp -r "$bin_dir"/. "$work/"
/usr/bin/python3 - "$work/VEXEL.CFG" "$mode" "$seats" "$speed" <<'PY'
import struct, sys
mode, seat_count, speed = sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
record = bytearray(200)
record[0:14] = bytes([13]) + b"Vexel CFG" + bytes([0x0D, 0x0A, 0x1A, 0x03])
colours = [0x0000FF00, 0x00FF0000, 0x0000FFFF, 0x000000FF, 0x00FF00FF, 0x00FFFF00]
record[16:40] = struct.pack("<6I", *colours)
record[40] = 0  # no sound
record[41] = 0
seats = {0: (0, 0, b"Anna"), 3: (1, 2, b"Mimsel")}  # kind, level, name
if mode == "count":
    chosen = {2: [0, 3], 3: [0, 2, 4]}.get(seat_count, range(seat_count))
    seats = {seat: (1, 2, b"Mimsel%d" % seat) for seat in chosen}
for seat in range(6):
    kind, level, name = seats.get(seat, (2, 0, b""))
    at = 42 + 25 * seat
    record[at:at + 4] = bytes([kind, level, seat, len(name)])
    record[at + 4:at + 4 + len(name)] = name
record[192] = 0   # 15 pegs with two seats
record[193] = speed  # human speed
record[194] = speed  # computer speed
record[195] = 1   # German
record[196] = 1   # target markers
open(sys.argv[1], "wb").write(record)
PY

display=$((200 + RANDOM % 100))
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 & pids+=($!)
for _ in $(seq 100); do xdpyinfo -display ":$display" >/dev/null 2>&1 && break; sleep 0.1; done
export DISPLAY=":$display"
openbox >/dev/null 2>&1 & pids+=($!)
# A window mapped before the window manager runs may never be shown.
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.1; done
# The accessibility bus of this session, up before the program looks for it
# (asking for its address starts it); its registry starts when first asked.
for _ in $(seq 100); do
  dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1 && break
  sleep 0.1
done

QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$work/vexel" >"$work/vexel.log" 2>&1 & pids+=($!)
win=$(timeout 40 xdotool search --sync --onlyvisible --name '^Vexel$' | head -n1) || true
if [ -z "$win" ]; then
  xwininfo -root -tree | grep -i vexel || true
  [ -n "${VEXEL_A11Y_TRACE:-}" ] && gdb -p "${pids[-1]}" -batch -ex "thread apply all bt 12" 2>/dev/null | grep -E "^#|^Thread" | head -60
  fail "no window"
fi
xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus "$win"

if [ "$mode" = count ]; then
  timeout 1700 /usr/bin/python3 "$here/a11y-check.py" count || fail "the count failed"
else
  timeout 660 /usr/bin/python3 "$here/a11y-check.py" || fail "the accessibility check failed"
fi
