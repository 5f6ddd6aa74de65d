#!/usr/bin/env bash
# The shop's play (contrib/ansible) against three tills (inside scripts/fleet-harness.sh), run
# by Debian's ansible-core on the control node as an administrator runs it:
#   1. every till re-addressed and confirmed at its new address, each naming its new profile,
#      kept over a restart of NetworkManager;
#   2. the same play again: nothing changed, no connection dropped;
#   3. one till given an address the control node cannot reach: that till is reported failed
#      and is back at its old address when its trial ends, while another is confirmed; a
#      third's NetworkManager restarts (a stand-in for a crash) just before the confirmation:
#      the program's next run there puts the change back, and the play says so;
#   3b. that till failed at once (zelvi_wait_for_put_back: false), and the play run again while
#      it is on trial out of reach: it waits for the trial's end and reports the change put
#      back, not "is it on?";
#   4. profiles the settings file cannot hold ("[Yedek] Kasa", a line break, extra dots): the
#      play stops on the control node, naming them, and no till's file changes;
#   5. --check --diff: the tills that would move are "changed" with from → to (one to a profile
#      that no till holds yet), nothing moves;
#   6. the control node killed while the tills wait on trial at their new addresses: the play
#      run again finds them there and keeps the changes;
#   7. report.yml: one table of every till; a till whose host key changed and one without the
#      program are each reported as such, the third re-addressed although its connection broke
#      right after its change was kept.
# kasa1 runs systemd-networkd (ZELVI_FLEET_NETWORKD=1), kasa2 and kasa3 NetworkManager.
#   fleet_ansible.sh PROGRAM
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib/processes.sh"
program=$1
trial=20
fail() { echo "FAIL: $*" >&2; cat "$w"/play*.out >&2 2>/dev/null || true; exit 1; }
# How often till I's adapter was reconfigured (kasa1 runs systemd-networkd, the others
# NetworkManager).
zt0_changes() {
  cat "$w/kasa$1/NetworkManager.log" "$w/kasa$1/networkd.log" 2>/dev/null |
    grep -c 'device (zt0): state change\|zt0: Reconfiguring' || true
}
source "$(dirname "$0")/fleet_world.sh"

# The administrator's inventory: where each till answers, the profile it gets (and, for
# the test, the program of the build instead of the package, and a short trial).
inventory() {
  local extra=${8:-}
  {
    echo tills:
    echo "  vars:"
    inventory_vars
    cat <<YAML
    zelvi_trial_seconds: $trial
    zelvi_reach_seconds: 8
    zelvi_profiles:
      A1: {address: 10.99.0.21, mask: 255.255.255.0, gateway: 10.99.0.1, dns1: 10.99.0.1}
      A2: {address: 10.99.0.22, mask: 255.255.255.0, gateway: 10.99.0.1, dns1: 10.99.0.1}
      A3: {address: 10.99.0.23, mask: 255.255.255.0, gateway: 10.99.0.1, dns1: 10.99.0.1}
      B1: {address: 10.99.0.31, mask: 255.255.255.0, gateway: 10.99.0.1, dns1: 10.99.0.1}
      B3: {address: 10.99.0.33, mask: 255.255.255.0, gateway: 10.99.0.1, dns1: 10.99.0.1}
      Uzak: {address: 192.168.77.10, mask: 255.255.255.0, gateway: 192.168.77.1, dns1: 192.168.77.1}
      "Yedek\u2028evil0:": {address: 10.99.0.45, mask: 255.255.255.0, gateway: 10.99.0.1, dns1: 10.99.0.1}
$extra
  hosts:
    kasa1: {ansible_host: $1, zelvi_profile: $2${9:-}}
    kasa2: {ansible_host: $3, zelvi_profile: $4}
    kasa3: {ansible_host: $5, zelvi_profile: $6${7:-}}
YAML
  } >"$w/inventory.yml"
}

"$w/till" 1 "$program" --settings "$settings" --status --json | grep -q '"backend":"systemd-networkd"' ||
  fail "kasa1 does not run systemd-networkd"

