#!/usr/bin/env bash
# A till as it boots: a Debian 12 root (scripts/till-root.sh) booted with systemd as PID 1
# (systemd-nspawn -b) in a network namespace of its own, cabled to a router namespace that
# serves DHCP leases and the address service. systemd-networkd configures its card; the
# package is installed with apt-get as anyone types it. Then: one manager on the card (the
# package brings no second one); one list per till (the shop's first play on a till where the
# program never ran, seen by a technician of netdev, whose earlier profiles join it; another
# user reads it and is told why he may not save); the program run as root lists the card; networkd switched
# on without a reboot (no /run/systemd/network) still gets a change on trial, confirmed with
# --confirm and kept over a reboot; a change kept by the internet check; without an address
# service, one kept and one put back by its gateway's answer; an unconfirmed one put
# back by its keeper, a service of systemd's that survives a kill; a reboot during a trial
# starts the earlier settings; NetworkManager installed afterwards beside networkd on the
# same card is said, and nothing changed. Then the administrator makes it a desktop-style till,
# NetworkManager alone on the card: a checked profile kept over a reboot; a technician in the
# netdev group changes the network at the till's own seat without a password, and is told
# before anything is made or promised over SSH, where polkit refuses.
# The router runs the address service of the package itself.
#   booted_till.sh ROOT PACKAGE.deb   (as root; ROOT is copied, never changed)
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib/processes.sh"
source "$(dirname "$0")/../../scripts/lib/nm-pieces.sh"
base=$(realpath "$1")
deb=$(realpath "$2")
id=$$-$RANDOM
router=zelvi-tr-$id
tillns=zelvi-tt-$id
work=$(mktemp -d /tmp/zelvi-till.XXXXXX)
root=$work/root
pids=()
nspawn=
leader=
cleanup() {
  status=$?
  if [ -n "$nspawn" ] && kill -0 "$nspawn" 2>/dev/null; then
    in_till systemctl poweroff >/dev/null 2>&1 || true
    waitfor "! kill -0 $nspawn 2>/dev/null" 100 || kill -9 "$nspawn" 2>/dev/null || true
  fi
  stop_pids "${pids[@]}"
  ip netns del "$tillns" 2>/dev/null || true
  ip netns del "$router" 2>/dev/null || true
  if [ $status -ne 0 ]; then
    echo "---- booted-till: last lines of the till's console and the program" >&2
    tail -n 20 "$work/console.log" "$work/program.log" >&2 2>/dev/null || true
  fi
  rm -rf "$work"
  exit $status
}
trap cleanup EXIT INT TERM
fail() { echo "FAIL: $*" >&2; exit 1; }
ms() { echo $(($(date +%s%N) / 1000000)); }

cp -a --reflink=auto "$base" "$root"
cp "$deb" "$root/root/zelvi.deb"
dpkg-deb -x "$deb" "$work/package"
service=$work/package/usr/sbin/zelvi-ip-service

ip netns add "$router"
ip netns add "$tillns"
ip link add zc0 netns "$tillns" type veth peer name zr0 netns "$router"
ip -n "$router" link set lo up
ip -n "$router" addr add 10.99.0.1/24 dev zr0
ip -n "$router" link set zr0 up
start_router_services booted-till "$router" zr0 "$work" "$service" || exit 1

