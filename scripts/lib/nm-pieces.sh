# The configuration files of a test's computer: a private system bus, a NetworkManager of its
# own and an sshd; shared by scripts/nm-harness.sh, scripts/fleet-harness.sh and the system
# tests. Source it; it defines:
#   write_bus_conf FILE SOCKET        a system bus that anybody on it may use, on SOCKET
#   write_nm_conf FILE FOLDER AUTH    NetworkManager with its profiles in FOLDER/connections,
#                                     its drop-in folders FOLDER/empty-conf and
#                                     FOLDER/empty-system-conf (made here), and AUTH as
#                                     auth-polkit (root-only or true)
#   write_sshd_conf FILE PORT HOSTKEY AUTHORIZED_KEYS
#   bus_has NAME                      whether NAME is owned on the system bus
#   start_router_services NAME ROUTER LAN WORK SERVICE
#                                     on the router namespace's LAN (10.99.0.1/24): dnsmasq
#                                     serving leases 10.99.0.100-199 and, when SERVICE names
#                                     the address service program, that service on
#                                     10.99.0.1:8080 (ZELVI_NM_SERVICE_URL is exported); then a
#                                     private system bus in WORK (DBUS_SYSTEM_BUS_ADDRESS is
#                                     exported). Each pid is added to the caller's `pids`; NAME
#                                     heads the messages of what did not start.

write_bus_conf() {
  cat >"$1" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=$2</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_type="method_call"/>
    <allow send_type="signal"/>
    <allow send_type="method_return"/>
    <allow send_type="error"/>
    <allow receive_type="method_call"/>
    <allow receive_type="signal"/>
    <allow receive_type="method_return"/>
    <allow receive_type="error"/>
  </policy>
</busconfig>
CONF
}

write_nm_conf() {
  mkdir -p "$2/connections" "$2/empty-conf" "$2/empty-system-conf"
  cat >"$1" <<CONF
[main]
plugins=keyfile
dhcp=internal
dns=none
rc-manager=unmanaged
hostname-mode=none
no-auto-default=*
auth-polkit=$3

[keyfile]
path=$2/connections
unmanaged-devices=none

[connectivity]
enabled=false

[device]
match-device=*
managed=1
CONF
}

# An sshd that lets root in with a key only,
# for a computer of a test (its privilege separation folder /run/sshd made by the caller).
write_sshd_conf() {
  cat >"$1" <<CONF
Port $2
HostKey $3
AuthorizedKeysFile $4
PermitRootLogin prohibit-password
PasswordAuthentication no
KbdInteractiveAuthentication no
UsePAM no
StrictModes no
PidFile none
MaxStartups 100
CONF
}

start_router_services() {
  local name=$1 router=$2 lan=$3 work=$4 service=$5
  ip netns exec "$router" dnsmasq --no-daemon --conf-file=/dev/null --port=0 --no-ping \
    --interface="$lan" --bind-interfaces --dhcp-range=10.99.0.100,10.99.0.199,255.255.255.0,1h \
    --dhcp-option=3,10.99.0.1 --dhcp-leasefile="$work/leases" --pid-file= \
    >"$work/dnsmasq.log" 2>&1 &
  pids+=($!)
  waitfor 'grep -q "DHCP, IP range" "$work/dnsmasq.log"' ||
    { echo "$name: dnsmasq did not start" >&2; return 1; }
  if [ -n "$service" ]; then
    ip netns exec "$router" "$service" --listen 10.99.0.1 --port 8080 >"$work/service.log" 2>&1 &
    pids+=($!)
    waitfor 'grep -q listening "$work/service.log"' ||
      { echo "$name: the address service did not start" >&2; return 1; }
    export ZELVI_NM_SERVICE_URL=http://10.99.0.1:8080/ip.php
  fi
  write_bus_conf "$work/bus.conf" "$work/system_bus_socket"
  dbus-daemon --config-file="$work/bus.conf" --nofork --nopidfile >"$work/dbus.log" 2>&1 &
  pids+=($!)
  export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/system_bus_socket"
  waitfor '[ -S "$work/system_bus_socket" ]' || { echo "$name: the bus did not start" >&2; return 1; }
}

bus_has() {
  dbus-send --system --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null | grep -q 'boolean true'
}