# verdicts NAME: each till's "changed failed" as the play's recap says it.
verdicts() {
  for i in 1 2 3; do
    sed -n -E "s/^kasa$i +: ok=.*changed=([0-9]+) .*failed=([0-9]+) .*/\1 \2/p" "$w/play-$1.out"
  done | awk '{printf "%d %s,", ($1 > 0), $2}'
}
# agrees NAME: the play in check mode, run before NAME, foretold each till's verdict.
agrees() {
  [ "$(verdicts "$1-check")" = "$(verdicts "$1")" ] ||
    fail "check mode said $(verdicts "$1-check") where the play did $(verdicts "$1") (changed failed, per till)"
}

# 1. Three tills re-addressed in one play (each till's verdict foretold by check mode), and
# pointed at the shop's address service by one variable.
service=http://10.99.0.1:8097/ip.php
inventory 10.99.0.11 A1 10.99.0.12 A2 10.99.0.13 A3 "" "    zelvi_address_service: $service"
play 1-check --check || fail "the first play in check mode failed"
start=$(ms)
play 1 || fail "the first play failed"
took=$(($(ms) - start))
agrees 1
for i in 1 2 3; do
  recap 1 kasa$i | grep -q 'changed=[1-9].* failed=0' || fail "kasa$i: $(recap 1 kasa$i)"
  [ "$(address $i)" = "10.99.0.2$i/24 " ] || fail "kasa$i is at $(address $i), not 10.99.0.2$i"
  [ "$(current $i)" = "A$i" ] || fail "kasa$i names profile '$(current $i)', not A$i"
  grep -q "^ExternalAddressUrl=$service" "$w/kasa$i$settings" || fail "kasa$i has no address service"
  "$w/nm-restart" $i || fail "kasa$i: NetworkManager did not start again"
done
sleep 1
for i in 1 2 3; do
  [ "$(address $i)" = "10.99.0.2$i/24 " ] || fail "kasa$i lost its change on a restart: $(address $i)"
done
echo "three tills re-addressed and confirmed in $took ms"

# 2. The same play again, with the same inventory: each till is found at its profile's address.
for i in 1 2 3; do changes[$i]=$(zt0_changes $i); done
play 2-check --check || fail "the second play in check mode failed"
start=$(ms)
play 2 || fail "the second play failed"
took=$(($(ms) - start))
agrees 2
for i in 1 2 3; do
  recap 2 kasa$i | grep -q 'changed=0 .*failed=0' || fail "kasa$i, run again: $(recap 2 kasa$i)"
  [ "$(address $i)" = "10.99.0.2$i/24 " ] || fail "kasa$i moved when run again: $(address $i)"
  [ "$(zt0_changes $i)" = "${changes[$i]}" ] || fail "kasa$i's connection dropped when run again"
done
grep -q 'fatal\|ignoring\|UNREACHABLE\|WARNING' "$w/play-2.out" &&
  fail "the play run again printed failures or warnings"
echo "the play run again: nothing changed, no failure printed ($took ms)"

# 3. kasa2 to an address the control node cannot reach; kasa3's NetworkManager restarts right
# before the confirmation.
cat >"$w/crash-first" <<SCRIPT
#!/bin/sh
case " \$* " in *" --confirm "*) "$w/nm-restart" 3 >/dev/null 2>&1 ;; esac
exec "$program" "\$@"
SCRIPT
chmod +x "$w/crash-first"
inventory 10.99.0.21 B1 10.99.0.22 Uzak 10.99.0.23 B3 ", zelvi_program: $w/crash-first"
# Check mode cannot know that kasa2's new address is out of reach or that kasa3 crashes: it
# says all three would move.
play 3-check --check || fail "the third play in check mode failed"
[ "$(verdicts 3-check)" = "1 0,1 0,1 0," ] || fail "check mode before the third play: $(verdicts 3-check)"
# When kasa2 leaves its address and when it is back there.
(
  waitfor '[ "$(address 2)" != "10.99.0.22/24 " ]' 300 && ms >"$w/left"
  waitfor '[ "$(address 2)" = "10.99.0.22/24 " ]' 600 && ms >"$w/back"
) &
watcher=$!
start=$(ms)
if play 3; then fail "the third play reported no failure"; fi
took=$(($(ms) - start))
wait $watcher || fail "kasa2 did not leave its address and come back"
recap 3 kasa1 | grep -q 'changed=[1-9].* failed=0' || fail "kasa1: $(recap 3 kasa1)"
[ "$(address 1)" = "10.99.0.31/24 " ] && [ "$(current 1)" = B1 ] ||
  fail "kasa1 is at $(address 1) with '$(current 1)', not B1"
