#!/usr/bin/env bash
# Runs a command against a real systemd-networkd and a real DHCP server, in two network
# namespaces made for this run and removed afterwards:
#
#   router    10.99.0.1/24 on "zr0", dnsmasq serving leases 10.99.0.100-199
#   computer  "zc0", managed by a systemd-networkd of its own on a private system bus, with the
#             administrator's /etc/systemd/network/50-zc0.network (DHCP) and /run/systemd
#             folders of the run's own
#
#   scripts/networkd-harness.sh COMMAND [ARGS...]
#
# COMMAND runs inside the computer's network and mount namespaces (it sees networkd's
# folders) with DBUS_SYSTEM_BUS_ADDRESS pointing at the private bus, ZELVI_ND_IFACE=zc0,
# (with ZELVI_ND_SERVICE naming the address service program, the router also runs it on
# 10.99.0.1:8080 and ZELVI_NM_SERVICE_URL tells its URL),
# ZELVI_ND_ROUTER_NS and ZELVI_ND_WORK (the run's folder) set; "$ZELVI_ND_REBOOT" ends the
# program's lasting processes, stops networkd, empties /run/systemd and the link, and starts
# networkd again, as a restart of the computer would. Needs root. Nothing outside the namespaces and the run's folder is touched.
set -euo pipefail
source "$(dirname "$0")/lib/processes.sh"
source "$(dirname "$0")/lib/nm-pieces.sh"

[ "$(id -u)" -eq 0 ] || { echo "networkd-harness: needs root" >&2; exit 1; }
[ $# -ge 1 ] || { echo "usage: networkd-harness.sh COMMAND [ARGS...]" >&2; exit 2; }

id=$$-$RANDOM
router=zelvi-dr-$id
computer=zelvi-dc-$id
work=$(mktemp -d /tmp/zelvi-nd.XXXXXX)
chmod 755 "$work"
pids=()

cleanup() {
  status=$?
  [ -f "$work/holder.pid" ] && pids+=("$(cat "$work/holder.pid")")
  [ -f "$work/networkd.pid" ] && pids+=("$(cat "$work/networkd.pid")")
  pids+=($(ip netns pids "$computer" 2>/dev/null || true)) # a keeper of a trial, say
  stop_pids "${pids[@]}"
  ip netns del "$computer" 2>/dev/null || true
  ip netns del "$router" 2>/dev/null || true
  if [ $status -ne 0 ]; then
    for log in "$work"/dnsmasq.log "$work"/networkd.log; do
      [ -f "$log" ] || continue
      echo "---- networkd-harness: last lines of $(basename "$log")" >&2
      tail -n 25 "$log" >&2 || true
    done
  fi
  rm -rf "$work"
  exit $status
}
trap cleanup EXIT INT TERM

# The two hosts and the cable between them.
ip netns add "$router"
ip netns add "$computer"
ip link add zc0 netns "$computer" type veth peer name zr0 netns "$router"
ip -n "$router" link set lo up
ip -n "$router" addr add 10.99.0.1/24 dev zr0
ip -n "$router" link set zr0 up
ip -n "$computer" link set lo up

# The DHCP server, the address service when asked for, and a private system bus.
start_router_services networkd-harness "$router" zr0 "$work" "${ZELVI_ND_SERVICE:-}" || exit 1

# The computer's folders: networkd's runtime folder and the administrator's configuration.
mkdir -p "$work/run-systemd/netif" "$work/run-systemd/network" "$work/etc-network"
chown -R systemd-network:systemd-network "$work/run-systemd/netif"
cat >"$work/etc-network/50-zc0.network" <<'CONF'
[Match]
Name=zc0

[Network]
DHCP=ipv4
CONF

# One process holds the computer's mount namespace (the folders bound over /run/systemd and
# /etc/systemd/network, /sys read-only so that links count as initialised without udev) for
# the whole run; networkd and the command join it.
ip netns exec "$computer" unshare --mount --propagation private sh -c '
  mount -o remount,ro /sys
  mount --bind "$1/run-systemd" /run/systemd
  mount --bind "$1/etc-network" /etc/systemd/network
  exec sleep infinity
' sh "$work" &
echo $! >"$work/holder.pid"
holder=$(cat "$work/holder.pid")
waitfor "[ \"\$(readlink /proc/$holder/ns/mnt)\" != \"\$(readlink /proc/self/ns/mnt)\" ] &&
  nsenter -t $holder -m test -d /etc/systemd/network && nsenter -t $holder -m test -f /etc/systemd/network/50-zc0.network" 100 ||
  { echo "networkd-harness: the computer's mounts were not made" >&2; exit 1; }
inside() { nsenter -t "$holder" -m -n --wd="$PWD" "$@"; }

cat >"$work/networkd-start" <<SCRIPT
#!/usr/bin/env bash
# networkd in the computer's namespaces, its pid in $work/networkd.pid.
DBUS_SYSTEM_BUS_ADDRESS=$DBUS_SYSTEM_BUS_ADDRESS nsenter -t $holder -m -n \\
  env SYSTEMD_LOG_LEVEL=info /lib/systemd/systemd-networkd >>"$work/networkd.log" 2>&1 &
echo \$! >"$work/networkd.pid"
SCRIPT
cat >"$work/networkd-reboot" <<SCRIPT
#!/usr/bin/env bash
# As a restart of the computer: the program's processes that outlive a command (a change from
# afar being made, a keeper) end, networkd stopped, /run/systemd and the link emptied, started.
set -euo pipefail
source "$(realpath "$(dirname "$0")")/lib/processes.sh"
for p in \$(ip netns pids "$computer"); do
  if tr '\\0' ' ' <"/proc/\$p/cmdline" 2>/dev/null | grep -qE -- '--(networkd-keeper|detached-run) '; then
    kill -9 "\$p" 2>/dev/null || true
  fi
done
pid=\$(cat "$work/networkd.pid")
kill "\$pid"
waitfor "! kill -0 \$pid 2>/dev/null" 100 || kill -9 "\$pid"
ip -n "$computer" addr flush dev zc0
ip -n "$computer" route flush dev zc0
find "$work/run-systemd/network" "$work/run-systemd/netif" -mindepth 1 -delete
bash "$work/networkd-start"
SCRIPT
chmod +x "$work/networkd-start" "$work/networkd-reboot"
bash "$work/networkd-start"
export ZELVI_ND_REBOOT="$work/networkd-reboot"

waitfor 'bus_has org.freedesktop.network1' 100 ||
  { echo "networkd-harness: networkd did not start" >&2; exit 1; }
waitfor 'ip -n "$computer" -4 addr show dev zc0 | grep -q "inet 10.99.0.1[0-9][0-9]/"' 150 ||
  { echo "networkd-harness: zc0 got no lease" >&2; exit 1; }

mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"
export ZELVI_ND_IFACE=zc0 ZELVI_ND_ROUTER_NS="$router" ZELVI_ND_WORK="$work"
inside "$@"
