#!/usr/bin/env bash
# The command line against a real systemd-networkd and DHCP server (inside
# scripts/networkd-harness.sh), with no display: the backend chosen by itself, a static
# profile, DHCP and static again, each read back from networkd; an apply of what the link holds
# changes nothing; one static profile to another without a lease asked for on the way;
# netplan's file for the link does not win over the program's; the
# administrator's own file is never touched. On trial: back by itself when unconfirmed (the
# program that made it has ended), a second change refused meanwhile, kept by --confirm over a
# reboot, and a reboot during the trial starts the earlier settings; a change from afar over
# SSH, confirmed at the new address; --undo puts one back at once; the program killed during
# its own trial is put back by the keeper, and a trial whose keeper was killed by the next run;
# the program file replaced during a trial (an upgrade) does not take over its keeping; a
# change whose lasting file cannot be written (a read-only or full /etc) stays until a restart,
# says so, and leaves the lasting file whole. An administrator's file that would hide a change
# is named and the change refused; a --confirm killed half-way is finished, not put back. An administrator's bridge is not an adapter;
# /run/systemd/network missing (networkd switched on without a reboot) is made. Without an
# address service a right gateway keeps a checked change and a silent one puts it back.
#   cli_networkd.sh PROGRAM
set -euo pipefail
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
source "$(dirname "$0")/../../scripts/lib/processes.sh"
ms() { echo $(($(date +%s%N) / 1000000)); }
iface=$ZELVI_ND_IFACE
settings=$work/ayar.config
cat >"$settings" <<INI
[Profiles]
Yerel=10.99.0.50.255.255.255.0.10.99.0.1.10.99.0.1....
Ikinci=10.99.0.60.255.255.255.0.10.99.0.1.10.99.0.1.10.99.0.2
[Links]
ExternalAddressUrl=$ZELVI_NM_SERVICE_URL
INI
zelvi() { "$program" --settings "$settings" "$@"; }
addresses() { ip -4 -o addr show dev "$iface" | awk '{print $4}' | tr '\n' ' '; }
admin=$(md5sum </etc/systemd/network/50-zc0.network)

# The administrator's bridge, with the shop's address on it: not an adapter of the program's,
# so no apply puts it on DHCP.
printf '[Match]\nName=zbr0\n\n[Network]\nAddress=10.50.0.1/24\nConfigureWithoutCarrier=yes\n' \
  >/etc/systemd/network/40-zbr0.network
networkctl reload
ip link add zbr0 type bridge
bridge() { ip -4 -o addr show dev zbr0 | awk '{print $4}'; }
waitfor '[ "$(bridge)" = 10.50.0.1/24 ]' 100 || fail "networkd did not configure the bridge"

out=$(zelvi --status --json) || fail "--status: $out"
[[ $out == *'"backend":"systemd-networkd"'* ]] || fail "networkd was not chosen by itself: $out"
out=$(zelvi --adapters)
[[ $out == *"] $iface"* && $out != *zbr0* ]] || fail "--adapters: $out"

# A second card the administrator set static: every adapter goes to DHCP first, so an apply to
# the first card alone moves it too, and --dry-run, a remote change's answer and the apply name it.
ip link add zc1 type veth peer name zc1p
printf '[Match]\nName=zc1\n\n[Network]\nAddress=10.77.0.1/24\nConfigureWithoutCarrier=yes\n' \
  >/etc/systemd/network/51-zc1.network
networkctl reload
second() { ip -4 -o addr show dev zc1 | awk '{print $4}'; }
waitfor '[ "$(second)" = 10.77.0.1/24 ]' 100 || fail "networkd did not configure zc1"
index=$(zelvi --adapters | sed -n "s/^\[\([0-9]*\)\] $iface\$/\1/p")
out=$(zelvi --apply Yerel --adapter "$index" --dry-run) || fail "--dry-run with a second card: $out"
[[ $out == *"] zc1: "*DHCP* ]] || fail "--dry-run does not name the second card: $out"
out=$(zelvi --apply Yerel --adapter "$index" --confirm-within 60 --json) || fail "a remote change with a second card: $out"
[[ $out == *'"toDhcp":["['*'] zc1"]'* ]] || fail "a remote change does not name the second card first: $out"
out=$(zelvi --undo --json) || fail "--undo with a second card: $out"
waitfor '[ "$(second)" = 10.77.0.1/24 ]' 100 || fail "--undo did not give the second card back its address"
out=$(zelvi --apply Yerel --adapter "$index" 2>&1) || fail "the apply with a second card: $out"
[[ $out == *DHCP*"] zc1"* ]] || fail "the apply does not name the second card it moved: $out"
waitfor '[ -z "$(second)" ]' 100 || fail "the second card kept its address: $(second)"
ip link del zc1
rm /etc/systemd/network/51-zc1.network /etc/systemd/network/05-nuvar-zelvi-zc1.network
networkctl reload
echo "a second static card: named by --dry-run and by the apply that moved it to DHCP"

