#!/usr/bin/env bash
# Times the shop's play (inside scripts/fleet-harness.sh; see scripts/bench-fleet.sh), in
# rounds that move every till between two profiles: the play that moves them all, the same
# play again over fresh SSH connections (nothing to change), and one till moved alone; with the
# control node's processor time per till. Prints each round and the medians.
#   fleet_timings.sh PROGRAM ROUNDS   (ZELVI_FLEET_EXTRA_PROFILES=N: N more profiles that no
#                                      till is moved to, pushed to every till)
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
    for i in $(seq "${ZELVI_FLEET_EXTRA_PROFILES:-0}"); do # profiles no till is moved to
      echo "      Yedek$i: {address: 10.98.$((i / 250)).$((i % 250 + 1)), mask: 255.255.255.0, gateway: 10.98.0.254, dns1: 10.98.0.254}"
    done
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

echo "$tills tills; each round: the play that moves all (ms, control CPU ms per till), the same"
echo "play again (ms, CPU ms per till), one till moved alone (ms)"
profile=B
for round in $(seq "$rounds"); do
  inventory $profile
  first=$(timed cpu play first)
  first_cpu=$(($(cat "$w/cpu") / tills))
  rm -f "$w"/homes/cp/* # the same play again over fresh SSH connections, as a later run would
  again=$(timed cpu play again)
  again_cpu=$(($(cat "$w/cpu") / tills))
  profile=$([ $profile = B ] && echo A || echo B)
  inventory $profile
  alone=$(timed play alone --limit kasa1)
  # The others follow kasa1 so that the next round moves every till again.
  [ "$tills" -eq 1 ] || timed play rest --limit '!kasa1' >/dev/null
  profile=$([ $profile = B ] && echo A || echo B)
  echo "$first $first_cpu $again $again_cpu $alone" | tee -a "$w/rounds"
done
m() { cut -d' ' -f"$1" "$w/rounds" | median; }
echo "medians ($tills tills): moving all $(m 1) ms, $(m 2) ms CPU per till; again $(m 3) ms," \
  "$(m 4) ms CPU per till; one till alone $(m 5) ms"
echo "ratios: again / moving all $(echo "scale=2; $(m 3) / $(m 1)" | bc)," \
  "moving all / one till alone $(echo "scale=2; $(m 1) / $(m 5)" | bc)"
# One till cut off (its profile's address out of reach): how long the play holds, waiting for
# that till's put-back, or not (zelvi_wait_for_put_back: false).
inventory $profile "$tills"
start=$(ms)
play cut-wait || true
held=$(($(ms) - start))
inventory $profile "$tills"
start=$(ms)
play cut-nowait -e zelvi_wait_for_put_back=false || true
echo "one till in $tills out of reach: the play took $held ms waiting for its put-back," \
  "$(($(ms) - start)) ms without"
