#!/usr/bin/env bash
# Runs a command on the control node of a shop of tills, each a computer of its own, in
# network namespaces made for this run and removed afterwards:
#
#   router   10.99.0.1/24 on the shop's link "zbr", dnsmasq serving leases 10.99.0.100-199;
#            the control node: COMMAND runs here
#   kasa1…N  "zt0" on the same link, a NetworkManager of its own on a private system bus
#            (at the usual /run/dbus/system_bus_socket inside the till), its own /run, state
#            folder and /root, and a real sshd on port 22 that lets root in with a key
#
#   scripts/fleet-harness.sh COMMAND [ARGS...]      (ZELVI_FLEET_TILLS tills, default 3)
#
# With ZELVI_FLEET_NETWORKD=I, till I runs systemd-networkd instead of NetworkManager (its
# /etc/systemd/network a folder of its own holding the administrator's DHCP file for zt0);
# nm-restart restarts whichever it runs.
#
# COMMAND gets ZELVI_FLEET_WORK (the run's folder) and ZELVI_FLEET_TILLS, and in that folder:
#   client, known_hosts   the key that sshd takes, and each till's host key under its name
#   till I COMMAND…       runs a command inside till I (its namespaces, its /root and /run)
#   nm-restart I          restarts till I's NetworkManager, as a crash and restart would
#   homes                 the folder for the control node's HOME and temporary files
# Needs root. Nothing outside the namespaces and the run's folder is touched; every process
# left in a namespace of the run is ended by its pid.
set -euo pipefail
here=$(realpath "$(dirname "$0")")
source "$here/lib/processes.sh"
source "$here/lib/nm-pieces.sh"

