#!/usr/bin/env bash
# Start-up of the program (offscreen, simulated computer, address service on loopback) until
# its window is shown, against a bare Qt window of the project's own ("bare"; "text" is the
# same window with one line of text), alternating them. Each start is timed by
# bench/startup_timer from the moment it is started until the moment the program reports its
# first paint; peak memory is the whole run's.
# Prints the medians of time and peak memory. Argument: rounds (default 15).
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-15}
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target Nuvar_Pos_Zelvi_ip bare_window startup_timer \
  zelvi-ip-service >/dev/null

source scripts/lib/processes.sh
work=$(mktemp -d)
service_pid=
trap '[ -n "$service_pid" ] && stop_pids "$service_pid"; rm -rf "$work"' EXIT
build/default/src/service/zelvi-ip-service --listen 127.0.0.1 --port 0 >"$work/service.log" &
service_pid=$!
waitfor 'grep -q listening "$work/service.log"' 50 ||
  { echo "bench-startup: the address service did not start" >&2; exit 1; }
port=$(sed -E 's/.*:([0-9]+)$/\1/' "$work/service.log")
printf '[Profiles]\nKasa=192.168.5.50.255.255.255.0.192.168.5.254.192.168.5.254.8.8.8.8\n[CurrentProfile]\nProfileName=Kasa\n[Links]\nExternalAddressUrl=http://127.0.0.1:%s/ip.php\n' "$port" >"$work/settings.config"

export QT_QPA_PLATFORM=offscreen
program=(build/default/src/app/Nuvar_Pos_Zelvi_ip --settings "$work/settings.config"
  --backend "simulated=$work/computer.json" --report-shown)
bare=(build/default/bench/bare_window)
text=(build/default/bench/bare_window --with-text)

measure() { # name command...: appends "microseconds KiB" to $work/name
  local name=$1
  shift
  build/default/bench/startup_timer "$@" >>"$work/$name" 2>"$work/err" ||
    { echo "$name: $(cat "$work/err")" >&2; exit 1; }
}

"${program[@]}" >/dev/null 2>&1 # warm the caches once
for round in $(seq "$rounds"); do
  if [ $((round % 2)) -eq 0 ]; then
    measure program "${program[@]}"; measure bare "${bare[@]}"; measure text "${text[@]}"
  else
    measure text "${text[@]}"; measure bare "${bare[@]}"; measure program "${program[@]}"
  fi
done

median() { sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
declare -A us kib
for name in program bare text; do
  us[$name]=$(cut -d' ' -f1 "$work/$name" | median)
  kib[$name]=$(cut -d' ' -f2 "$work/$name" | median)
  printf '%-8s median start-up %7.1f ms, median peak memory %6d KiB (%d rounds)\n' \
    "$name" "$(echo "${us[$name]} / 1000" | bc -l)" "${kib[$name]}" "$rounds"
done
for base in bare text; do
  printf 'program against %-4s: start-up %.2f times, peak memory %+d KiB\n' "$base" \
    "$(echo "${us[program]} / ${us[$base]}" | bc -l)" "$((${kib[program]} - ${kib[$base]}))"
done
