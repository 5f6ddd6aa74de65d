#!/usr/bin/env bash
# Runs a command against a real NetworkManager and a real DHCP server, in two network
# namespaces made for this run and removed afterwards:
#
#   router    10.99.0.1/24 on "zr0", dnsmasq serving leases 10.99.0.100-199
#   computer  "zc0", managed by a NetworkManager of its own on a private system bus
#
#   scripts/nm-harness.sh COMMAND [ARGS...]
#
# COMMAND runs inside the computer namespace with DBUS_SYSTEM_BUS_ADDRESS pointing at the
# private bus, ZELVI_NM_IFACE=zc0, ZELVI_NM_ROUTER_NS and ZELVI_NM_WORK (the run's folder)
# set. With ZELVI_NM_SERVICE naming the address service program, the router also runs it
# on 10.99.0.1:8080 and ZELVI_NM_SERVICE_URL tells its URL. With ZELVI_NM_POLKIT=1,
# NetworkManager asks a polkitd of its own on the private bus (instead of allowing root
# alone), whose only rule lets the members of group netdev change the network, as a Debian
# administrator grants it to a technician. With ZELVI_NM_NEIGHBOUR=1 a third namespace, another
# device of the shop, sits on the same link (the router bridges "zr0" and its "zn0" on "zbr",
# which then holds 10.99.0.1); ZELVI_NM_NEIGHBOUR_NS names it. With ZELVI_NM_SECOND=1 as well,
# the computer has a second adapter "zc1" on the same link. Needs root. Nothing outside the
# two namespaces and the run's folder is touched: NetworkManager's runtime and state folders
# are private mounts inside the namespace.
set -euo pipefail
source "$(dirname "$0")/lib/processes.sh"
source "$(dirname "$0")/lib/nm-pieces.sh"