for i in 2 3; do
  recap 3 kasa$i | grep -q 'failed=1' || fail "kasa$i was not reported failed: $(recap 3 kasa$i)"
  [ "$(address $i)" = "10.99.0.2$i/24 " ] && [ "$(current $i)" = A$i ] ||
    fail "kasa$i is at $(address $i) with '$(current $i)', not back on A$i"
done
grep -q 'fatal: \[kasa2\].*Uzak (192.168.77.10) did not stay: it did not answer at 192.168.77.10 within 8 s.*put the earlier settings back.*answers at 10.99.0.22 again, with profile A2' \
  "$w/play-3.out" || fail "the play did not say what became of kasa2"
grep -q 'fatal: \[kasa3\].*B3 (10.99.0.33) did not stay.*NetworkManager restarted.*answers at 10.99.0.23 again, with profile A3' \
  "$w/play-3.out" || fail "the play did not say what became of kasa3"
away=$(($(cat "$w/back") - $(cat "$w/left")))
[ $away -le $(((trial + 5) * 1000)) ] || fail "kasa2 was away $away ms, more than the trial and 5 s"
echo "one till unreachable, one crashed: both back and reported, the other confirmed ($took ms; kasa2 away $away ms)"

# 3b. A big fleet's play does not wait for kasa2's trial out of reach (the batch is not held):
# it fails kasa2 at once, saying when it puts itself back; the play run again at once waits
# for that trial's end and says the change was put back (as after a stopped play).
tree() { local p; for p in $(pgrep -P "$1"); do tree "$p"; done; echo "$1"; }
inventory 10.99.0.31 B1 10.99.0.22 Uzak 10.99.0.23 A3
if play 3b -e zelvi_wait_for_put_back=false; then fail "kasa2 out of reach was not failed"; fi
grep -q 'fatal: \[kasa2\].*it did not answer at 192.168.77.10 within 8 s; it puts its earlier settings back by itself when its trial ends' \
  "$w/play-3b.out" && [ "$(address 2)" != "10.99.0.22/24 " ] ||
  fail "the play waited for kasa2's trial or did not say so: $(address 2)"
if play 3c; then fail "the play after a stopped one did not report kasa2"; fi
grep -q 'fatal: \[kasa2\].*Uzak (192.168.77.10), started by an earlier play, did not stay.*answers at 10.99.0.22 with profile A2. Nothing was started again' \
  "$w/play-3c.out" && ! grep -q 'is it on' "$w/play-3c.out" ||
  fail "the play after a stopped one did not wait for kasa2's trial"
[ "$(address 2)" = "10.99.0.22/24 " ] || fail "kasa2 is at $(address 2)"
echo "a till on trial out of reach: not waited for when asked; the next play waited, reported it put back"

# 4. Profiles that the settings file cannot hold stop the play before any till is touched.
sums() { for i in 1 2 3; do md5sum <"$w/kasa$i$settings"; done; }
before=$(sums)
inventory 10.99.0.31 B1 10.99.0.22 A2 10.99.0.23 A3 "" \
  "      '[Yedek] Kasa': {address: 10.99.0.41, mask: 255.255.255.0, gateway: 10.99.0.1, dns1: 10.99.0.1}
      \"Kasa\\n[Links]\": {address: 10.99.0.42, mask: 255.255.255.0, gateway: 10.99.0.1, dns1: 10.99.0.1}
      Fazla: {address: 10.99.0.43.1, mask: 255.255.255.0, gateway: 10.99.0.1, dns1: 10.99.0.1}
      Sifirli: {address: 010.099.000.044, mask: 255.255.255.0, gateway: 10.99.0.1, dns1: 10.99.0.1}
      Geri: {address: 127.0.0.5, mask: 255.0.0.0, gateway: 127.0.0.1, dns1: 10.99.0.1}"
