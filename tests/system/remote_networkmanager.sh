#!/usr/bin/env bash
# A change from afar over a real SSH session (inside scripts/nm-harness.sh with ZELVI_NM_SERVICE):
# sshd runs in the computer's namespace (with a /run of its own: the machine's own ssh service
# is never started), the client in the router's, as a technician or a fleet tool reaches a till.
#   --apply Ikinci --confirm-within 30 answers the client before the address moves;
#   the new address answers; --confirm over SSH at the new address keeps the change, which
#   outlives a restart of NetworkManager; an unconfirmed change is back at the old address
#   when its time ends; of two remote changes at once only the first is made.
#   remote_networkmanager.sh PROGRAM
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib/processes.sh"
source "$(dirname "$0")/../../scripts/lib/nm-pieces.sh"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
program=$1
work=$(mktemp -d)
chmod 755 "$work"
pids=()
trap 'stop_pids "${pids[@]}"; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; cat "$work/sshd.log" >&2 2>/dev/null || true; exit 1; }
source "$(dirname "$0")/cli_world.sh"

ssh-keygen -q -t ed25519 -N '' -f "$work/host" && ssh-keygen -q -t ed25519 -N '' -f "$work/client"
write_sshd_conf "$work/sshd_config" 2222 "$work/host" "$work/client.pub"
unshare --mount --propagation private sh -c '
  mount -t tmpfs tmpfs /run && mkdir -m 755 /run/sshd && exec /usr/sbin/sshd -D -e -f "$1"
' sh "$work/sshd_config" >"$work/sshd.log" 2>&1 &
pids+=($!)
# What a fleet tool sets: keep-alives, so that a vanished address ends the session in seconds.
remote() {
  local host=$1
  shift
  ip netns exec "$ZELVI_NM_ROUTER_NS" ssh -p 2222 -i "$work/client" -o BatchMode=yes \
    -o StrictHostKeyChecking=no -o UserKnownHostsFile=/dev/null -o LogLevel=ERROR \
    -o ConnectTimeout=5 -o ServerAliveInterval=2 -o ServerAliveCountMax=3 "root@$host" \
    "DBUS_SYSTEM_BUS_ADDRESS=$DBUS_SYSTEM_BUS_ADDRESS $program --settings $settings --backend networkmanager $*"
}

zelvi --apply Yerel >/dev/null || fail "Yerel could not be applied"
waitfor 'remote 10.99.0.50 --status >/dev/null 2>&1' 100 || fail "sshd does not answer at 10.99.0.50"

start=$(ms)
out=$(remote 10.99.0.50 --apply Ikinci --confirm-within 30) || fail "the apply over SSH: $out"
answered=$(($(ms) - start))
[ "$(addresses)" = "10.99.0.50/24 " ] || fail "the address moved before the answer came: $(addresses)"
waitfor 'remote 10.99.0.60 --status >/dev/null 2>&1' 150 || fail "the new address does not answer"
reached=$(($(ms) - start))
out=$(remote 10.99.0.60 --confirm) || fail "--confirm over SSH at the new address: $out"
"$ZELVI_NM_RESTART" || fail "NetworkManager did not start again"
sleep 1
[ "$(addresses)" = "10.99.0.60/24 " ] || fail "the confirmed change did not outlive the restart: $(addresses)"
echo "over SSH: answered in $answered ms, the new address answered after $reached ms, confirmed there and kept"

start=$(ms)
remote 10.99.0.60 --apply Yerel --confirm-within 10 >/dev/null || fail "the second apply over SSH"
waitfor '[ "$(addresses)" = "10.99.0.50/24 " ]' 100 || fail "Yerel did not arrive: $(addresses)"
waitfor '[ "$(addresses)" = "10.99.0.60/24 " ]' 150 || fail "the unconfirmed change stayed: $(addresses)"
echo "over SSH, unconfirmed: back at the old address $(($(ms) - start)) ms after the command"

# Two remote changes at once (two plays, a retry): the first is made and confirmed as it asked;
# the second is refused and leaves the first one's record alone.
zelvi --apply Yerel --confirm-within 30 --json >"$work/first" &
first=$!
pids+=($first)
sleep 0.5
status=0
zelvi --apply Komsu --confirm-within 30 --json >"$work/second" || status=$?
wait "$first" || fail "the first remote change: $(cat "$work/first")"
[ $status -eq 1 ] && grep -q '"changed":false' "$work/second" &&
  grep -q '"code":"remote-waits"' "$work/second" ||
  fail "the second remote change was not refused untouched ($status): $(cat "$work/second")"
waitfor '[ "$(addresses)" = "10.99.0.50/24 " ]' 100 || fail "Yerel did not arrive: $(addresses)"
out=$(zelvi --confirm) || fail "--confirm of the first change: $out"
[[ $(zelvi --status --json) == *'"state":"confirmed"'* ]] || fail "not recorded as confirmed"
[ "$(current)" = Yerel ] || fail "the settings name '$(current)'"
echo "two remote changes at once: the first made and confirmed, the second refused untouched"