zelvi --apply Yerel >/dev/null || fail "Yerel could not be applied"
waitfor '[ "$(addresses)" = "10.99.0.50/24 " ]' 50 || fail "Yerel is not on the link: $(addresses)"
waitfor 'ip -4 route show default | grep -q "via 10.99.0.1"' 50 || fail "no default route via 10.99.0.1"
[ "$(bridge)" = 10.50.0.1/24 ] || fail "the apply changed the bridge: $(bridge)"
out=$(zelvi --apply Yerel --json) || fail "Yerel again: $out"
[[ $out == *'"changed":false'* ]] || fail "applying what the link holds changed it: $out"
echo "static: $(addresses), again unchanged"

zelvi --dhcp >/dev/null || fail "--dhcp failed"
waitfor '[[ $(addresses) == "10.99.0.1"[0-9][0-9]"/24 " ]]' 100 || fail "no lease after --dhcp: $(addresses)"
echo "dhcp: $(addresses)"

# netplan renders its own file for the link; the program's still sorts first.
printf '[Match]\nName=%s\n\n[Network]\nAddress=10.99.0.70/24\n' "$iface" \
  >/run/systemd/network/10-netplan-$iface.network
zelvi --apply Ikinci >/dev/null || fail "Ikinci could not be applied"
waitfor '[ "$(addresses)" = "10.99.0.60/24 " ]' 50 || fail "Ikinci is not on the link: $(addresses)"
out=$(zelvi --show Ikinci --json)
held=$(zelvi --apply Ikinci --dry-run --json) || fail "--dry-run: $held"
[[ $held == *'"changed":false'* && $held == *'"dns":["10.99.0.1","10.99.0.2"]'* ]] ||
  fail "networkd's description does not hold Ikinci: $held"
[ "$(md5sum </etc/systemd/network/50-zc0.network)" = "$admin" ] || fail "the administrator's file changed"
echo "static again over netplan's file: $(addresses); the administrator's file untouched"

# An administrator's file that sorts before the program's hides any change: --status names it,
# --dhcp and an apply fail and name it, and leave no file of theirs behind (the lasting one unchanged).
lasting=/etc/systemd/network/05-nuvar-zelvi-$iface.network
before=$(md5sum <"$lasting")
printf '[Match]\nName=%s\n\n[Network]\nAddress=10.99.0.80/24\n' "$iface" >/etc/systemd/network/01-admin.network
networkctl reload
waitfor '[ "$(addresses)" = "10.99.0.80/24 " ]' 100 || fail "the administrator's file did not take the link: $(addresses)"
for command in --status --dhcp "--apply Yerel" "--apply Yerel --dry-run"; do
  status=0
  out=$(zelvi $command --json 2>/dev/null) || status=$?
  [[ $out == *01-admin.network* ]] && if [ "$command" = --status ]; then [ $status -eq 0 ]; else
    [ $status -ne 0 ] && [[ $out == *'"code":"hidden-by-file"'* ]]; fi ||
    fail "$command behind the administrator's file: $status, $out"
  [ "$(md5sum <"$lasting")" = "$before" ] && [ ! -e "/run/systemd/network/04-nuvar-zelvi-$iface.network" ] ||
    fail "$command behind the administrator's file left a file of its own"
done
rm /etc/systemd/network/01-admin.network
networkctl reload
waitfor '[ "$(addresses)" = "10.99.0.60/24 " ]' 100 || fail "Ikinci did not come back: $(addresses)"
echo "behind an administrator's file: named by --status, --dhcp and --apply refused"

