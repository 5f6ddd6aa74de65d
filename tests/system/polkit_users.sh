#!/usr/bin/env bash
# An ordinary user changes the network through NetworkManager and polkit, as the installed
# program does: a technician in group netdev puts a static address on the adapter and switches
# it back to DHCP; another user is refused with the program's "not allowed" result (91) and
# nothing changes. The program itself asks polkit before it makes or promises anything: a change
# from afar by a user polkit refuses is refused at once (not-authorized), never answered "will
# be applied". Runs inside scripts/nm-harness.sh with ZELVI_NM_POLKIT=1.
#   polkit_users.sh NM_CLIENT PROGRAM
set -euo pipefail
client_source=$1
program_source=$2
tech=zelvi-pk-tech
guest=zelvi-pk-guest
cleanup() {
  userdel "$tech" >/dev/null 2>&1 || true
  userdel "$guest" >/dev/null 2>&1 || true
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cleanup
useradd --no-create-home --groups netdev "$tech"
useradd --no-create-home "$guest"
# The build folder may be out of those users' reach: a copy in the harness's folder.
client="$ZELVI_NM_WORK/nm_client"
install -m 755 "$client_source" "$client"
program="$ZELVI_NM_WORK/program"
install -m 755 "$program_source" "$program"

as() {
  local user=$1
  shift
  runuser -u "$user" -- env -i DBUS_SYSTEM_BUS_ADDRESS="$DBUS_SYSTEM_BUS_ADDRESS" \
    QT_QPA_PLATFORM=offscreen "$client" "$@" 2>/dev/null || true
}
addresses() { ip -4 -o addr show dev "$ZELVI_NM_IFACE" | awk '{print $4}' | sort | tr '\n' ' '; }
waitfor_address() {
  for _ in $(seq 100); do
    addresses | grep -q "$1" && return 0
    sleep 0.1
  done
  return 1
}

out=$(as "$guest" "$ZELVI_NM_IFACE" 10.99.0.61 255.255.255.0)
[[ $out == "91 "* ]] || fail "a user outside netdev was not refused: $out"
! addresses | grep -q 10.99.0.61 || fail "the refused change was made"
echo "outside netdev: refused (${out})"

out=$(as "$tech" "$ZELVI_NM_IFACE" 10.99.0.60 255.255.255.0)
[[ $out == "0 "* ]] || fail "the technician's static address was refused: $out"
waitfor_address 10.99.0.60/24 || fail "the static address is not on the adapter: $(addresses)"
echo "in netdev: static address applied ($(addresses))"

out=$(as "$tech" "$ZELVI_NM_IFACE" dhcp)
[[ $out == "0 "* ]] || fail "the technician's switch to DHCP was refused: $out"
waitfor_address '10.99.0.1[0-9][0-9]/24' || fail "no DHCP lease after the switch: $(addresses)"
echo "in netdev: back on DHCP ($(addresses))"

out=$(as "$guest" "$ZELVI_NM_IFACE" dhcp)
[[ $out == "91 "* ]] || fail "a user outside netdev switched to DHCP: $out"
echo "outside netdev: refused again"

# The program, as each user from a folder of that user's own: polkit asked first.
zelvi_as() {
  local user=$1
  shift
  local home="$ZELVI_NM_WORK/home-$user"
  install -d -o "$user" "$home"
  printf '[Profiles]\nKASA=10.99.0.62.255.255.255.0.10.99.0.1.10.99.0.1....\n' >"$home/ayar.config"
  chown "$user" "$home/ayar.config"
  runuser -u "$user" -- env -i HOME="$home" DBUS_SYSTEM_BUS_ADDRESS="$DBUS_SYSTEM_BUS_ADDRESS" \
    "$program" --backend networkmanager --settings "$home/ayar.config" "$@" 2>/dev/null
}
status=0
out=$(zelvi_as "$guest" --apply KASA --confirm-within 30 --json) || status=$?
[ $status -eq 1 ] && [[ $out == *'"code":"not-authorized"'* && $out == *netdev* ]] ||
  fail "a change from afar by a user polkit refuses: status $status, $out"
sleep 2
! addresses | grep -q 10.99.0.62 || fail "the refused change from afar was made"
echo "the program, outside netdev: refused before anything was promised"
out=$(zelvi_as "$tech" --apply KASA --json) || fail "the technician's apply through the program: $out"
waitfor_address 10.99.0.62/24 || fail "the technician's profile is not on the adapter: $(addresses)"
echo "the program, in netdev: applied"
