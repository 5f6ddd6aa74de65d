# The control node's world inside scripts/fleet-harness.sh, shared by tests/system/fleet_ansible.sh
# and bench/fleet_timings.sh (source it with `program` set): each till started on a profile of
# its own (kasaI at 10.99.0.(10 + I)), and the helpers around the play.
w=$ZELVI_FLEET_WORK
repo=$(realpath "$(dirname "${BASH_SOURCE[0]}")/../..")
settings=/root/.config/nuvar-pos-zelvi-ip/Nuvar_Pos_Zelvi_ip.exe.config
ms() { echo $(($(date +%s%N) / 1000000)); }
address() { "$w/till" "$1" ip -4 -o addr show dev zt0 | awk '{print $4}' | tr '\n' ' '; }
current() { sed -n 's/^ProfileName=//p' "$w/kasa$1$settings" | tr -d '\r'; }
# play NAME [ANSIBLE-PLAYBOOK ARGS]: the shop's play on $w/inventory.yml, its output in
# $w/play-NAME.out; the status is the play's.
play() {
  local name=$1
  shift
  HOME="$w/homes" ANSIBLE_CONFIG="$repo/contrib/ansible/ansible.cfg" \
    ANSIBLE_LOCAL_TEMP="$w/homes/tmp" ANSIBLE_SSH_CONTROL_PATH_DIR="$w/homes/cp" \
    ANSIBLE_NOCOLOR=1 ansible-playbook -i "$w/inventory.yml" "$repo/contrib/ansible/site.yml" \
    "$@" >"$w/play-$name.out" 2>&1
}
# recap NAME HOST: the host's line of the play's recap ("ok=9 changed=1 unreachable=0 …").
recap() { sed -n "s/^$2 *: *//p" "$w/play-$1.out" | tr -s ' '; }
# The inventory's settings for every till (the program of the build instead of the package,
# and root's file: the harness's tills share the host's /var/lib).
inventory_vars() {
  cat <<YAML
    ansible_user: root
    ansible_ssh_private_key_file: $w/client
    ansible_ssh_common_args: -o UserKnownHostsFile=$w/known_hosts
    ansible_ssh_extra_args: -o HostKeyAlias={{ inventory_hostname }}
    zelvi_install: false
    zelvi_settings: $settings
    zelvi_program: $program
    zelvi_control_program: $program
YAML
}

# Each till starts with no settings folder at all: the program makes it at its first command.
for i in $(seq "$ZELVI_FLEET_TILLS"); do
  "$w/till" $i "$program" --settings "$settings" --set-profile Baslangic "10.99.0.$((10 + i))" \
    255.255.255.0 10.99.0.1 10.99.0.1 >/dev/null &&
    "$w/till" $i "$program" --settings "$settings" --apply Baslangic >/dev/null ||
    { echo "kasa$i could not start on its profile" >&2; exit 1; }
done
