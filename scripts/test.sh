#!/usr/bin/env bash
# Installs what the project needs, builds it with warnings as errors and runs every test:
# the unit, widget and system tests; the Debian package (built, checked by lintian and the
# desktop validators, installed, started by an ordinary user, purged, and installed on a booted
# till); the unit and widget tests again under AddressSanitizer and UndefinedBehaviorSanitizer;
# and each fuzz target for a minute.
#
# What waits on downloads or only needs the processor while the tests leave it idle runs beside
# them at the lowest priority: the Debian roots of the package check from the start, the
# package, sanitizer and fuzz builds while the tests run (logs: build/side-*.log). The tests
# pass under such load; they are made to (scripts/test-under-load.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
# The tests read the program's texts in its own language, whatever this desktop's is.
export LC_ALL=C.UTF-8
unset LANGUAGE LC_MESSAGES
mkdir -p build

side_pids=()
side_names=()
stop_side() { [ ${#side_pids[@]} -eq 0 ] || kill "${side_pids[@]}" 2>/dev/null || true; }
trap stop_side EXIT
# beside NAME COMMAND: COMMAND at the lowest priority, its output in build/side-NAME.log.
beside() {
  local name=$1
  shift
  nice -n 19 bash -c "$1" >"build/side-$name.log" 2>&1 &
  side_pids+=($!)
  side_names+=("$name")
}
# Waits for every command started beside; fails with the log of one that failed.
wait_beside() {
  local i
  for i in "${!side_pids[@]}"; do
    if ! wait "${side_pids[$i]}"; then
      echo "test: ${side_names[$i]} failed (build/side-${side_names[$i]}.log):" >&2
      tail -n 40 "build/side-${side_names[$i]}.log" >&2
      exit 1
    fi
  done
  side_pids=()
}

beside roots "scripts/debian-root.sh build/debian12-root && scripts/till-root.sh build/debian12-root build/till-root"
cmake --preset ci >/dev/null
cmake --build --preset ci
scripts/format-check.sh
beside builds "scripts/package.sh && cmake --preset sanitize && cmake --build --preset sanitize &&
  cmake --preset fuzz && cmake --build --preset fuzz"
ctest --preset ci "$@"

wait_beside
scripts/check-package.sh
ctest --preset sanitize --label-exclude system "$@"
scripts/fuzz.sh "${ZELVI_FUZZ_SECONDS:-60}"