# A command in the till, with a root login's environment, nothing of this harness's.
in_till() {
  nsenter -t "$leader" -a env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"
}
# Boots the till and waits until systemd says it is running.
boot() {
  local start
  start=$(ms)
  systemd-nspawn -q -D "$root" -b --register=no --keep-unit --machine=till \
    --network-namespace-path="/run/netns/$tillns" --capability=CAP_NET_ADMIN \
    --resolv-conf=off --console=pipe </dev/null >>"$work/console.log" 2>&1 &
  nspawn=$!
  leader=
  waitfor 'for c in $(pgrep -P $nspawn); do [ "$(cat /proc/$c/comm 2>/dev/null)" = systemd ] && leader=$c; done; [ -n "$leader" ]' 300 ||
    fail "the till did not start systemd"
  waitfor '[ "$(in_till systemctl is-system-running 2>/dev/null)" = running ]' 600 ||
    fail "the till did not boot: $(in_till systemctl is-system-running 2>&1); $(in_till systemctl --failed --no-legend 2>&1)"
  echo "booted in $(($(ms) - start)) ms"
}
# A restart: the till goes down, its card is reset (it holds no address then), it boots.
reboot() {
  in_till systemctl reboot >/dev/null 2>&1 || true
  waitfor "! kill -0 $nspawn 2>/dev/null" 300 || fail "the till did not go down for its reboot"
  wait "$nspawn" || true
  ip -n "$tillns" addr flush dev zc0
  ip -n "$tillns" route flush dev zc0
  boot
}
zelvi() { in_till nuvar-pos-zelvi-ip --settings /root/ayar.config "$@" 2>>"$work/program.log"; }
addresses() { ip -n "$tillns" -4 -o addr show dev zc0 | awk '{print $4}' | tr '\n' ' '; }
leased() { [[ $(addresses) == "10.99.0.1"[0-9][0-9]"/24 " ]]; }

boot
waitfor leased 300 || fail "networkd gave the card no lease: $(addresses)"

# Installed as anyone types it, recommendations included: no second network manager.
in_till env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq /root/zelvi.deb >>"$work/program.log" 2>&1 ||
  fail "apt-get could not install the package"
in_till dpkg-query -W -f='${Status}' qt6-translations-l10n 2>/dev/null | grep -q 'ok installed' ||
  fail "apt-get did not install the recommendations"
! in_till dpkg-query -W -f='${Status}' network-manager 2>/dev/null | grep -q 'ok installed' ||
  fail "installing the package brought NetworkManager onto a till that systemd-networkd runs"
waitfor leased 50 || fail "the card lost its lease with the install: $(addresses)"
echo "installed with its recommendations: one manager on the card"

# One list per till: the shop's first play writes it on a till where the program never ran
# (no folder made by hand), a technician of netdev sees it with his earlier profiles taken in
# once, another user reads it and is told why he may not save.
till_file=/var/lib/nuvar-pos-zelvi-ip/till/Nuvar_Pos_Zelvi_ip.exe.config
ssh-keygen -q -t ed25519 -N '' -f "$work/key"
in_till env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq openssh-server >>"$work/program.log" 2>&1 ||
  fail "apt-get could not install the SSH server"
in_till install -d -m 700 /root/.ssh
cp "$work/key.pub" "$root/root/.ssh/authorized_keys"
waitfor 'in_till systemctl is-active -q ssh.service' 100 || fail "the till's SSH server did not start"
mkdir -p "$work/home/tmp"
cat >"$work/inventory.yml" <<YAML
tills:
  vars:
    ansible_user: root
    ansible_ssh_private_key_file: $work/key
    ansible_ssh_common_args: -o UserKnownHostsFile=/dev/null -o StrictHostKeyChecking=no
    zelvi_install: false
    zelvi_control_program: $work/package/usr/bin/nuvar-pos-zelvi-ip
    zelvi_profiles:
      ORTAK: {address: 10.99.0.41, mask: 255.255.255.0, gateway: 10.99.0.1, dns1: 10.99.0.1}
  hosts:
    till: {ansible_host: $(addresses | cut -d/ -f1), zelvi_profile: ORTAK}
YAML
repo=$(realpath "$(dirname "$0")/../..")
ip netns exec "$router" env HOME="$work/home" ANSIBLE_CONFIG="$repo/contrib/ansible/ansible.cfg" \
  ANSIBLE_LOCAL_TEMP="$work/home/tmp" ANSIBLE_NOCOLOR=1 ansible-playbook -i "$work/inventory.yml" \
  "$repo/contrib/ansible/site.yml" --tags profiles >"$work/play.out" 2>&1 ||
  fail "the first play on a fresh till: $(tail -n 15 "$work/play.out")"
