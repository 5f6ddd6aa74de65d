#!/usr/bin/env bash
# "Address in use" only when another device holds it (inside scripts/nm-harness.sh with
# ZELVI_NM_NEIGHBOUR=1 and ZELVI_NM_SECOND=1: two adapters of the computer on one link):
#   one profile applied to both adapters: applied, though each answers the other's probe;
#   NetworkManager stalled for two seconds in the middle of an apply: applied, or refused
#   with the reason, never blamed on another device.
#   two_adapters_networkmanager.sh PROGRAM
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib/processes.sh"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
program=$1
work=$(mktemp -d)
trap 'kill -CONT "$(cat "$ZELVI_NM_WORK/nm.pid")" 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
source "$(dirname "$0")/cli_world.sh"
on() { ip -4 -o addr show dev "$1" | awk '{print $4}' | tr '\n' ' '; }

waitfor '[[ $(zelvi --adapters) == *zc1* ]]' 100 || fail "the second adapter is not listed: $(zelvi --adapters)"
out=$(zelvi --apply Yerel --all 2>&1) || fail "Yerel on both adapters: $out"
[ "$(on zc0)" = "10.99.0.50/24 " ] && [ "$(on zc1)" = "10.99.0.50/24 " ] ||
  fail "not on both adapters: zc0 $(on zc0), zc1 $(on zc1): $out"
echo "one profile on two adapters of one link: applied to both"

nm=$(cat "$ZELVI_NM_WORK/nm.pid")
zelvi --apply Ikinci --adapter "$(zelvi --adapters | sed -n 's/^\[0*\([0-9]*\)\] zc0.*/\1/p')" \
  >"$work/out" 2>&1 &
apply=$!
waitfor '[ "$(on zc0)" != "10.99.0.50/24 " ]' 100 || fail "the apply did not start"
kill -STOP "$nm"
sleep 2
kill -CONT "$nm"
status=0
wait "$apply" || status=$?
[[ $(cat "$work/out") != *"başka bir cihaz kullanıyor"* ]] ||
  fail "a stalled NetworkManager was blamed on another device: $(cat "$work/out")"
[ $status -eq 0 ] || [[ $(cat "$work/out") == *NetworkManager* ]] ||
  fail "refused without its reason ($status): $(cat "$work/out")"
echo "NetworkManager stalled for 2 s: status $status, $(on zc0)"

# Stalled early in the apply (0.15 to 0.25 s after it began), ten times: never "in use".
zc0_index=$(zelvi --adapters | sed -n 's/^\[0*\([0-9]*\)\] zc0.*/\1/p')
false_in_use=0
for round in 1 2 3 4 5 6 7 8 9 10; do
  zelvi --apply Yerel --adapter "$zc0_index" >/dev/null 2>&1 || true
  zelvi --apply Ikinci --adapter "$zc0_index" >"$work/out" 2>&1 &
  apply=$!
  sleep "0.$((15 + RANDOM % 11))"
  kill -STOP "$nm"
  sleep "2.$((RANDOM % 6))"
  kill -CONT "$nm"
  wait "$apply" || true
  if [[ $(cat "$work/out") == *"başka bir cihaz kullanıyor"* ]]; then
    false_in_use=$((false_in_use + 1))
    cat "$work/out" >&2
  fi
done
[ $false_in_use -eq 0 ] || fail "a stall early in the apply read as 'in use' in $false_in_use of 10"
echo "NetworkManager stalled early in the apply, 10 times: never 'in use'"