[ "$(id -u)" -eq 0 ] || { echo "fleet-harness: needs root" >&2; exit 1; }
[ $# -ge 1 ] || { echo "usage: fleet-harness.sh COMMAND [ARGS...]" >&2; exit 2; }
tills=${ZELVI_FLEET_TILLS:-3}

id=$$-$RANDOM
router=zelvi-fr-$id
work=$(mktemp -d /tmp/zelvi-fleet.XXXXXX)
chmod 755 "$work"
namespaces=("$router")

cleanup() {
  status=$?
  local ns pids=()
  for ns in "${namespaces[@]}"; do
    pids+=($(ip netns pids "$ns" 2>/dev/null || true))
  done
  [ ${#pids[@]} -eq 0 ] || stop_pids "${pids[@]}"
  for ns in "${namespaces[@]}"; do ip netns del "$ns" 2>/dev/null || true; done
  if [ $status -ne 0 ]; then
    for log in "$work"/dnsmasq.log "$work"/kasa*/NetworkManager.log "$work"/kasa*/sshd.log; do
      [ -f "$log" ] || continue
      echo "---- fleet-harness: last lines of ${log#$work/}" >&2
      grep -v '<debug>\|<trace>' "$log" | tail -n 15 >&2 || true
    done
  fi
  rm -rf "$work"
  exit $status
}
trap cleanup EXIT INT TERM

# The shop's link: a bridge in the router, a cable from each till.
ip netns add "$router"
ip -n "$router" link set lo up
ip -n "$router" link add zbr type bridge stp_state 0
ip -n "$router" link set zbr up
ip -n "$router" addr add 10.99.0.1/24 dev zbr
ip netns exec "$router" dnsmasq --no-daemon --conf-file=/dev/null --port=0 --no-ping \
  --interface=zbr --bind-interfaces --dhcp-range=10.99.0.100,10.99.0.199,255.255.255.0,1h \
  --dhcp-option=3,10.99.0.1 --dhcp-leasefile="$work/leases" --pid-file= \
  >"$work/dnsmasq.log" 2>&1 &
waitfor 'grep -q "DHCP, IP range" "$work/dnsmasq.log"' ||
  { echo "fleet-harness: dnsmasq did not start" >&2; exit 1; }

ssh-keygen -q -t ed25519 -N '' -C control -f "$work/client"
: >"$work/known_hosts"
mkdir -m 700 "$work/homes"

# What each till runs inside its namespaces: its own /run, NetworkManager state and /root.
cat >"$work/till-boot" <<'SCRIPT'
#!/usr/bin/env bash
# till-boot FOLDER: the till's services; this shell then stays as the holder of its namespaces.
set -euo pipefail
t=$1
unset DBUS_SYSTEM_BUS_ADDRESS
mount -o remount,ro /sys
mount --bind "$t/run" /run
mount --bind "$t/nm-lib" /var/lib/NetworkManager
mount --bind "$t/root" /root
mkdir -p /run/dbus /run/NetworkManager
mkdir -m 755 /run/sshd
dbus-daemon --config-file="$t/bus.conf" --nofork --nopidfile >"$t/dbus.log" 2>&1 &
for _ in $(seq 100); do [ -S /run/dbus/system_bus_socket ] && break; sleep 0.1; done
if [ -d "$t/etc-network" ]; then
  mount --bind "$t/etc-network" /etc/systemd/network
  mkdir -p /run/systemd/netif /run/systemd/network
  chown systemd-network:systemd-network /run/systemd/netif
fi
bash "$t/nm-start"
/usr/sbin/sshd -D -e -f "$t/sshd_config" >"$t/sshd.log" 2>&1 &
exec sleep infinity
SCRIPT

for i in $(seq "$tills"); do
  name=kasa$i
  t=$work/$name
  ns=zelvi-f$i-$id
  namespaces+=("$ns")
  mkdir -p "$t/run" "$t/nm-lib" "$t/root"
  chmod 700 "$t/root"
  ip netns add "$ns"
  ip link add zt0 netns "$ns" type veth peer name zf$i netns "$router"
  ip -n "$router" link set zf$i master zbr
  ip -n "$router" link set zf$i up
  ip -n "$ns" link set lo up
  write_bus_conf "$t/bus.conf" /run/dbus/system_bus_socket
  write_nm_conf "$t/NetworkManager.conf" "$t" root-only
  if [ "$i" = "${ZELVI_FLEET_NETWORKD:-}" ]; then
    mkdir -p "$t/etc-network"
    printf '[Match]\nName=zt0\n\n[Network]\nDHCP=ipv4\n' >"$t/etc-network/50-zt0.network"
    echo org.freedesktop.network1 >"$t/service"
    cat >"$t/nm-start" <<SCRIPT
#!/usr/bin/env bash
# systemd-networkd inside the till (run there), detached from whoever started it.
setsid /lib/systemd/systemd-networkd </dev/null >>"$t/networkd.log" 2>&1 &
echo \$! >"$t/nm.pid"
SCRIPT
  else
    echo org.freedesktop.NetworkManager >"$t/service"
    cat >"$t/nm-start" <<SCRIPT
#!/usr/bin/env bash
# NetworkManager inside the till (run there), detached from whoever started it.
setsid NetworkManager --no-daemon --debug --config="$t/NetworkManager.conf" \\
  --config-dir="$t/empty-conf" --system-config-dir="$t/empty-system-conf" \\
  --state-file="$t/NetworkManager.state" --pid-file="$t/NetworkManager.pid" \\
  </dev/null >>"$t/NetworkManager.log" 2>&1 &
echo \$! >"$t/nm.pid"
SCRIPT
  fi
  ssh-keygen -q -t ed25519 -N '' -C "$name" -f "$t/host"
  echo "$name $(cut -d' ' -f1,2 "$t/host.pub")" >>"$work/known_hosts"
  write_sshd_conf "$t/sshd_config" 22 "$t/host" "$work/client.pub"
  ip netns exec "$ns" bash "$work/till-boot" "$t" >"$t/boot.log" 2>&1 &
  echo $! >"$t/holder.pid"
  echo "$ns" >"$t/namespace"
done

cat >"$work/till" <<SCRIPT
#!/usr/bin/env bash
# till I COMMAND…: runs COMMAND inside till I.
i=\$1
shift
exec nsenter --target "\$(cat "$work/kasa\$i/holder.pid")" --mount --net -- "\$@"
SCRIPT
cat >"$work/nm-answers" <<SCRIPT
#!/usr/bin/env bash
# nm-answers I: whether till I's NetworkManager (or networkd) is on its bus.
"$work/till" "\$1" dbus-send --system --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \\
  org.freedesktop.DBus.NameHasOwner string:\$(cat "$work/kasa\$1/service") 2>/dev/null |
  grep -q "boolean true"
SCRIPT
cat >"$work/nm-restart" <<SCRIPT
#!/usr/bin/env bash
# nm-restart I: ends till I's NetworkManager and starts it again.
set -euo pipefail
source "$here/lib/processes.sh"
till=\$1
pid=\$(cat "$work/kasa\$till/nm.pid")
kill "\$pid"
waitfor "! kill -0 \$pid 2>/dev/null" 100 || kill -9 "\$pid"
"$work/till" "\$till" bash "$work/kasa\$till/nm-start"
waitfor '"$work/nm-answers" \$till' 150
SCRIPT
chmod +x "$work/till" "$work/nm-answers" "$work/nm-restart"

for i in $(seq "$tills"); do
  waitfor '"$work/nm-answers" $i' 150 ||
    { echo "fleet-harness: NetworkManager of kasa$i did not start" >&2; exit 1; }
done

export ZELVI_FLEET_WORK="$work" ZELVI_FLEET_TILLS="$tills"
ip netns exec "$router" "$@"
