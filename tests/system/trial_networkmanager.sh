#!/usr/bin/env bash
# Changes on trial against a real NetworkManager, DHCP server and address service, with
# another device of the shop on the same link (inside scripts/nm-harness.sh with
# ZELVI_NM_SERVICE and ZELVI_NM_NEIGHBOUR=1), through the command line:
#   a good profile is kept: no checkpoint is left behind;
#   an address that the other device holds is refused and the earlier profile is back;
#   another program's checkpoint on the adapter: refused, and theirs is left alone;
#   the program killed while its change is on trial: NetworkManager puts the earlier address
#   and routes back by itself.
#   trial_networkmanager.sh PROGRAM
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib/processes.sh"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
program=$1
work=$(mktemp -d)
pids=()
trap 'stop_pids "${pids[@]}"; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
source "$(dirname "$0")/cli_world.sh"
routes() { ip -4 route show dev "$ZELVI_NM_IFACE"; }
checkpoints() {
  dbus-send --system --print-reply --dest=org.freedesktop.NetworkManager \
    /org/freedesktop/NetworkManager org.freedesktop.DBus.Properties.Get \
    string:org.freedesktop.NetworkManager string:Checkpoints | grep -c 'object path' || true
}

# (b) A profile in the router's network: kept after the check, nothing left pending.
out=$(zelvi --apply Yerel --check --check-after 1) || fail "--apply Yerel --check: $out"
[[ $(addresses) == "10.99.0.50/24 " ]] || fail "Yerel is not on the adapter: $(addresses)"
[ "$(checkpoints)" -eq 0 ] || fail "a checkpoint was left after the check kept the change"
[ "$(current)" = Yerel ] || fail "Yerel is not the current profile"
before_routes=$(routes)
echo "good profile: kept, no checkpoint ($(addresses))"

# Where the program cannot keep the record of its trial, nothing changes: without it no later
# run could tell what happened.
mkdir "$settings.trial" # a folder where the record would go: no regular file can be written
status=0
out=$(zelvi --apply Ikinci --json 2>/dev/null) || status=$?
rmdir "$settings.trial"
[ $status -eq 1 ] && [[ $out == *'"code":"record-unwritable"'* && $out == *'"changed":false'* ]] ||
  fail "an apply without a record was not refused ($status): $out"
[ "$(checkpoints)" -eq 0 ] || fail "a checkpoint was left"
[ "$(addresses)" = "10.99.0.50/24 " ] || fail "the adapters changed: $(addresses)"
echo "no record: refused, nothing changed"

# (c) The neighbour holds 10.99.0.77: the apply is refused and Yerel is back, not DHCP.
ip netns exec "$ZELVI_NM_NEIGHBOUR_NS" ip addr add 10.99.0.77/24 dev zn0
start=$(ms)
status=0
zelvi --apply Komsu >"$work/out" 2>"$work/err" || status=$?
refused=$(($(ms) - start))
[ $status -eq 1 ] || fail "the apply of a held address ended with $status: $(cat "$work/out" "$work/err")"
grep -q "10.99.0.77 adresini ağda başka bir cihaz kullanıyor" "$work/err" ||
  fail "the message does not name the address: $(cat "$work/err")"
grep -q "önceki ayarlarına döndürüldü" "$work/err" || fail "not put back: $(cat "$work/err")"
waitfor '[ "$(addresses)" = "10.99.0.50/24 " ]' 100 || fail "Yerel is not back: $(addresses)"
back=$(($(ms) - start))
[ "$(routes)" = "$before_routes" ] || fail "the routes differ: $(routes)"
[ "$(checkpoints)" -eq 0 ] || fail "a checkpoint was left after the refusal"
[ "$(current)" = Yerel ] || fail "the current profile changed to '$(current)'"
echo "address in use: refused after $refused ms, Yerel back after $back ms"

# Another program's checkpoint on the adapter: refused, nothing touched, theirs left alone.
nm() {
  dbus-send --system --print-reply --dest=org.freedesktop.NetworkManager \
    /org/freedesktop/NetworkManager org.freedesktop.NetworkManager."$@"
}
device=$(nmcli -g GENERAL.DBUS-PATH device show "$ZELVI_NM_IFACE")
foreign=$(nm CheckpointCreate "array:objpath:$device" uint32:60 uint32:0 |
  sed -n 's/.*object path "\(.*\)"/\1/p')
status=0
zelvi --apply Ikinci >"$work/out" 2>"$work/err" || status=$?
[ $status -eq 1 ] && grep -q "Başka bir program bu ağ bağdaştırıcısında" "$work/err" ||
  fail "another program's trial did not stop the apply ($status): $(cat "$work/err")"
[ "$(addresses)" = "10.99.0.50/24 " ] || fail "the adapter changed: $(addresses)"
[ "$(checkpoints)" -eq 1 ] || fail "the other program's checkpoint was touched"
nm CheckpointDestroy "objpath:$foreign" >/dev/null
echo "another program's trial: refused, left alone"

# (a) Killed while on trial: NetworkManager itself restores Yerel's address and routes.
zelvi_on_trial Ikinci 5
pids+=($!)
waitfor '[[ $(addresses) == *10.99.0.60/24* ]]' 200 || fail "Ikinci did not arrive: $(addresses)"
kill -9 "${pids[0]}"
killed=$(ms)
status_json=$(zelvi --status --json) # another run sees the change on trial
[[ $status_json == *'"trialSecondsLeft":'[12][0-9]* ]] || fail "--status shows no trial: $status_json"
[ "$(checkpoints)" -eq 1 ] || fail "no checkpoint pending after the kill"
waitfor '[ "$(addresses)" = "10.99.0.50/24 " ] && [ "$(routes)" = "$before_routes" ]' 400 ||
  fail "Yerel was not put back: $(addresses) / $(routes)"
