# shellcheck shell=bash
# Sourced by the end-to-end scripts: a private Xvfb with a window manager, as
# on a desktop. start_x appends both process ids to the caller's `pids` array
# (which its cleanup kills) and exports DISPLAY for the programs under test.
start_x() {
  local display=$((90 + RANDOM % 100))
  Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 & pids+=($!)
  for _ in $(seq 50); do xdpyinfo -display ":$display" >/dev/null 2>&1 && break; sleep 0.1; done
  export DISPLAY=":$display" QT_QPA_PLATFORM=xcb
  openbox >/dev/null 2>&1 & pids+=($!)
  sleep 0.5
}