# On trial: a file in /run that sorts first, kept by --confirm as the lasting file in /etc,
# put back by the keeper when nobody confirms it (the program that made it has ended), and gone
# after a reboot, which starts the earlier settings.
# Asked from a copy of the program that an upgrade replaces while the change waits its second:
# the keeper that puts the change back is still this version, not the file now at its path.
trialfile=/run/systemd/network/04-nuvar-zelvi-$iface.network
cp "$program" "$work/copy"
leases() { grep -c 'DHCPDISCOVER\|DHCPREQUEST' "$ZELVI_ND_WORK/dnsmasq.log" || true; }
asked=$(leases)
"$work/copy" --settings "$settings" --apply Yerel --confirm-within 10 >/dev/null ||
  fail "--confirm-within 10 failed"
printf '#!/bin/sh\ntouch "%s/replaced-ran"\n' "$work" >"$work/upgrade" && chmod +x "$work/upgrade"
mv -f "$work/upgrade" "$work/copy"
waitfor '[ "$(addresses)" = "10.99.0.50/24 " ]' 100 || fail "Yerel did not arrive on trial: $(addresses)"
[ -f "$trialfile" ] || fail "no runtime file for the trial"
sleep 0.3
# From one static profile to another in one reconfiguration: no lease asked for on the way.
[ "$(leases)" = "$asked" ] || fail "the link asked for a lease between two static profiles"
[[ $(zelvi --status --json) == *'"trialSecondsLeft":'[0-9]* ]] || fail "--status shows no trial"
out=$(zelvi --apply Ikinci --json) && fail "a second change during the trial was not refused: $out"
[[ $out == *'"code":"busy"'* || $out == *'"code":"remote-waits"'* ]] || fail "not busy: $out"
start=$(ms)
waitfor '[ "$(addresses)" = "10.99.0.60/24 " ]' 150 || fail "the unconfirmed trial stayed: $(addresses)"
echo "unconfirmed: back at 10.99.0.60 $(($(ms) - start)) ms later; a second change was refused"
[ ! -e "$work/replaced-ran" ] || fail "the replaced program file was started for the trial"
[ ! -f "$trialfile" ] || fail "the runtime file stayed after the trial"

zelvi --apply Yerel --confirm-within 20 >/dev/null || fail "--confirm-within 20 failed"
waitfor '[ "$(addresses)" = "10.99.0.50/24 " ]' 100 || fail "Yerel did not arrive: $(addresses)"
out=$(zelvi --confirm --json) || fail "--confirm: $out"
[ ! -f "$trialfile" ] && grep -q 'Address=10.99.0.50/24' /etc/systemd/network/05-nuvar-zelvi-$iface.network ||
  fail "the kept change is not the lasting file"
"$ZELVI_ND_REBOOT"
waitfor '[ "$(addresses)" = "10.99.0.50/24 " ]' 100 || fail "the kept change was lost in a reboot: $(addresses)"
echo "confirmed: kept over a reboot"

# networkd switched on without a reboot (its generator makes /run/systemd/network at boot
# only): the program makes the folder, and the change still has its trial.
rmdir /run/systemd/network

zelvi --apply Ikinci --confirm-within 60 >/dev/null || fail "--confirm-within 60 failed"
waitfor '[ "$(addresses)" = "10.99.0.60/24 " ]' 100 || fail "Ikinci did not arrive: $(addresses)"
[ -f "$trialfile" ] && [ "$(stat -c %a /run/systemd/network)" = 755 ] ||
  fail "no trial where /run/systemd/network was missing"
# The restart comes once the change is on trial.
waitfor '[[ $(zelvi --status --json 2>/dev/null) == *'"'"'"state":"applied"'"'"'* ]]' 100 ||
  fail "Ikinci was not applied on trial: $(zelvi --status 2>&1)"
"$ZELVI_ND_REBOOT"
waitfor '[ "$(addresses)" = "10.99.0.50/24 " ]' 100 || fail "the reboot did not start the earlier settings: $(addresses)"
[[ $(zelvi --status --json) == *'"trialSecondsLeft":null'* ]] || fail "a trial is still shown after the reboot"
[ "$(md5sum </etc/systemd/network/50-zc0.network)" = "$admin" ] || fail "the administrator's file changed"
echo "a reboot during the trial: the earlier settings"

