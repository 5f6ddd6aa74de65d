#!/usr/bin/env bash
# From the command to the first answer at the new address: the program applies a static profile
# (alternating between two, so that each round moves the address) and the router pings the new
# address every 5 ms until it answers. Runs inside scripts/nm-harness.sh or
# scripts/networkd-harness.sh (see scripts/bench-networkd.sh); prints the median and each round.
#   first_ping.sh PROGRAM BACKEND ROUNDS
set -euo pipefail
program=$1
backend=$2
rounds=$3
router=${ZELVI_NM_ROUTER_NS:-${ZELVI_ND_ROUTER_NS:-}}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '[Profiles]\nA=10.99.0.50.255.255.255.0.10.99.0.1.10.99.0.1....\nB=10.99.0.60.255.255.255.0.10.99.0.1.10.99.0.1....\n' \
  >"$work/ayar.config"
ms() { echo $(($(date +%s%N) / 1000000)); }
"$program" --settings "$work/ayar.config" --backend "$backend" --apply B >/dev/null
times=()
for round in $(seq "$rounds"); do
  if [ $((round % 2)) = 1 ]; then profile=A address=10.99.0.50; else profile=B address=10.99.0.60; fi
  start=$(ms)
  "$program" --settings "$work/ayar.config" --backend "$backend" --apply $profile >/dev/null
  until ip netns exec "$router" ping -c1 -W0.005 -q "$address" >/dev/null 2>&1; do
    [ $(($(ms) - start)) -lt 10000 ] || { echo "no answer at $address" >&2; exit 1; }
  done
  times+=($(($(ms) - start)))
done
median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}')
echo "$backend: command to first ping ${median} ms (median of $rounds; each: ${times[*]})"