in_till grep -q '^ORTAK=' "$till_file" || fail "the first play wrote no profile in the till's file"
in_till adduser --disabled-password --gecos '' tech >/dev/null 2>&1
in_till adduser tech netdev >/dev/null 2>&1
in_till adduser --disabled-password --gecos '' misafir >/dev/null 2>&1
as_tech() { in_till env XDG_SEAT=seat0 XDG_SESSION_CLASS=user XDG_SESSION_TYPE=tty runuser -l tech -c "$*"; }
earlier=/home/tech/.config/nuvar-pos-zelvi-ip/Nuvar_Pos_Zelvi_ip.exe.config
in_till install -d -o tech -g tech /home/tech/.config /home/tech/.config/nuvar-pos-zelvi-ip
printf '[Profiles]\nESKI=10.99.0.42.255.255.255.0.10.99.0.1.10.99.0.1....\n' >"$root$earlier"
in_till chown tech:tech "$earlier"
kept=$(md5sum <"$root$earlier")
out=$(as_tech "nuvar-pos-zelvi-ip --list 2>&1") || fail "the technician's --list: $out"
[[ $out == *ORTAK* && $out == *ESKI* && $out == *"1 yeni"* ]] ||
  fail "the technician does not see the till's list with his earlier profile: $out"
[ "$(md5sum <"$root$earlier")" = "$kept" ] || fail "the earlier file was changed"
before=$(md5sum <"$root$till_file")
status=0
out=$(in_till runuser -u misafir -- nuvar-pos-zelvi-ip --set-profile YENI 10.99.0.43 255.255.255.0 10.99.0.1 10.99.0.1 --json 2>/dev/null) || status=$?
[ $status -eq 1 ] && [[ $out == *'"code":"settings-unwritable"'* && $out == *"sudo adduser misafir netdev"* ]] ||
  fail "a user outside netdev: status $status, $out"
[ "$(md5sum <"$root$till_file")" = "$before" ] || fail "a refused save changed the till's file"
out=$(in_till runuser -u misafir -- nuvar-pos-zelvi-ip --list) && [[ $out == *ORTAK* ]] ||
  fail "a user outside netdev cannot read the till's list: $out"
echo "one list per till: a fresh till's first play, the technician's earlier profile, a reader refused a save"

cat >"$root/root/ayar.config" <<INI
[Profiles]
KASA=10.99.0.31.255.255.255.0.10.99.0.1.10.99.0.1....
IKINCI=10.99.0.32.255.255.255.0.10.99.0.1.10.99.0.1....
[Links]
ExternalAddressUrl=$ZELVI_NM_SERVICE_URL
INI
out=$(zelvi --adapters) || fail "--adapters: $out"
[[ $out == *"] zc0"* ]] || fail "--adapters does not list the card: $out"

# networkd switched on without a reboot: its generator made no /run/systemd/network.
in_till rmdir /run/systemd/network
trialfile=/run/systemd/network/04-nuvar-zelvi-zc0.network
out=$(zelvi --apply KASA --confirm-within 30 --json) || fail "--confirm-within: $out"
waitfor '[ "$(addresses)" = "10.99.0.31/24 " ]' 150 || fail "KASA did not arrive: $(addresses)"
in_till test -f "$trialfile" || fail "KASA is not on trial: $(zelvi --status 2>&1)"
out=$(zelvi --confirm --json) || fail "--confirm: $out"
in_till grep -q 'Address=10.99.0.31/24' /etc/systemd/network/05-nuvar-zelvi-zc0.network ||
  fail "the confirmed change is not the lasting file"
echo "no /run/systemd/network: made, the change on trial and confirmed"

reboot
waitfor '[ "$(addresses)" = "10.99.0.31/24 " ]' 150 || fail "the kept profile was lost in a reboot: $(addresses)"
out=$(zelvi --status --json) || fail "--status after the reboot: $out"
[[ $out == *'"current":"KASA"'* ]] || fail "--status after the reboot: $out"
echo "kept over a reboot"