# From afar, over a real SSH session (sshd in the computer's namespaces with a /run of its own
# that still holds networkd's folder; the client in the router's): the command answers before
# the address moves, --confirm at the new address keeps the change.
source "$(dirname "$0")/../../scripts/lib/nm-pieces.sh"
ssh-keygen -q -t ed25519 -N '' -f "$work/host" && ssh-keygen -q -t ed25519 -N '' -f "$work/client"
write_sshd_conf "$work/sshd_config" 2222 "$work/host" "$work/client.pub"
unshare --mount --propagation private sh -c '
  mount -t tmpfs tmpfs /run && mkdir -m 755 /run/sshd /run/systemd &&
    mount --bind "$2/run-systemd" /run/systemd && exec /usr/sbin/sshd -D -e -f "$1"
' sh "$work/sshd_config" "$ZELVI_ND_WORK" >"$work/sshd.log" 2>&1 &
sshd=$!
trap 'kill $sshd 2>/dev/null; rm -rf "$work"' EXIT
remote() {
  local host=$1
  shift
  ip netns exec "$ZELVI_ND_ROUTER_NS" ssh -p 2222 -i "$work/client" -o BatchMode=yes \
    -o StrictHostKeyChecking=no -o UserKnownHostsFile=/dev/null -o LogLevel=ERROR \
    -o ConnectTimeout=5 -o ServerAliveInterval=2 -o ServerAliveCountMax=3 "root@$host" \
    "DBUS_SYSTEM_BUS_ADDRESS=$DBUS_SYSTEM_BUS_ADDRESS $program --settings $settings $*"
}
waitfor 'remote 10.99.0.50 --status >/dev/null 2>&1' 100 || fail "sshd does not answer at 10.99.0.50: $(cat "$work/sshd.log")"
start=$(ms)
out=$(remote 10.99.0.50 --apply Ikinci --confirm-within 30 2>&1) ||
  fail "the apply over SSH: $out; $(cat "$settings.trial"); $(pgrep -af -- "--settings $settings")"
[ "$(addresses)" = "10.99.0.50/24 " ] || fail "the address moved before the answer came: $(addresses)"
waitfor 'remote 10.99.0.60 --status >/dev/null 2>&1' 150 || fail "the new address does not answer"
reached=$(($(ms) - start))
out=$(remote 10.99.0.60 --confirm) || fail "--confirm over SSH at the new address: $out"
grep -q 'Address=10.99.0.60/24' /etc/systemd/network/05-nuvar-zelvi-$iface.network ||
  fail "the change confirmed over SSH is not the lasting file"
echo "over SSH: the new address answered after $reached ms, confirmed there and kept"

# --undo puts a change from afar back at once.
zelvi --apply Yerel --confirm-within 60 >/dev/null || fail "--confirm-within for --undo failed"
waitfor '[ "$(addresses)" = "10.99.0.50/24 " ]' 100 || fail "Yerel did not arrive: $(addresses)"
start=$(ms)
out=$(zelvi --undo --json) || fail "--undo: $out"
waitfor '[ "$(addresses)" = "10.99.0.60/24 " ]' 50 || fail "--undo did not put the change back: $(addresses)"
[ ! -f "$trialfile" ] || fail "the runtime file stayed after --undo"
echo "--undo: back at 10.99.0.60 in $(($(ms) - start)) ms"

# --confirm killed after it decided to keep the change and wrote the lasting file (networkd is
# held still, so that it stops in its reload): the keeper finishes the keep, and the next runs
# settle the change as confirmed, never as put back.
zelvi --apply Yerel --confirm-within 60 >/dev/null || fail "--confirm-within for the killed --confirm failed"
waitfor '[[ $(zelvi --status --json 2>/dev/null) == *'"'"'"state":"applied"'"'"'* ]]' 100 ||
  fail "Yerel was not applied on trial: $(zelvi --status 2>&1)"
networkd=$(cat "$ZELVI_ND_WORK/networkd.pid")
kill -STOP "$networkd"
"$program" --settings "$settings" --confirm >/dev/null 2>&1 &
confirmer=$!
waitfor 'grep -q "Address=10.99.0.50/24" /etc/systemd/network/05-nuvar-zelvi-$iface.network' 100 ||
  { kill -CONT "$networkd"; fail "--confirm did not make the change lasting"; }