if play 4; then fail "a play with unstorable profiles did not fail"; fi
for i in 1 2 3; do
  recap 4 kasa$i | grep -q 'changed=0 .*failed=1' || fail "kasa$i with bad profiles: $(recap 4 kasa$i)"
done
for bad in '[Yedek] Kasa\": A name cannot begin with' 'Kasa\\n[Links]\": A name cannot contain a line break' \
  'Fazla\": ZELVİ IP: \"10.99.0.43.1\" is not an IPv4 address' \
  'Sifirli\": address \"010.099.000.044\" has a leading zero; write it as 10.99.0.44' \
  'Geri\": ZELVİ IP (the computer'"'"'s IP address): 127.0.0.5 is a loopback address'; do
  grep -qF "$bad" "$w/play-4.out" || fail "the play did not name the bad profile: $bad"
done
[ "$(sums)" = "$before" ] || fail "a till's settings changed although the profiles were bad"
# A trial the program would refuse on every till is refused once, on the control node.
inventory 10.99.0.31 B1 10.99.0.22 A2 10.99.0.23 A3
if play 4b -e zelvi_trial_seconds=4000; then fail "a trial of 4000 s was not refused"; fi
grep -q 'zelvi_trial_seconds (4000) must be 10-3600' "$w/play-4b.out" && [ "$(sums)" = "$before" ] ||
  fail "a trial of 4000 s was not refused on the control node"
echo "bad profiles and settings stopped on the control node; no till touched"

# 5. Check mode, as the real run would go: kasa1 and kasa3 would move; kasa2's profile is new
# to every till (the shop's first day with it), and it would move there as well; nothing moves.
inventory 10.99.0.31 A1 10.99.0.22 Yeni2 10.99.0.23 B3 "" \
  "      Yeni2: {address: 10.99.0.52, mask: 255.255.255.0, gateway: 10.99.0.1, dns1: 10.99.0.1}"
play 5 --check --diff || fail "the play in check mode failed"
for i in 1 2 3; do
  recap 5 kasa$i | grep -q 'changed=[1-9].* failed=0' || fail "kasa$i in check mode: $(recap 5 kasa$i)"
done
grep -q '^+.*10.99.0.52/255.255.255.0 gateway 10.99.0.1' "$w/play-5.out" ||
  fail "--diff did not show kasa2's move to the profile it does not hold yet"
grep -q '^-.*10.99.0.31/255.255.255.0 gateway 10.99.0.1' "$w/play-5.out" &&
  grep -q '^+.*10.99.0.21/255.255.255.0 gateway 10.99.0.1' "$w/play-5.out" ||
  fail "--diff did not show kasa1's move from 10.99.0.31 to 10.99.0.21"
[ "$(address 1)" = "10.99.0.31/24 " ] && [ "$(address 3)" = "10.99.0.23/24 " ] &&
  [ "$(sums)" = "$before" ] || fail "check mode changed a till"
echo "check mode: three tills would move (one to a profile it does not hold yet), shown from → to; nothing changed"

# 6. The control node killed while kasa1 and kasa3 wait on trial at their new addresses (their
# confirmation hangs), then the same play again.
cat >"$w/hang-confirm" <<SCRIPT
#!/bin/sh
case " \$* " in *" --confirm "*) sleep 300 ;; esac
exec "$program" "\$@"
SCRIPT
chmod +x "$w/hang-confirm"
inventory 10.99.0.31 A1 10.99.0.22 A2 10.99.0.23 B3
play 6 -e zelvi_program="$w/hang-confirm" &
killed=$!
waitfor '[ "$(address 1)" = "10.99.0.21/24 " ] && [ "$(address 3)" = "10.99.0.33/24 " ]' 600 ||
  fail "kasa1 and kasa3 did not move"
