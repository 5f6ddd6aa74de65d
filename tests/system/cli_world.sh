# The command line's world inside scripts/nm-harness.sh, shared by the system tests
# cli_networkmanager.sh and trial_networkmanager.sh and by bench/trial_timings.sh (source it
# with `program` and a `work` folder set): a settings file with three profiles in the router's
# network (the third, Komsu, holds the address that a neighbour may take) and one in a foreign
# subnet, and the helpers around it.
settings="$work/ayar.config"
cat >"$settings" <<INI
[Profiles]
Yerel=10.99.0.50.255.255.255.0.10.99.0.1.10.99.0.1....
Ikinci=10.99.0.60.255.255.255.0.10.99.0.1.10.99.0.1....
Komsu=10.99.0.77.255.255.255.0.10.99.0.1.10.99.0.1....
Yabanci=192.168.77.10.255.255.255.0.192.168.77.1.192.168.77.1....
[Links]
ExternalAddressUrl=$ZELVI_NM_SERVICE_URL
INI
zelvi() { "$program" --settings "$settings" --backend networkmanager "$@"; }
# On trial with a check after a few seconds, in the background, as a process of its own
# (not a subshell) so that it can be killed.
zelvi_on_trial() {
  "$program" --settings "$settings" --backend networkmanager --apply "$1" --check \
    --check-after "$2" >"$work/on-trial.out" 2>&1 &
}
addresses() { ip -4 -o addr show dev "$ZELVI_NM_IFACE" | awk '{print $4}' | tr '\n' ' '; }
current() { sed -n 's/^ProfileName=//p' "$settings"; }
ms() { echo $(($(date +%s%N) / 1000000)); }
