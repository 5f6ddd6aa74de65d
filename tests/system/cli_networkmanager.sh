#!/usr/bin/env bash
# The command line against a real NetworkManager, DHCP server and address service (inside
# scripts/nm-harness.sh with ZELVI_NM_SERVICE), with no display at all: a profile in the
# router's network applied and kept by --check, the switch to DHCP, and a profile in a
# foreign subnet that --check reverts to DHCP (exit status 3); without an address service a
# right gateway keeps a checked change and a silent one puts it back.
#   cli_networkmanager.sh PROGRAM
set -euo pipefail
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
source "$(dirname "$0")/cli_world.sh"
source "$(dirname "$0")/../../scripts/lib/processes.sh"

[[ $(zelvi --adapters) == *"] $ZELVI_NM_IFACE"* ]] || fail "--adapters does not list $ZELVI_NM_IFACE"

status=0
out=$(zelvi --apply Yerel --check --check-after 1 --json) || status=$?
[ $status -eq 0 ] || fail "--apply Yerel --check ended with $status: $out"
[[ $out == *'"external":"10.99.0.50"'* ]] || fail "the service did not see the new address: $out"
[[ $(addresses) == *10.99.0.50/24* ]] || fail "10.99.0.50 is not on the adapter: $(addresses)"
[ "$(current)" = Yerel ] || fail "Yerel is not the current profile"
echo "apply + check: kept ($(addresses))"

zelvi --dhcp >/dev/null || fail "--dhcp failed"
for _ in $(seq 100); do [[ $(addresses) == *10.99.0.1[0-9][0-9]/24* ]] && break; sleep 0.1; done
[[ $(addresses) == *10.99.0.1[0-9][0-9]/24* ]] || fail "no lease after --dhcp: $(addresses)"
[ -z "$(current)" ] || fail "--dhcp kept a current profile"
echo "dhcp: $(addresses)"

status=0
out=$(zelvi --apply Yabanci --check --check-after 1 2>"$work/err") || status=$?
[ $status -eq 3 ] || fail "--check did not revert the foreign profile (status $status): $out $(cat "$work/err")"
for _ in $(seq 100); do [[ $(addresses) == *10.99.0.1[0-9][0-9]/24* ]] && break; sleep 0.1; done
[[ $(addresses) == *10.99.0.1[0-9][0-9]/24* ]] || fail "not back on DHCP: $(addresses)"
[ -z "$(current)" ] || fail "the reverted profile is still current"
echo "foreign subnet: reverted to DHCP, exit 3 ($(head -n1 "$work/err"))"

# A change from afar: the command answers before the address moves, the change comes a second
# later from a run of its own, --confirm keeps it (stored: it outlives a restart of the
# computer), and one that nobody confirms is back at the earlier address when its time ends.
zelvi --apply Yerel >/dev/null || fail "Yerel could not be applied"
start=$(ms)
out=$(zelvi --apply Ikinci --confirm-within 20 --json) || fail "--confirm-within: $out"
returned=$(($(ms) - start))
[ "$(addresses)" = "10.99.0.50/24 " ] || fail "the address moved before the answer: $(addresses)"
request=$(sed -E 's/.*"request":"([0-9a-f]+)".*/\1/' <<<"$out")
[[ $out == *'"confirm":'*"--confirm $request\""* ]] || fail "no way to confirm in the answer: $out"
waitfor '[ "$(addresses)" = "10.99.0.60/24 " ]' 100 || fail "Ikinci did not arrive: $(addresses)"
arrived=$(($(ms) - start))
waitfor '[[ $(zelvi --status) == *"doğrulama bekliyor"* ]]' 100 ||
  fail "--status does not say it waits: $(zelvi --status)"
zelvi --confirm >/dev/null || fail "--confirm failed"
"$ZELVI_NM_RESTART" --reboot || fail "NetworkManager did not start again"
waitfor '[ "$(addresses)" = "10.99.0.60/24 " ]' 100 || fail "the confirmed change was lost: $(addresses)"
zelvi --apply Yerel --confirm-within 10 >/dev/null || fail "the second --confirm-within failed"
waitfor '[ "$(addresses)" = "10.99.0.50/24 " ]' 100 || fail "Yerel did not arrive: $(addresses)"
start=$(ms)
waitfor '[ "$(addresses)" = "10.99.0.60/24 " ]' 150 || fail "the unconfirmed change stayed: $(addresses)"
back=$(($(ms) - start))
status=0
zelvi --confirm >"$work/late" 2>&1 || status=$?
[ $status -eq 3 ] || fail "a late --confirm ended with $status: $(cat "$work/late")"
[ "$(current)" = Ikinci ] || fail "the earlier profile is not named again: $(current)"
echo "from afar: answered in $returned ms, new address after $arrived ms, confirmed and kept; unconfirmed back after $back ms more"

# No cable, on an adapter without a profile yet: the first call makes one, every later call
# changes that one (no new ones), each says that the settings wait for the cable, and the last
# change is what comes up when the cable is back.
profiles() { nmcli -g NAME connection show | grep -c "^Zelvi $ZELVI_NM_IFACE\$" || true; }
ip -n "$ZELVI_NM_ROUTER_NS" link set zr0 down
waitfor '[ "$(nmcli -g GENERAL.STATE device show "$ZELVI_NM_IFACE" | cut -d" " -f1)" = 20 ]' 100 ||
  fail "the adapter still has a link"
nmcli connection delete "Zelvi $ZELVI_NM_IFACE" >/dev/null || fail "the adapter's profile could not be removed"
for name in Ikinci Yerel; do
  out=$(zelvi --apply "$name" 2>&1) || fail "--apply $name without a cable: $out"
  [[ $out == *"kablo takılı değil"* ]] || fail "--apply $name does not say that there is no link: $out"
done
zelvi --dhcp >/dev/null 2>&1 || fail "--dhcp without a cable failed"
zelvi --apply Yerel >/dev/null 2>&1 || fail "--apply Yerel without a cable failed"
[ "$(profiles)" = 1 ] || fail "$(profiles) profiles for the adapter after four calls without a cable"
ip -n "$ZELVI_NM_ROUTER_NS" link set zr0 up
waitfor '[ "$(addresses)" = "10.99.0.50/24 " ]' 150 || fail "Yerel did not come up with the cable: $(addresses)"
[ "$(current)" = Yerel ] || fail "settings and adapter disagree: $(current)"
echo "no cable: said, one profile, the last change came up with the cable"

# The same apply again (as configuration management runs it): nothing changes, nothing drops.
out=$(zelvi --apply Yerel --json) || fail "--apply Yerel again: $out"
[[ $out == *'"changed":false'* ]] || fail "an apply of the profile the adapter holds changed it: $out"
echo "the same apply again: changed false"

judge_args=(--backend networkmanager)
source "$(dirname "$0")/gateway_judge.sh"
