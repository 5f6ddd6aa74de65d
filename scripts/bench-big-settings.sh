#!/usr/bin/env bash
# A settings file of a hostile size: bench/big_settings (the window's list loading a million
# profiles, a save with its reload, and the longest time without painting meanwhile), then the
# program's first window on such a file (offscreen, simulated computer), a few times.
# Arguments: profiles (1000000), window starts (3).
set -euo pipefail
cd "$(dirname "$0")/.."
profiles=${1:-1000000}
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target big_settings Nuvar_Pos_Zelvi_ip >/dev/null
export QT_QPA_PLATFORM=offscreen
build/default/bench/big_settings "$profiles" 2>/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
awk -v n="$profiles" 'BEGIN {
  print "[Profiles]"
  for (i = 0; i < n; i++)
    printf "Kasa %07d=10.%d.%d.%d.255.255.255.0.10.0.0.1.8.8.8.8....\n", i, int(i / 65536) % 256, int(i / 256) % 256, i % 256
  printf "[CurrentProfile]\nProfileName=Kasa %07d\n", n / 2
}' >"$work/big.config"
for _ in $(seq "${2:-3}"); do
  build/default/src/app/Nuvar_Pos_Zelvi_ip --settings "$work/big.config" \
    --backend "simulated=$work/computer.json" --report-shown 2>/dev/null |
    sed 's/^/first window: /'
done