[ "$(checkpoints)" -eq 0 ] || fail "the checkpoint stayed after its rollback"
listed=$(zelvi --list)
grep -qx '\* Yerel' <<<"$listed" || fail "the next run does not name Yerel current: $listed"
echo "killed on trial: Yerel back $(($(ms) - killed)) ms after the kill ($status_json)"

# Two runs at once: one applies, the other is refused as busy (never a change without a
# checkpoint, never a false "in use"); adapter and settings agree afterwards. From DHCP, so
# that both have something to change.
zelvi --dhcp >/dev/null || fail "--dhcp before two runs at once failed"
for name in Ikinci Yerel; do
  "$program" --settings "$settings" --backend networkmanager --apply "$name" --check \
    --check-after 2 >"$work/at-once-$name" 2>&1 &
  pids+=($!)
done
statuses=""
for pid in "${pids[@]: -2}"; do s=0; wait "$pid" || s=$?; statuses+="$s "; done
both=$(cat "$work"/at-once-*)
[[ $statuses == "0 1 " || $statuses == "1 0 " ]] || fail "two runs at once ended with $statuses: $both"
[[ $both == *"başka bir pencerede ya da komutta"* ]] || fail "the second run was not refused as busy: $both"
[[ $both != *"başka bir cihaz kullanıyor"* ]] || fail "a false 'address in use': $both"
case "$(current)" in
Ikinci) [ "$(addresses)" = "10.99.0.60/24 " ] ;;
Yerel) [ "$(addresses)" = "10.99.0.50/24 " ] ;;
*) false ;;
esac || fail "settings ($(current)) and adapter ($(addresses)) disagree"
[ "$(checkpoints)" -eq 0 ] || fail "a checkpoint was left by two runs at once"
echo "two runs at once: $statuses- $(current) applied, the other refused as busy"

# Stopped (SIGSTOP, a suspended laptop) past its trial: NetworkManager puts the change back,
# and the run, continued, says so and exits 3 instead of reporting it kept.
zelvi --apply Yerel >/dev/null 2>&1 || true
"$program" --settings "$settings" --backend networkmanager --apply Ikinci --check \
  --check-after 1 >"$work/paused" 2>&1 &
paused=$!
pids+=($paused)
waitfor 'grep -q Deneniyor "$work/paused"' 100 || fail "the paused run did not start its trial: $(cat "$work/paused")"
kill -STOP "$paused"
stopped=$(ms)
waitfor '[ "$(addresses)" = "10.99.0.50/24 " ]' 400 || fail "NetworkManager did not put Yerel back: $(addresses)"
kill -CONT "$paused"
status=0
wait "$paused" || status=$?
[ $status -eq 3 ] || fail "the paused run ended with $status: $(cat "$work/paused")"
grep -q "Değişiklik kalmadı" "$work/paused" || fail "the paused run did not say so: $(cat "$work/paused")"
[ "$(current)" = Yerel ] || fail "the paused run left '$(current)' current"
echo "paused past its trial: put back after $(($(ms) - stopped)) ms, exit 3, Yerel named"

# A change on trial is made in memory: a restart of the computer during the trial (the program
# gone, NetworkManager stopped, /run emptied) brings back the stored profile, and the next run
# names it; a restart of NetworkManager alone (the checkpoint forgotten, the change still in
# memory) is said by --status, which changes nothing, and undone from the record by the next
# command that changes the adapters, which says why.
for restart in --reboot ""; do
  out=$(zelvi --apply Yerel 2>&1) || fail "Yerel could not be applied before the restart: $out"
  zelvi_on_trial Ikinci 60
  trial_pid=$!
  pids+=($trial_pid)
  waitfor '[[ $(addresses) == *10.99.0.60/24* ]] && grep -q Deneniyor "$work/on-trial.out"' 200 ||
    fail "Ikinci did not arrive: $(addresses)"
  kill -9 "$trial_pid"
  "$ZELVI_NM_RESTART" $restart || fail "NetworkManager did not start again"
  # --status changes nothing and says why the change waits, never "the time ran out"; the
  # next command that changes the adapters puts it back first.
  status_json=$(zelvi --status --json) || fail "--status after the restart: $status_json"
  [[ $status_json == *'"settled":'*"yeniden başlamış"*"bir sonraki komut"* ]] ||
    fail "--status after ${restart:-a restart of NetworkManager} does not say why: $status_json"
  if [ -z "$restart" ]; then
    sleep 1
    [ "$(addresses)" = "10.99.0.60/24 " ] || fail "--status changed the adapters: $(addresses)"
  fi
  out=$(zelvi --dhcp --json) || fail "--dhcp after the restart: $out"
  [[ $out == *'"settled":'*"yeniden başlamış"*"geri yüklendi"* ]] ||
    fail "--dhcp did not put the change back first: $out"
  zelvi --apply Yerel >/dev/null || fail "Yerel after the restart"
  status_json=$(zelvi --status --json)
  waitfor '[ "$(addresses)" = "10.99.0.50/24 " ]' 200 ||
    fail "after ${restart:-a restart of NetworkManager}, Yerel is not back: $(addresses)"
  [[ $status_json == *'"current":"Yerel"'* ]] || fail "the next run does not name Yerel: $status_json"
  echo "${restart:---restart}: Yerel back and named"
done
