#!/usr/bin/env bash
# Runs the tests N times while two busy processes per core load the machine, and prints each
# run's result: a test that fails by chance shows here. The build must exist (scripts/test.sh
# made it); extra arguments go to ctest (default: the system tests, -L system). With
# ZELVI_SLOW_SYNC_MS set, every flush to the disk also waits that many milliseconds (a till's
# slow flash; tests/common/slow_sync.cpp).
#   scripts/test-under-load.sh N [CTEST ARGS...]
#   ZELVI_SLOW_SYNC_MS=40 scripts/test-under-load.sh 1 -LE system
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:?usage: test-under-load.sh N [CTEST ARGS...]}
shift
[ $# -gt 0 ] || set -- -L system
export LC_ALL=C.UTF-8
unset LANGUAGE LC_MESSAGES
if [ -n "${ZELVI_SLOW_SYNC_MS:-}" ]; then
  export LD_PRELOAD=$PWD/build/ci/tests/libzelvi_slow_sync.so
  [ -f "$LD_PRELOAD" ] || { echo "$LD_PRELOAD is missing: build the ci preset" >&2; exit 1; }
fi
busy=()
stop_busy() { [ ${#busy[@]} -eq 0 ] || kill "${busy[@]}" 2>/dev/null || true; }
trap stop_busy EXIT
for _ in $(seq $((2 * $(nproc)))); do
  sh -c 'while :; do :; done' &
  busy+=($!)
done
failed=0
for run in $(seq "$runs"); do
  log=build/under-load-$run.log
  start=$(date +%s)
  if ctest --preset ci --output-on-failure "$@" >"$log" 2>&1; then
    echo "run $run: passed in $(($(date +%s) - start)) s"
  else
    failed=$((failed + 1))
    echo "run $run: FAILED in $(($(date +%s) - start)) s: $(grep -E '^\s+[0-9]+ - ' "$log" | tr -s ' ' | tr '\n' ';') (see $log)"
  fi
done
echo "$((runs - failed)) of $runs runs passed under $((2 * $(nproc))) busy processes${ZELVI_SLOW_SYNC_MS:+, each flush $ZELVI_SLOW_SYNC_MS ms slower}"
[ $failed -eq 0 ]
