#!/usr/bin/env bash
# An ordinary user changes the network through NetworkManager and polkit, as the installed
# program does: a technician in group netdev puts a static address on the adapter and switches
# it back to DHCP; another user is refused with the program's "not allowed" result (91) and
# nothing changes. Runs inside scripts/nm-harness.sh with ZELVI_NM_POLKIT=1.
#   polkit_users.sh NM_CLIENT
set -euo pipefail
client_source=$1
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
