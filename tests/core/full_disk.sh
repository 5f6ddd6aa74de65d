#!/bin/bash
# A full disk under the settings file or under the computer's files: every command that would
# write there refuses with the code "disk-full" before it touches anything, the files stay
# whole, and output that cannot be written fails the run. Runs in a mount namespace of its own,
# on a small tmpfs that is filled.
set -u
program=$1
[ "$(id -u)" -eq 0 ] || { echo "full_disk: needs root to mount a tmpfs; skipped"; exit 77; }
[ "${2:-}" = inside ] || exec unshare --mount --propagation private bash "$0" "$program" inside

work=$(mktemp -d)
trap 'umount "$work/full" 2>/dev/null; rm -rf "$work"' EXIT
mkdir "$work/full" "$work/roomy"
mount -t tmpfs -o size=128k tmpfs "$work/full"
failures=0

zelvi() { # settings folder, computer folder, arguments
  local s=$1 c=$2
  shift 2
  LC_ALL=C.UTF-8 "$program" --settings "$work/$s/a.config" --backend "simulated=$work/$c/pc.json" "$@"
}
for place in full roomy; do
  zelvi "$place" "$place" --set-profile KASA 10.0.0.5 255.255.255.0 10.0.0.1 10.0.0.1 >/dev/null
  zelvi "$place" "$place" --adapters >/dev/null
done
zelvi full full --apply KASA --adapter 3 >/dev/null # a static adapter: --dhcp has work to do
printf '{"YENI": {"address": "10.0.0.9", "mask": "255.255.255.0", "gateway": "10.0.0.1", "dns1": "10.0.0.1"}}' \
  >"$work/roomy/import.json"
dd if=/dev/zero of="$work/full/filler" bs=4k 2>/dev/null
cp -a "$work/full" "$work/before-full" && cp -a "$work/roomy" "$work/before-roomy"

# settings | computer | arguments (@: the work folder) | exit | code
while IFS='|' read -r settings computer args status code; do
  [ -n "$settings" ] || continue
  args=${args//@/$work}
  # shellcheck disable=SC2086  # the arguments are words
  out=$(zelvi $settings $computer $args --json 2>/dev/null)
  got=$?
  if [ "$got" != "$status" ] || [[ $out != *"\"code\":\"$code\""* ]] ||
    ! diff -r "$work/before-full" "$work/full" >/dev/null ||
    ! diff -r "$work/before-roomy" "$work/roomy" >/dev/null; then
    echo "FAIL settings on $settings, computer on $computer, $args: exit $got, $out"
    failures=$((failures + 1))
  fi
done <<'EOF'
full|roomy|--set-profile IKI 10.0.0.6 255.255.255.0 10.0.0.1 10.0.0.1|1|disk-full
full|roomy|--import-profiles @/roomy/import.json|1|disk-full
full|roomy|--delete-profile KASA|1|disk-full
full|roomy|--apply KASA --all|1|disk-full
full|roomy|--apply KASA --all --confirm-within 30|1|disk-full
roomy|full|--apply KASA --all|1|disk-full
roomy|full|--apply KASA --all --check --check-after 0|1|disk-full
roomy|full|--apply KASA --all --confirm-within 30|1|disk-full
roomy|full|--apply KASA --all --dry-run|1|disk-full
roomy|full|--dhcp|1|disk-full
roomy|full|--dhcp --dry-run|1|disk-full
roomy|full|--list|0|done
EOF

# Output to a full disk: the run fails and says so on stderr.
err=$(zelvi roomy roomy --export-profile KASA --format netplan --interface eth0 2>&1 >"$work/full/out.yaml")
got=$?
if [ "$got" != 1 ] || [[ $err != *"Çıktı yazılamadı"* ]]; then
  echo "FAIL an export to a full disk: exit $got, $err"
  failures=$((failures + 1))
fi
[ "$failures" = 0 ] && echo "every full-disk case refused, nothing touched"
exit $((failures > 0))