sleep 2
kill -9 $(tree $killed) 2>/dev/null || true
wait $killed 2>/dev/null || true
play 7-check --check || fail "check mode after a killed play failed"
play 7 || fail "the play run again after a killed one failed"
agrees 7
for i in 1 3; do
  recap 7 kasa$i | grep -q 'changed=[1-9].* failed=0' || fail "kasa$i run again: $(recap 7 kasa$i)"
  grep -q "kasa$i: .* kept the change an earlier run left on trial" "$w/play-7.out" ||
    fail "the play did not say that kasa$i's change was kept"
done
[ "$(current 1)" = A1 ] && [ "$(current 3)" = B3 ] || fail "kasa1/kasa3 name '$(current 1)'/'$(current 3)'"
"$w/till" 1 "$program" --settings "$settings" --status --json | grep -q '"state":"confirmed"' ||
  fail "kasa1's change is not confirmed"
echo "killed control node: the next play kept both changes"

# 7. One table of every till; a changed host key and a missing program each said plainly.
HOME="$w/homes" ANSIBLE_CONFIG="$repo/contrib/ansible/ansible.cfg" ANSIBLE_NOCOLOR=1 \
  ansible-playbook -i "$w/inventory.yml" "$repo/contrib/ansible/report.yml" \
  -e zelvi_report_dir="$w" -e zelvi_program="$program" >"$w/play-report.out" 2>&1 ||
  fail "report.yml failed"
grep -q '^"kasa1","10.99.0.21","A1","10.99.0.21"' "$w/report.csv" &&
  grep -q '^| kasa3 | 10.99.0.33 | B3 |' "$w/report.md" || fail "report: $(cat "$w/report.csv")"
cp "$w/known_hosts" "$w/known_hosts.good"
sed -i "s|^kasa2 .*|kasa2 $(cut -d' ' -f1,2 "$w/client.pub")|" "$w/known_hosts"
rm -f "$w"/homes/cp/* # no connection of the earlier plays is reused: the key is checked anew
cat >"$w/break-after-confirm" <<SCRIPT
#!/bin/sh
"$program" "\$@"
status=\$?
case " \$* " in *" --confirm "*) kill -9 \$PPID ;; esac
exit \$status
SCRIPT
chmod +x "$w/break-after-confirm"
inventory 10.99.0.21 B1 10.99.0.22 A2 10.99.0.33 A3 ", zelvi_program: /usr/bin/yok" "" \
  ", zelvi_program: $w/break-after-confirm"
if play 8; then fail "a play with a changed host key and a missing program did not fail"; fi
cp "$w/known_hosts.good" "$w/known_hosts"
grep -q "kasa2.*it answers at 10.99.0.22 but could not be logged in to: its SSH host key has changed" \
  "$w/play-8.out" || fail "the changed host key was not said"
grep -q 'the program is not installed on the till at /usr/bin/yok' "$w/play-8.out" ||
  fail "the missing program was not said"
recap 8 kasa1 | grep -q 'changed=[1-9].* failed=0' || fail "kasa1 beside the others: $(recap 8 kasa1)"
grep -q 'kasa1: B1 at 10.99.0.31: applied and kept (the connection at 10.99.0.31 broke during --confirm, but the till says it was kept)' \
  "$w/play-8.out" || fail "kasa1's kept change was not reported as kept"
# The install step finds the till (kasa3 moved to 10.99.0.23) before it copies the package.
play 9 --tags install -e zelvi_install=true -e zelvi_package_deb=/yok.deb --limit kasa3 &&
  fail "installing a missing package file did not fail"
grep -q "fatal: \[kasa3\]: .*Could not find or access '/yok.deb'" "$w/play-9.out" ||
  fail "the install step did not reach the package copy: $(grep fatal "$w/play-9.out")"
echo "report written; a changed host key and a missing program reported plainly"
