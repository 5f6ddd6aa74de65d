#!/usr/bin/env bash
# Pull mode (contrib/ansible/pull.yml) inside scripts/fleet-harness.sh: three tills run
# ansible-pull from the shop's bare repository in the control node's namespace, each as its
# timer would, and no control node reaches them:
#   kasa1  its program never ran: a good profile, kept by the till itself once it reaches the
#          shop's server, and the shop's address service written;
#   kasa2  a profile at an address the server cannot be reached from: undone at once, and not
#          applied again on the next pull (the till's connection untouched);
#   kasa3  a good profile, then one of the shop's profiles removed from the list: removed from
#          the till, while the profile the till had before stays.
# Each leaves its report on the repository's branch report/TILL.
#   fleet_pull.sh PROGRAM
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib/processes.sh"
program=$1
fail() { echo "FAIL: $*" >&2; cat "$w"/pull-*.out >&2 2>/dev/null || true; exit 1; }
zt0_changes() { grep -c 'device (zt0): state change' "$w/kasa$1/NetworkManager.log" || true; }
source "$(dirname "$0")/fleet_world.sh"

# The shop's server that a till must reach to keep its profile.
python3 -m http.server 8099 --bind 10.99.0.1 >"$w/server.log" 2>&1 &
server=$!
trap 'stop_pids $server' EXIT
waitfor 'python3 -c "import socket; socket.create_connection((\"10.99.0.1\", 8099), 1)" 2>/dev/null' 50 ||
  fail "the shop's server did not start"

# The shop's repository: the role and pull.yml, with the tills' inventory.
git init -q --bare -b main "$w/shop.git"
git init -q -b main "$w/shop"
cp -r "$repo/contrib/ansible/." "$w/shop/"
profiles() {
  cat <<YAML
tills:
  vars:
    zelvi_program: $program
    zelvi_control_program: $program
    zelvi_pull_server: 10.99.0.1:8099
    zelvi_pull_repo: file://$w/shop.git
    zelvi_pull_report: true
    zelvi_pull_state_dir: /root/pull-state # the tills share the harness's /var/lib
    zelvi_settings: $settings
    zelvi_address_service: http://10.99.0.1:8097/ip.php
    zelvi_trial_seconds: 30
    zelvi_reach_seconds: 5
    zelvi_profiles:
      P1: {address: 10.99.0.61, mask: 255.255.255.0, gateway: 10.99.0.1, dns1: 10.99.0.1}
      Uzak: {address: 192.168.77.10, mask: 255.255.255.0, gateway: 192.168.77.1, dns1: 192.168.77.1}
      P3: {address: 10.99.0.63, mask: 255.255.255.0, gateway: 10.99.0.1, dns1: 10.99.0.1}
$1
  hosts:
    kasa1: {zelvi_profile: P1}
    kasa2: {zelvi_profile: Uzak}
    kasa3: {zelvi_profile: P3}
YAML
}
publish() { # MESSAGE: the shop's change, as its administrator commits it
  git -C "$w/shop" add -A
  git -C "$w/shop" -c user.name=shop -c user.email=shop@shop commit -q -m "$1"
  git -C "$w/shop" push -q "$w/shop.git" main
}
profiles "      Eski: {address: 10.99.0.64, mask: 255.255.255.0, gateway: 10.99.0.1, dns1: 10.99.0.1}" \
  >"$w/shop/inventory.yml"
publish "the shop's tills and profiles"

# pull ROUND I: till I runs what its timer runs; the output in $w/pull-ROUND-I.out, the
# processor time it took in $w/pull-ROUND-I.cpu.
pull() {
  local status=0
  "$w/till" "$2" /usr/bin/time -f '%U %S' -o "$w/kasa$2/cpu" env HOME=/root ANSIBLE_NOCOLOR=1 \
    ansible-pull -U "file://$w/shop.git" -C main -d /root/pull -i inventory.yml -l "kasa$2" \
    pull.yml >"$w/pull-$1-$2.out" 2>&1 || status=$?
  awk '{print $1 + $2}' "$w/kasa$2/cpu" >"$w/pull-$1-$2.cpu"
  return $status
}
report() { git -C "$w/shop.git" show "report/kasa$1:kasa$1.json"; }

# 1. Each till's first pull; kasa1's program never ran (no settings folder at all).
rm -rf "$w/kasa1/root/.config"
pull 1 1 || fail "kasa1's pull failed"
if pull 1 2; then fail "kasa2's pull did not fail"; fi
pull 1 3 || fail "kasa3's pull failed"
[ "$(address 1)" = "10.99.0.61/24 " ] && [ "$(current 1)" = P1 ] ||
  fail "kasa1 is at $(address 1) with '$(current 1)', not on P1"
grep -q '^ExternalAddressUrl=http://10.99.0.1:8097/ip.php' "$w/kasa1$settings" ||
  fail "kasa1's first pull did not write the shop's address service"
"$w/till" 1 "$program" --settings "$settings" --status --json | grep -q '"state":"confirmed"' ||
  fail "kasa1's change was not confirmed by the till"
waitfor '[ "$(address 2)" = "10.99.0.12/24 " ]' 100 && [ "$(current 2)" = Baslangic ] ||
  fail "kasa2 is at $(address 2) with '$(current 2)', not back on its earlier profile"
[ "$(address 3)" = "10.99.0.63/24 " ] && grep -q '^Eski=' "$w/kasa3$settings" ||
  fail "kasa3 is at $(address 3) or lacks Eski"
report 1 | grep -q '"code": "confirmed"' && report 2 | grep -q '"code": "put-back"' ||
  fail "the reports: $(report 1) $(report 2)"
grep -q 'did not reach 10.99.0.1:8099' "$w/pull-1-2.out" || fail "kasa2's pull did not say why"
echo "first pulls: kasa1 kept by itself, kasa2 put back, kasa3 moved" \
  "($(cat "$w"/pull-1-1.cpu) CPU-s on kasa1)"

# 2. The shop removes Eski; every till pulls again.
profiles "" >"$w/shop/inventory.yml"
publish "Eski is no longer the shop's"
before=$(zt0_changes 2)
pull 2 1 || fail "kasa1's second pull failed"
pull 2 2 || fail "kasa2's second pull failed: a put-back profile is not tried again"
pull 2 3 || fail "kasa3's second pull failed"
[ "$(zt0_changes 2)" = "$before" ] && [ "$(address 2)" = "10.99.0.12/24 " ] ||
  fail "kasa2's put-back profile was applied again"
report 2 | grep -q '"code": "put-back-before"' || fail "kasa2's report: $(report 2)"
! grep -q '^Eski=' "$w/kasa3$settings" && grep -q '^Baslangic=' "$w/kasa3$settings" ||
  fail "kasa3's profiles: $(cat "$w/kasa3$settings")"
report 1 | grep -q '"code": "already-held"' || fail "kasa1's second report: $(report 1)"
echo "second pulls: kasa2 left alone, Eski removed from kasa3; nothing to do on kasa1" \
  "($(cat "$w"/pull-2-1.cpu) CPU-s)"
