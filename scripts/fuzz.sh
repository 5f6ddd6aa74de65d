#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each for a bounded time (seconds, default 60),
# starting from the seed corpus in tests/fuzz/corpus. Fails on any crash, leak or hang.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
scripts/setup.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
mkdir -p build/fuzz/artifacts
for target in ini answer; do
  work=$(mktemp -d)
  cp tests/fuzz/corpus/$target/* "$work"/
  echo "fuzz_$target: ${seconds}s"
  build/fuzz/tests/fuzz/fuzz_$target -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=4096 -print_final_stats=1 -artifact_prefix=build/fuzz/artifacts/ "$work" 2>&1 |
    tail -n 12
  status=${PIPESTATUS[0]}
  rm -rf "$work"
  [ "$status" -eq 0 ] || { echo "fuzz_$target failed; the input is in build/fuzz/artifacts" >&2; exit 1; }
done
