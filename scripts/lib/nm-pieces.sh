# The configuration files of a test's computer: a private system bus, a NetworkManager of its
# own and an sshd; shared by scripts/nm-harness.sh, scripts/fleet-harness.sh and the system
# tests. Source it; it defines:
#   write_bus_conf FILE SOCKET        a system bus that anybody on it may use, on SOCKET
#   write_nm_conf FILE FOLDER AUTH    NetworkManager with its profiles in FOLDER/connections,
#                                     its drop-in folders FOLDER/empty-conf and
#                                     FOLDER/empty-system-conf (made here), and AUTH as
#                                     auth-polkit (root-only or true)
#   write_sshd_conf FILE PORT HOSTKEY AUTHORIZED_KEYS

write_bus_conf() {
  cat >"$1" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=$2</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_type="method_call"/>
    <allow send_type="signal"/>
    <allow send_type="method_return"/>
    <allow send_type="error"/>
    <allow receive_type="method_call"/>
    <allow receive_type="signal"/>
    <allow receive_type="method_return"/>
    <allow receive_type="error"/>
  </policy>
</busconfig>
CONF
}

write_nm_conf() {
  mkdir -p "$2/connections" "$2/empty-conf" "$2/empty-system-conf"
  cat >"$1" <<CONF
[main]
plugins=keyfile
dhcp=internal
dns=none
rc-manager=unmanaged
hostname-mode=none
no-auto-default=*
auth-polkit=$3

[keyfile]
path=$2/connections
unmanaged-devices=none

[connectivity]
enabled=false

[device]
match-device=*
managed=1
CONF
}

# An sshd that lets root in with a key only,
# for a computer of a test (its privilege separation folder /run/sshd made by the caller).
write_sshd_conf() {
  cat >"$1" <<CONF
Port $2
HostKey $3
AuthorizedKeysFile $4
PermitRootLogin prohibit-password
PasswordAuthentication no
KbdInteractiveAuthentication no
UsePAM no
StrictModes no
PidFile none
MaxStartups 100
CONF
}