kill -9 $confirmer
wait $confirmer 2>/dev/null || true
kill -CONT "$networkd"
waitfor '[ ! -e /run/systemd/network/nuvar-zelvi-trial.json ]' 200 || fail "the keeper did not finish the keep"
out=$(zelvi --status --json) || fail "--status after the killed --confirm: $out"
[[ $out == *'"current":"Yerel"'* && $out == *'"state":"confirmed"'* ]] ||
  fail "the killed --confirm was not settled as kept: $out"
status=0
out=$(zelvi --confirm --json) || status=$?
[ $status -ne 3 ] || fail "a second --confirm said put back: $out"
[ "$(addresses)" = "10.99.0.50/24 " ] && [ ! -f "$trialfile" ] || fail "the kept change did not stay: $(addresses)"
zelvi --apply Ikinci >/dev/null || fail "Ikinci after the killed --confirm"
waitfor '[ "$(addresses)" = "10.99.0.60/24 " ]' 100 || fail "not back at Ikinci: $(addresses)"
echo "--confirm killed half-way: the keep finished, settled as confirmed"

# The program killed (kill -9) while its own change waits for its check: the keeper puts the
# earlier settings back when the trial's time (3 + 10 + 10 s) is over.
"$program" --settings "$settings" --apply Yerel --check --check-after 3 >/dev/null 2>&1 &
checker=$! # the program itself, not a shell around it
waitfor '[ "$(addresses)" = "10.99.0.50/24 " ]' 100 || fail "Yerel did not arrive for the check: $(addresses)"
kill -9 $checker
start=$(ms)
waitfor '[ "$(addresses)" = "10.99.0.60/24 " ]' 400 || fail "the killed run's change stayed: $(addresses)"
[ ! -f "$trialfile" ] || fail "the runtime file stayed after the killed run's trial"
echo "killed during its check: back at 10.99.0.60 $(($(ms) - start)) ms after the kill"

# The keeper itself killed: the next run of the program puts the change back once its time is
# over, and says so.
zelvi --apply Yerel --confirm-within 10 >/dev/null || fail "--confirm-within for the keeper failed"
waitfor '[ "$(addresses)" = "10.99.0.50/24 " ]' 100 || fail "Yerel did not arrive: $(addresses)"
here=$(readlink /proc/self/ns/net)
for pid in $(pgrep -f -- --networkd-keeper); do
  [ "$(readlink /proc/$pid/ns/net)" = "$here" ] && kill -9 "$pid"
done
sleep 12
[ "$(addresses)" = "10.99.0.50/24 " ] || fail "something put the change back without its keeper"
# --status changes nothing: it says what waits.
out=$(zelvi --status --json 2>&1)
[[ $out == *'"settled":'*"bir sonraki komut"* ]] || fail "--status did not say the abandoned trial: $out"
sleep 1
[ "$(addresses)" = "10.99.0.50/24 " ] || fail "--status changed the adapters: $(addresses)"
out=$(zelvi --dhcp --json 2>&1) || fail "--dhcp after the abandoned trial: $out"
[[ $out == *'"settled":'*"geri yüklendi"* ]] || fail "--dhcp did not put the abandoned trial back first: $out"
zelvi --apply Ikinci >/dev/null || fail "Ikinci after the abandoned trial"
waitfor '[ "$(addresses)" = "10.99.0.60/24 " ]' 50 || fail "not at Ikinci: $(addresses)"
echo "keeper killed: --status said it, the next change put it back"

# A record in /run the program could not have written is said, never taken as "no trial" nor
# waited on: garbage during a trial does not make --confirm say "put back" (the keeper puts the
# change back at the time the record last said); a FIFO there does not hang --status.
record=/run/systemd/network/nuvar-zelvi-trial.json
zelvi --apply Yerel --confirm-within 10 >/dev/null || fail "--confirm-within for the garbage failed"
waitfor '[[ $(zelvi --status --json 2>/dev/null) == *'"'"'"state":"applied"'"'"'* ]]' 100 ||
  fail "Yerel was not applied on trial: $(zelvi --status 2>&1)"
echo garbage >"$record"
status=0
out=$(zelvi --confirm 2>&1) || status=$?
[ $status -ne 0 ] && [ $status -ne 3 ] && [[ $out == *güvenilemiyor* ]] ||
  fail "--confirm over a garbled record: status $status, $out"
