# Without an address service the gateway judges a checked change: one that answers on the card
# keeps it, a silent one puts it back where it was. Sourced by cli_networkmanager.sh and
# cli_networkd.sh (with `program`, `work`, `addresses`, `fail` and `waitfor`, and in
# `judge_args` what every run of the program is given besides).
plain=$work/hizmetsiz.config
printf '[Profiles]\nDogru=10.99.0.51.255.255.255.0.10.99.0.1.10.99.0.1....\nYanlis=10.99.0.52.255.255.255.0.10.99.0.254.10.99.0.1....\n' >"$plain"
bare() { "$program" --settings "$plain" "${judge_args[@]}" "$@"; }
out=$(bare --apply Dogru --check --check-after 0 --json) || fail "a right gateway: $out"
[[ $out == *'"gateway":{"address":"10.99.0.1","answered":true}'* ]] || fail "a right gateway: $out"
waitfor '[ "$(addresses)" = "10.99.0.51/24 " ]' 100 || fail "a right gateway's change did not stay: $(addresses)"
status=0
out=$(bare --apply Yanlis --check --check-after 0 --json 2>/dev/null) || status=$?
[ $status -eq 3 ] && [[ $out == *'"code":"put-back"'* && $out == *'"answered":false'* ]] ||
  fail "a silent gateway: status $status, $out"
waitfor '[ "$(addresses)" = "10.99.0.51/24 " ]' 100 || fail "a silent gateway's change stayed: $(addresses)"
echo "no address service: a right gateway kept, a silent one put back"
