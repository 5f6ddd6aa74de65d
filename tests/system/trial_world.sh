# Shared by tests/system/trial_networkmanager.sh and bench/trial_timings.sh (source it with
# PROGRAM and a work folder set): the settings file with three profiles in the router's network
# (the third, Komsu, holds the address that the neighbour takes) and the helpers around it.
settings="$work/ayar.config"
cat >"$settings" <<INI
[Profiles]
Yerel=10.99.0.50.255.255.255.0.10.99.0.1.10.99.0.1....
Ikinci=10.99.0.60.255.255.255.0.10.99.0.1.10.99.0.1....
Komsu=10.99.0.77.255.255.255.0.10.99.0.1.10.99.0.1....
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
ms() { echo $(($(date +%s%N) / 1000000)); }
