#!/bin/bash
# The arena part of `make soak`: 2,120 self-play games of the computer players
# over tables of two, three, four and six seats, with 15 and 10 pegs and every
# level. Fails when any game broke an invariant of the position or did not come
# to its end; every unfinished game is named with the command line that
# replays it. Then 10,000 games go through their records and back.
set -u
arena=${1:?usage: soak.sh path/to/vexel-arena}
failed=0
total=0
unfinished=0

play() {
  local games=$1 seed=$2 output status count
  shift 2
  echo "== vexel-arena --games $games --seed $seed $*"
  output=$("$arena" --games "$games" --seed "$seed" "$@")
  status=$?
  printf '%s\n' "$output"
  [ $status -eq 0 ] || failed=1
  count=$(printf '%s\n' "$output" | sed -n 's/^games [0-9]*, unfinished \([0-9]*\),.*/\1/p')
  if [ -z "$count" ]; then
    failed=1
  else
    unfinished=$((unfinished + count))
  fi
  total=$((total + games))
}

play 300 101 0=0 3=2                     # two seats, 15 pegs
play 200 102 0=1 3=0                     # two seats, 15 pegs
play 300 103 --ten 1=1 4=1               # two seats, 10 pegs
play 300 104 0=1 2=1 4=1                 # three seats, 15 pegs
play 300 105 --ten 1=0 3=1 5=2           # three seats, 10 pegs
play 200 106 0=2 1=0 3=2 4=0             # four seats
play 400 107 0=0 1=1 2=2 3=0 4=1 5=2     # six seats
play 40 108 0=3 3=0                      # the strongest level, two seats
play 40 109 0=3 2=0 4=3                  # three seats, two of them strongest
play 40 110 --ten 0=3 1=0 2=0 3=0 4=0 5=3  # six seats

# Records: 10,000 more games of mixed seatings and both peg counts, each
# written as a record, read back and replayed through the game's move entry;
# every move must be legal and the recorded finishing order and final
# position must come out of the replay.
records=$(mktemp -d)
trap 'rm -rf "$records"' EXIT
roundtrips=0
roundtrip() {
  local games=$1 seed=$2 dir="$records/$2" result
  shift 2
  "$arena" --games "$games" --seed "$seed" --record "$dir" "$@" >/dev/null || failed=1
  result=$(find "$dir" -name '*.vxg' -print0 | xargs -0 "$arena" --replay | grep -v ': ok, ')
  echo "== round trip --games $games --seed $seed $*: $result"
  [ "$result" = "replayed $games records, 0 failed" ] || failed=1
  roundtrips=$((roundtrips + games))
  rm -rf "$dir"
}
roundtrip 2000 201 0=0 3=2                 # two seats, 15 pegs
roundtrip 1500 202 --ten 1=1 4=2           # two seats, 10 pegs
roundtrip 2000 203 0=1 2=2 4=0             # three seats, 15 pegs
roundtrip 1500 204 --ten 1=2 3=0 5=1       # three seats, 10 pegs
roundtrip 1500 205 0=2 1=0 3=1 4=2         # four seats
roundtrip 1500 206 0=0 1=1 2=2 3=0 4=1 5=2 # six seats

echo "soak: $total arena games, $unfinished unfinished; $roundtrips records written and replayed"
if [ $failed -ne 0 ]; then
  echo "soak: FAILED: invariant violations, records that did not replay (or a bad command line) above"
  exit 1
fi
if [ $unfinished -ne 0 ]; then
  echo "soak: FAILED: $unfinished games did not come to their end (replay lines above)"
  exit 1
fi
echo "soak: no invariant violated, every game ended"
