#!/usr/bin/env bash
# Times changes on trial on a real NetworkManager (inside scripts/nm-harness.sh with
# ZELVI_NM_SERVICE and ZELVI_NM_NEIGHBOUR=1; see scripts/bench-trial.sh): a good profile applied
# with its address probe; an address that the neighbour holds, refused and put back; and
# NetworkManager's own rollback once the program was killed, from the moment it starts
# (its log line) to the earlier address being on the adapter again. Prints each round and the
# medians.
#   trial_timings.sh PROGRAM ROUNDS
set -euo pipefail
source "$(dirname "$0")/../scripts/lib/processes.sh"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
program=$1
rounds=$2
work=$(mktemp -d)
pids=()
trap 'stop_pids "${pids[@]}"; rm -rf "$work"' EXIT
source "$(dirname "$0")/../tests/system/cli_world.sh"
ip netns exec "$ZELVI_NM_NEIGHBOUR_NS" ip addr add 10.99.0.77/24 dev zn0
median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
# The moment of NetworkManager's last rollback, in milliseconds.
last_rollback() {
  grep 'rollback of' "$ZELVI_NM_WORK/NetworkManager.log" | tail -n1 |
    sed -E 's/.*\[([0-9]+)\.([0-9]{3})[0-9]*\].*/\1\2/'
}
zelvi --apply Yerel >/dev/null
waitfor '[ "$(addresses)" = "10.99.0.50/24 " ]' 100

for round in $(seq "$rounds"); do
  start=$(ms)
  zelvi --apply Ikinci >/dev/null
  good=$(($(ms) - start))
  zelvi --apply Yerel >/dev/null

  start=$(ms)
  zelvi --apply Komsu >/dev/null 2>&1 || true
  refused=$(($(ms) - start))
  waitfor '[ "$(addresses)" = "10.99.0.50/24 " ]' 100
  back=$(($(ms) - start))

  zelvi_on_trial Ikinci 1
  pid=$!
  waitfor '[[ $(addresses) == *10.99.0.60/24* ]]' 200
  kill -9 "$pid"
  wait "$pid" 2>/dev/null || true
  killed=$(ms)
  waitfor '[ "$(addresses)" = "10.99.0.50/24 " ]' 600
  restored=$(ms)
  rollback=$((restored - $(last_rollback)))
  echo "round $round: good apply $good ms; held address refused $refused ms, back $back ms;" \
    "killed: back after $((restored - killed)) ms, $rollback ms after NetworkManager's rollback began"
  echo "$good $refused $back $rollback" >>"$work/rounds"
done
for column in 1 2 3 4; do
  awk -v c=$column '{print $c}' "$work/rounds" | median >"$work/m$column"
done
echo "medians: good apply $(cat "$work/m1") ms; held address refused $(cat "$work/m2") ms," \
  "back $(cat "$work/m3") ms; NetworkManager's rollback $(cat "$work/m4") ms"
