#!/usr/bin/env bash
# Times the shop's play (inside scripts/fleet-harness.sh; see scripts/bench-fleet.sh): every
# till re-addressed in one play, against the same changes made one till after another (one
# play each), in rounds that move the tills between two profiles; then one play in which one
# till cannot be reached at its new address. Prints each round and the medians.
#   fleet_timings.sh PROGRAM ROUNDS
set -euo pipefail
program=$1
rounds=$2
tills=$ZELVI_FLEET_TILLS
source "$(dirname "$0")/../tests/system/fleet_world.sh"
median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

# inventory PROFILE [UNREACHABLE-TILL]: every till to PROFILE (A: 10.99.0.10+I, B: 10.99.0.60+I;
# the one named to an address in another subnet), found where it is now.
inventory() {
  local i to
  {
    echo tills:
    echo "  vars:"
    inventory_vars
    echo "    zelvi_trial_seconds: 30"
    echo "    zelvi_reach_seconds: 15"
    echo "    zelvi_profiles:"
    for i in $(seq "$tills"); do
      echo "      A$i: {address: 10.99.0.$((10 + i)), mask: 255.255.255.0, gateway: 10.99.0.1, dns1: 10.99.0.1}"
      echo "      B$i: {address: 10.99.0.$((60 + i)), mask: 255.255.255.0, gateway: 10.99.0.1, dns1: 10.99.0.1}"
    done
    echo "      Uzak: {address: 192.168.77.10, mask: 255.255.255.0, gateway: 192.168.77.1, dns1: 192.168.77.1}"
    echo "  hosts:"
    for i in $(seq "$tills"); do
      to=$1$i
      [ "$i" = "${2:-}" ] && to=Uzak
      echo "    kasa$i: {ansible_host: $(address $i | cut -d/ -f1), zelvi_profile: $to}"
    done
  } >"$w/inventory.yml"
}
timed() { local start=$(ms); "$@" || { cat "$w"/play-*.out >&2; exit 1; }; echo $(($(ms) - start)); }
# cpu COMMAND…: COMMAND, and the control node's processor time for it (its processes and
# ssh's), in milliseconds, in $w/cpu.
cpu() {
  (
    "$@" || exit 1
    times >"$w/times"
    tail -n1 "$w/times" | awk '{split($1, u, /[ms]/); split($2, s, /[ms]/)
      print int((u[1] * 60 + u[2] + s[1] * 60 + s[2]) * 1000)}' >"$w/cpu"
  )
}

echo "$tills tills; milliseconds: all in one play, one play per till (sum), per till; the"
echo "control node's processor time for the play of all"
profile=B
for round in $(seq "$rounds"); do
  inventory $profile
  together=$(timed cpu play together)
  profile=$([ $profile = B ] && echo A || echo B)
  inventory $profile
  apart=0
  for i in $(seq "$tills"); do apart=$((apart + $(timed play apart --limit kasa$i))); done
  profile=$([ $profile = B ] && echo A || echo B)
  echo "$together $apart $((apart / tills)) $(cat "$w/cpu")" | tee -a "$w/rounds"
done
echo "medians: all in one play $(cut -d' ' -f1 "$w/rounds" | median) ms," \
  "one after another $(cut -d' ' -f2 "$w/rounds" | median) ms," \
  "per till alone $(cut -d' ' -f3 "$w/rounds" | median) ms," \
  "control node's processor time $(cut -d' ' -f4 "$w/rounds" | median) ms"
inventory $profile 1
start=$(ms)
if play unreachable; then echo "the play with an unreachable till did not fail" >&2; exit 1; fi
echo "with kasa1 unreachable at its new address (trial 30 s, wait 15 s): $(($(ms) - start)) ms"
grep -A"$tills" '^PLAY RECAP' "$w/play-unreachable.out" | tail -n +2 | tr -s ' '
