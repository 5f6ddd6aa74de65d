#!/usr/bin/env bash
# How long the address is away while --confirm makes a change on trial lasting: a change from
# afar is made (--confirm-within), then the router pings the address every 5 ms while --confirm
# runs; each lost answer is 5 ms without the address. Runs inside scripts/nm-harness.sh or
# scripts/networkd-harness.sh (see scripts/bench-networkd.sh); prints the worst round and each.
#   confirm_gap.sh PROGRAM BACKEND ROUNDS
set -euo pipefail
program=$1
backend=$2
rounds=$3
router=${ZELVI_NM_ROUTER_NS:-${ZELVI_ND_ROUTER_NS:-}}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '[Profiles]\nA=10.99.0.50.255.255.255.0.10.99.0.1.10.99.0.1....\nB=10.99.0.60.255.255.255.0.10.99.0.1.10.99.0.1....\n' \
  >"$work/ayar.config"
zelvi() { "$program" --settings "$work/ayar.config" --backend "$backend" "$@"; }
gaps=()
for round in $(seq "$rounds"); do
  if [ $((round % 2)) = 1 ]; then profile=A address=10.99.0.50; else profile=B address=10.99.0.60; fi
  zelvi --apply $profile --confirm-within 60 >/dev/null
  for _ in $(seq 200); do
    [[ $(zelvi --status --json) == *'"state":"applied"'* ]] && break
    sleep 0.05
  done
  until ip netns exec "$router" ping -c1 -W1 -q "$address" >/dev/null 2>&1; do sleep 0.05; done
  ip netns exec "$router" ping -i 0.005 -W 0.005 -w 3 -q "$address" >"$work/ping" 2>&1 &
  sleep 0.5
  zelvi --confirm >/dev/null
  wait $!  || true
  read -r sent received < <(awk '/transmitted/ {print $1, $4}' "$work/ping")
  gaps+=($(((sent - received) * 5)))
done
worst=$(printf '%s\n' "${gaps[@]}" | sort -n | tail -1)
echo "$backend: address away during --confirm at most ${worst} ms ($rounds rounds; each: ${gaps[*]})"