out=$(zelvi --apply IKINCI --check --json) || fail "--apply IKINCI --check: $out"
# networkd drops the earlier address a moment after the new one has answered the check.
waitfor '[ "$(addresses)" = "10.99.0.32/24 " ]' 150 || fail "the checked change was not kept: $(addresses)"
in_till grep -q 'Address=10.99.0.32/24' /etc/systemd/network/05-nuvar-zelvi-zc0.network ||
  fail "the checked change is not the lasting file"
echo "kept by the internet check"

# The till's own file names no address service: its gateway judges a checked change.
in_till nuvar-pos-zelvi-ip --set-profile YANLIS 10.99.0.44 255.255.255.0 10.99.0.254 10.99.0.1 >/dev/null ||
  fail "the wrong gateway's profile could not be saved"
out=$(in_till nuvar-pos-zelvi-ip --apply ORTAK --check --check-after 0 --json) || fail "a right gateway: $out"
[[ $out == *'"answered":true'* ]] && waitfor '[ "$(addresses)" = "10.99.0.41/24 " ]' 150 || fail "a right gateway: $out"
status=0
out=$(in_till nuvar-pos-zelvi-ip --apply YANLIS --check --check-after 0 --json 2>>"$work/program.log") || status=$?
[ $status -eq 3 ] && [[ $out == *'"code":"put-back"'* ]] || fail "a silent gateway: status $status, $out"
waitfor '[ "$(addresses)" = "10.99.0.41/24 " ]' 150 || fail "a silent gateway's change stayed: $(addresses)"
out=$(zelvi --apply IKINCI --check --json) || fail "back to IKINCI: $out"
waitfor '[ "$(addresses)" = "10.99.0.32/24 " ]' 150 || fail "IKINCI did not come back: $(addresses)"
echo "no address service: a right gateway kept, a silent one put back"

# The keeper is a service of systemd's, outside the session of the run that made the change;
# killed, systemd starts it again, and the change still goes back at its time.
out=$(zelvi --apply KASA --confirm-within 10 --json) || fail "--confirm-within 10: $out"
waitfor '[ "$(addresses)" = "10.99.0.31/24 " ]' 150 || fail "KASA did not arrive: $(addresses)"
unit=$(in_till systemctl list-units --no-legend --plain --state=active 'nuvar-zelvi-keeper-*' | awk '{print $1}')
[ -n "$unit" ] || fail "no keeper service: $(in_till systemctl list-units --all 'nuvar-zelvi-*' 2>&1)"
keeper=$(in_till systemctl show -p MainPID --value "$unit")
in_till grep -q "/system.slice/$unit" "/proc/$keeper/cgroup" || fail "the keeper runs outside its service"
in_till bash -c "kill -9 $keeper"
waitfor 'again=$(in_till systemctl show -p MainPID --value "$unit"); [ "${again:-0}" != 0 ] && [ "$again" != "$keeper" ]' 100 ||
  fail "systemd did not start the killed keeper again"
waitfor '[ "$(addresses)" = "10.99.0.32/24 " ]' 300 || fail "the unconfirmed change stayed: $(addresses)"
echo "unconfirmed: put back by its keeper, a service of systemd's started again after a kill"

out=$(zelvi --apply KASA --confirm-within 120 --json) || fail "--confirm-within 120: $out"
waitfor '[ "$(addresses)" = "10.99.0.31/24 " ]' 150 || fail "KASA did not arrive: $(addresses)"
reboot
waitfor '[ "$(addresses)" = "10.99.0.32/24 " ]' 150 || fail "a reboot during a trial kept the change: $(addresses)"
out=$(zelvi --status --json) || true
[[ $out == *'"trialSecondsLeft":null'* ]] || fail "a trial is still shown after the reboot: $out"
echo "a reboot during a trial: the earlier settings"