[ "$(id -u)" -eq 0 ] || { echo "nm-harness: needs root" >&2; exit 1; }
[ $# -ge 1 ] || { echo "usage: nm-harness.sh COMMAND [ARGS...]" >&2; exit 2; }

id=$$-$RANDOM
router=zelvi-r-$id
computer=zelvi-c-$id
neighbour=zelvi-n-$id
work=$(mktemp -d /tmp/zelvi-nm.XXXXXX)
chmod 755 "$work"
pids=()

cleanup() {
  status=$?
  [ -f "$work/nm.pid" ] && pids+=("$(cat "$work/nm.pid")") # started again by nm-restart
  stop_pids "${pids[@]}"
  ip netns del "$computer" 2>/dev/null || true
  ip netns del "$router" 2>/dev/null || true
  ip netns del "$neighbour" 2>/dev/null || true
  if [ $status -ne 0 ]; then
    for log in "$work"/dnsmasq.log "$work"/NetworkManager.log "$work"/service.log "$work"/polkitd.log; do
      [ -f "$log" ] || continue
      echo "---- nm-harness: last lines of $(basename "$log")" >&2
      grep -v '<debug>\|<trace>' "$log" | tail -n 25 >&2 || true
    done
    [ -n "${ZELVI_NM_KEEP_LOGS:-}" ] && cp "$work"/*.log "$ZELVI_NM_KEEP_LOGS"/ 2>/dev/null || true
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
lan=zr0
if [ -n "${ZELVI_NM_NEIGHBOUR:-}" ]; then
  ip netns add "$neighbour"
  ip link add zn0 netns "$neighbour" type veth peer name zb0 netns "$router"
  ip -n "$router" link add zbr type bridge stp_state 0
  ip -n "$router" link set zr0 master zbr
  ip -n "$router" link set zb0 master zbr
  ip -n "$router" link set zb0 up
  ip -n "$router" link set zbr up
  ip -n "$neighbour" link set lo up
  ip -n "$neighbour" link set zn0 up
  lan=zbr
  export ZELVI_NM_NEIGHBOUR_NS="$neighbour"
  if [ -n "${ZELVI_NM_SECOND:-}" ]; then
    ip link add zc1 netns "$computer" type veth peer name zr1 netns "$router"
    ip -n "$router" link set zr1 master zbr
    ip -n "$router" link set zr1 up
  fi
fi
ip -n "$router" addr add 10.99.0.1/24 dev "$lan"
ip -n "$router" link set zr0 up
ip -n "$computer" link set lo up

# The DHCP server, the address service when asked for, and a private system bus.
start_router_services nm-harness "$router" "$lan" "$work" "${ZELVI_NM_SERVICE:-}" || exit 1

# polkit, when asked for: in a mount namespace of its own, so that only the harness's rule
# counts (Debian's rules also want a logind session, which the harness has not).
auth_polkit=root-only
if [ -n "${ZELVI_NM_POLKIT:-}" ]; then
  mkdir -p "$work/polkit-rules" "$work/polkit-empty"
  cat >"$work/polkit-rules/50-zelvi-harness.rules" <<'RULES'
polkit.addRule(function(action, subject) {
    if (action.id.indexOf("org.freedesktop.NetworkManager.") == 0 && subject.isInGroup("netdev"))
        return polkit.Result.YES;
});
RULES
  chmod -R a+rX "$work/polkit-rules" "$work/polkit-empty"
  unshare --mount --propagation private sh -c '
    mount --bind "$1/polkit-rules" /etc/polkit-1/rules.d
    mount --bind "$1/polkit-empty" /usr/share/polkit-1/rules.d
    exec /usr/lib/polkit-1/polkitd --no-debug
  ' sh "$work" >"$work/polkitd.log" 2>&1 &
  pids+=($!)
  waitfor 'bus_has org.freedesktop.PolicyKit1' 100 || { echo "nm-harness: polkitd did not start" >&2; cat "$work/polkitd.log" >&2; exit 1; }
  auth_polkit=true
fi

# NetworkManager for the computer. Its runtime folder (/run) and state folder are folders of
# the run, so that they outlive a restart of NetworkManager: "$ZELVI_NM_RESTART" restarts it,
# "$ZELVI_NM_RESTART --reboot" as a restart of the computer would (the interface loses its
# addresses, /run is emptied; the stored profiles stay).
mkdir -p "$work/nm-run" "$work/nm-lib"
write_nm_conf "$work/NetworkManager.conf" "$work" "$auth_polkit"
cat >"$work/nm-start" <<'SCRIPT'
#!/usr/bin/env bash
# nm-start WORK COMPUTER: NetworkManager in the computer namespace, its pid in WORK/nm.pid.
ip netns exec "$2" sh -c '
  mount -o remount,ro /sys
  mount --bind "$1/nm-run" /run
  mkdir -p /run/NetworkManager
  mount --bind "$1/nm-lib" /var/lib/NetworkManager
  exec NetworkManager --no-daemon --debug --config="$1/NetworkManager.conf" \
    --config-dir="$1/empty-conf" --system-config-dir="$1/empty-system-conf" \
    --state-file="$1/NetworkManager.state" --pid-file="$1/NetworkManager.pid"
' sh "$1" >>"$1/NetworkManager.log" 2>&1 &
echo $! >"$1/nm.pid"
SCRIPT
cat >"$work/nm-restart" <<SCRIPT
#!/usr/bin/env bash
# Restarts the harness's NetworkManager; with --reboot, as a restart of the computer would.
set -euo pipefail
source "$(realpath "$(dirname "$0")")/lib/processes.sh"
pid=\$(cat "$work/nm.pid")
kill "\$pid"
waitfor "! kill -0 \$pid 2>/dev/null" 100 || kill -9 "\$pid"
if [ "\${1:-}" = --reboot ]; then
  ip -n "$computer" addr flush dev zc0
  ip -n "$computer" link set zc0 down
  find "$work/nm-run" -mindepth 1 -delete
fi
bash "$work/nm-start" "$work" "$computer"
waitfor 'DBUS_SYSTEM_BUS_ADDRESS=unix:path=$work/system_bus_socket dbus-send --system --print-reply \
  --dest=org.freedesktop.DBus /org/freedesktop/DBus org.freedesktop.DBus.NameHasOwner \
  string:org.freedesktop.NetworkManager 2>/dev/null | grep -q "boolean true"' 150
SCRIPT
chmod +x "$work/nm-start" "$work/nm-restart"
bash "$work/nm-start" "$work" "$computer"
export ZELVI_NM_RESTART="$work/nm-restart"

waitfor 'bus_has org.freedesktop.NetworkManager' 150 || { echo "nm-harness: NetworkManager did not start" >&2; tail -n 30 "$work/NetworkManager.log" >&2; exit 1; }

# The program's own runtime files (the record of its checkpoint) stay in the run's folder.
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"
export ZELVI_NM_IFACE=zc0 ZELVI_NM_ROUTER_NS="$router" ZELVI_NM_WORK="$work"
ip netns exec "$computer" "$@"