waitfor '[ "$(addresses)" = "10.99.0.60/24 " ]' 200 ||
  fail "the keeper left the change: $(addresses); $(ls /run/systemd/network); $(pgrep -af -- --networkd-keeper)"
[ ! -e "$record" ] && [ ! -f "$trialfile" ] || fail "the garbled trial left its files"
mkfifo "$record"
status=0
out=$(timeout 60 "$program" --settings "$settings" --status 2>&1) || status=$?
rm -f "$record"
[ $status -ne 124 ] && [[ $out == *güvenilemiyor* ]] || fail "--status over a FIFO: status $status, $out"
echo "a garbled record: said by --confirm, put back by the keeper; a FIFO said by --status"

# networkd down at the trial's end: the keeper tries again, and the record stays until
# networkd has the earlier settings back.
zelvi --apply Yerel --confirm-within 10 >/dev/null || fail "--confirm-within with networkd to stop failed"
waitfor '[[ $(zelvi --status --json 2>/dev/null) == *'"'"'"state":"applied"'"'"'* ]]' 100 ||
  fail "Yerel was not applied on trial: $(zelvi --status 2>&1)"
networkd=$(cat "$ZELVI_ND_WORK/networkd.pid")
kill "$networkd"
waitfor "! kill -0 $networkd 2>/dev/null" 100 || fail "networkd did not stop"
sleep 12 # past the trial's end
[ -e "$record" ] || fail "the trial's record went while networkd could not put the change back"
bash "$ZELVI_ND_WORK/networkd-start"
waitfor '[ ! -e "$record" ]' 200 || fail "the keeper did not end the trial once networkd was back"
waitfor '[ "$(addresses)" = "10.99.0.60/24 " ]' 400 || fail "not back at 10.99.0.60: $(addresses)"
echo "networkd down at the trial's end: put back once it was there again"

# /etc read-only (an overlay root, a full disk): the change stays until a restart and the
# apply says so, not that it will be put back; the keeper lets it be; it is not taken as held,
# so the next apply once /etc is writable stores it.
mount --bind /etc/systemd/network /etc/systemd/network
mount -o remount,bind,ro /etc/systemd/network
out=$(LANGUAGE=tr zelvi --apply Yerel 2>&1) || fail "the apply with a read-only /etc failed: $out"
umount /etc/systemd/network
[[ $out == *"yeniden başlayınca kaybolur: $iface ("* && $out != *"döndürecek"* ]] ||
  fail "the apply did not say that a restart loses the change: $out"
keepers() {
  for pid in $(pgrep -f -- --networkd-keeper); do
    [ "$(readlink /proc/$pid/ns/net)" = "$here" ] && echo "$pid"
  done
}
waitfor '[ -z "$(keepers)" ]' 50 || fail "the keeper of a change that stays did not end"
[ "$(addresses)" = "10.99.0.50/24 " ] || fail "the unsaved change did not stay: $(addresses)"
out=$(zelvi --apply Yerel --json) || fail "Yerel once /etc is writable: $out"
[[ $out == *'"changed":true'* ]] &&
  grep -q 'Address=10.99.0.50/24' /etc/systemd/network/05-nuvar-zelvi-$iface.network ||
  fail "the change kept only in /run was taken as held: $out"
echo "read-only /etc: the change stays until a restart and says so; stored by the next apply"

# /etc full: the lasting file stays whole (it held Yerel), the change stays until a restart and
# the apply says so.
lasting=/etc/systemd/network/05-nuvar-zelvi-$iface.network
mkdir "$work/etc-copy" && cp -a /etc/systemd/network/. "$work/etc-copy/"
mount -t tmpfs -o size=64k tmpfs /etc/systemd/network
cp -a "$work/etc-copy/." /etc/systemd/network/
dd if=/dev/zero of=/etc/systemd/network/filler bs=4k 2>/dev/null || true
out=$(LANGUAGE=tr zelvi --apply Ikinci 2>&1) || true
kept=$(cat "$lasting")
umount /etc/systemd/network
[[ $out == *"yeniden başlayınca kaybolur: $iface ("* ]] || fail "a full /etc was not said: $out"
[[ $kept == *"Address=10.99.0.50/24"* ]] || fail "a full /etc emptied the lasting file: '$kept'"
echo "full /etc: the lasting file kept whole, the change said to last until a restart"

judge_args=()
source "$(dirname "$0")/gateway_judge.sh"