# The administrator then installs NetworkManager as well: it starts and takes the card beside
# networkd. The program says that both manage the card and changes nothing.
lasting=$(in_till md5sum /etc/systemd/network/05-nuvar-zelvi-zc0.network)
in_till env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq network-manager >>"$work/program.log" 2>&1 ||
  fail "apt-get could not install NetworkManager"
waitfor 'in_till nmcli -t -f DEVICE,STATE device 2>/dev/null | grep -q "^zc0:"' 300 ||
  fail "NetworkManager did not take the card: $(in_till nmcli device 2>&1)"
status=0
out=$(zelvi --apply KASA --json) || status=$?
[ $status -ne 0 ] && [[ $out == *"hem NetworkManager hem systemd-networkd"*zc0* ]] ||
  fail "with two managers on the card: status $status, $out"
[ "$(in_till md5sum /etc/systemd/network/05-nuvar-zelvi-zc0.network)" = "$lasting" ] &&
  ! in_till test -e "$trialfile" || fail "with two managers on the card, networkd's files changed"
echo "NetworkManager installed beside networkd: both on the card said, nothing changed"

# A desktop-style till: networkd off, NetworkManager alone on the card after a reboot.
in_till systemctl disable --now systemd-networkd.service systemd-networkd.socket >/dev/null 2>&1
reboot
waitfor 'in_till nmcli -t -f DEVICE,STATE device 2>/dev/null | grep -qx "zc0:connected"' 300 ||
  fail "NetworkManager alone did not bring up the card: $(in_till nmcli device 2>&1)"
out=$(zelvi --apply KASA --check --json) || fail "--apply KASA --check with NetworkManager: $out"
reboot
waitfor '[ "$(addresses)" = "10.99.0.31/24 " ]' 150 || fail "NetworkManager lost the kept profile in a reboot: $(addresses)"
echo "NetworkManager alone: a checked profile kept over a reboot"

# The technician, with a settings file of his own.
cp "$root/root/ayar.config" "$root/home/tech/ayar.config"
in_till chown tech:tech /home/tech/ayar.config
# At the seat his session stays open while the change is made, as it does at a till.
z="nuvar-pos-zelvi-ip --settings /home/tech/ayar.config"
out=$(as_tech "$z --apply IKINCI --confirm-within 60 --json >/dev/null && $z --confirm --json") ||
  fail "the technician at the seat: $out"
[[ $out == *'"code":"confirmed"'* ]] || fail "the technician at the seat: $out"
[ "$(addresses)" = "10.99.0.32/24 " ] || fail "the technician's confirmed change: $(addresses)"
echo "a technician in netdev at the seat: changed and confirmed without a password"

# Over SSH (a session without a seat) polkit refuses: said first, nothing made or promised.
in_till install -d -o tech -g tech -m 700 /home/tech/.ssh
in_till install -o tech -g tech -m 600 /dev/null /home/tech/.ssh/authorized_keys
cat "$work/key.pub" >"$root/home/tech/.ssh/authorized_keys"
over_ssh() {
  ip netns exec "$router" ssh -q -i "$work/key" -o BatchMode=yes -o StrictHostKeyChecking=no \
    -o UserKnownHostsFile=/dev/null tech@10.99.0.32 "$@"
}
for asked in "--apply KASA --confirm-within 60" "--apply KASA" "--dhcp"; do
  status=0
  out=$(over_ssh "$z $asked --json 2>/dev/null") || status=$?
  [ $status -ne 0 ] && [[ $out == *'"code":"not-authorized"'* ]] || fail "over SSH, $asked: status $status, $out"
done
out=$(as_tech "$z --status --json")
[[ $out == *'"profile":"IKINCI","reason":"",'*'"state":"confirmed"'* ]] || fail "a change refused over SSH was promised: $out"
[ "$(addresses)" = "10.99.0.32/24 " ] || fail "a change refused over SSH was made: $(addresses)"
echo "the technician over SSH: refused by polkit before anything, nothing changed"
