#!/usr/bin/env bash
# --import-profiles at 1,000, 10,000 and 100,000 profiles into an empty settings file, beside a
# load and a save of the 100,000-profile file (one --set-profile): an import is linear, and
# 100,000 take a small multiple of that load and save. Prints seconds, the best of 3 each.
#   import_scale.sh PROGRAM
set -euo pipefail
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
best() { # best of 3 wall-clock seconds of the command, each after `prepare`
  local b=
  for _ in 1 2 3; do
    prepare
    local s e
    s=$(date +%s%N)
    "$@" >/dev/null 2>&1 || true
    e=$(date +%s%N)
    local t=$(((e - s) / 1000000))
    [ -z "$b" ] || [ "$t" -lt "$b" ] && b=$t
  done
  printf '%d.%03d' $((b / 1000)) $((b % 1000))
}
for n in 1000 10000 100000; do
  python3 -c "
print('[Profiles]')
for i in range($n): print(f'P{i}=10.{i//65536%256}.{i//256%256}.{i%256%250+2}.255.255.0.0.10.0.0.1.10.0.0.1....')
" >"$work/import-$n.ini"
  prepare() { rm -f "$work/s.config"; }
  echo "import $n: $(best "$program" --settings "$work/s.config" --import-profiles "$work/import-$n.ini" --yes --json) s"
done
prepare() { :; }
echo "load and save of the 100000 file: $(best "$program" --settings "$work/s.config" --set-profile Yeni 10.9.9.9 255.255.255.0 10.9.9.1 10.9.9.1) s"
