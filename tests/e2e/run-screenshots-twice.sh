#!/usr/bin/env bash
# Runs the screenshots command twice at once, each on its own X server, and
# compares what they wrote: the same pictures, byte for byte, and each picture
# of the screen a PNG of its size.
# Usage: run-screenshots-twice.sh SCREENSHOTS BIN_DIR SCREENCHECK
set -euo pipefail
shots=$1 bin_dir=$2 check=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$shots" "$bin_dir" "$check" "$work/a" >"$work/a.log" 2>&1 & first=$!
"$shots" "$bin_dir" "$check" "$work/b" >"$work/b.log" 2>&1 & second=$!
status=0
wait "$first" || { echo "first run failed:"; cat "$work/a.log"; status=1; }
wait "$second" || { echo "second run failed:"; cat "$work/b.log"; status=1; }
[ "$status" = 0 ] || exit 1
count=$(find "$work/a" -name '*.png' | wc -l)
[ "$count" -ge 5 ] || { echo "only $count pictures"; exit 1; }
for a in "$work"/a/*.png; do
  name=$(basename "$a")
  cmp -s "$a" "$work/b/$name" || { echo "$name differs between the two runs"; exit 1; }
  [ "$name" = hole-names.png ] && continue
  # PNG signature, then the header with width 1000 and height 600.
  [ "$(head -c 24 "$a" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a0000000d49484452000003e800000258" ] ||
    { echo "$name is not a 1000 x 600 PNG"; exit 1; }
done
echo "screenshots: $count pictures, the same in both runs"
