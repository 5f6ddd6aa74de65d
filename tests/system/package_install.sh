#!/usr/bin/env bash
# The Debian package as a user meets it, on a fresh Debian 12 root (scripts/debian-root.sh):
# installed with apt-get (no repository configured, so nothing is downloaded); run by root
# (as after "sudo nuvar-pos-zelvi-ip --list"), which keeps its files in the till's one folder,
# takes the profiles an earlier version kept in root's own folder, and creates nothing under
# /usr; started by an ordinary user of the netdev group in a real X session, where it shows its
# window and records a profile applied on the simulated computer in the till's file; then
# purged, leaving nothing of it.
#   package_install.sh ROOT PACKAGE.deb   (as root, inside tests/system/under_xvfb.sh)
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib/processes.sh"
root=$(realpath "$1")
deb=$(realpath "$2")
user=zelvi-tech
log="$root/tmp/program.log"
pids=()
mounted=()
in_root() { chroot "$root" "$@"; }
# apt with no repository at all: what the package needs must be there already.
apt_offline() {
  DEBIAN_FRONTEND=noninteractive in_root apt-get -o Dir::Etc::SourceList=/tmp/no-sources.list \
    -o Dir::Etc::SourceParts=/tmp/no-sources.d -y -qq "$@"
}
cleanup() {
  [ "$BASHPID" = "$$" ] || return 0
  stop_pids "${pids[@]}"
  apt_offline purge nuvar-pos-zelvi-ip >/dev/null 2>&1 || true
  in_root userdel -r "$user" >/dev/null 2>&1 || true
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}" || true; done
  rm -rf "$root/tmp/package.deb" "$root/tmp/no-sources.list" "$root/tmp/no-sources.d" \
    "$root/tmp/installed" "$root/root/.config/nuvar-pos-zelvi-ip" "$root/var/lib/nuvar-pos-zelvi-ip"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; cat "$log" >&2 2>/dev/null || true; exit 1; }

# What a running system has: /proc, /dev, and the X server's socket.
for dir in /proc /dev /dev/pts /tmp/.X11-unix; do
  mkdir -p "$root$dir"
  mount --bind "$dir" "$root$dir"
  mounted+=("$root$dir")
done

cp "$deb" "$root/tmp/package.deb"
: >"$root/tmp/no-sources.list"
mkdir -p "$root/tmp/no-sources.d"
apt_offline install /tmp/package.deb >/dev/null || fail "apt-get could not install the package"
[ -x "$root/usr/bin/nuvar-pos-zelvi-ip" ] || fail "no /usr/bin/nuvar-pos-zelvi-ip"
[ -x "$root/usr/sbin/zelvi-ip-service" ] || fail "no /usr/sbin/zelvi-ip-service"
echo "installed on a fresh Debian 12 root"

profile='KASA=10.0.0.5.255.0.0.0.10.0.0.1.10.0.0.1....'
touch "$root/tmp/installed"
mkdir -p "$root/root/.config/nuvar-pos-zelvi-ip"
printf '[Profiles]\n%s\n' "$profile" >"$root/root/.config/nuvar-pos-zelvi-ip/Nuvar_Pos_Zelvi_ip.exe.config"
as_root() { in_root env -i HOME=/root PATH=/usr/bin:/bin nuvar-pos-zelvi-ip --backend simulated "$@"; }
as_root --list >>"$log" 2>&1 || fail "root's --list failed"
as_root --apply KASA --adapter all >>"$log" 2>&1 || fail "root's --apply KASA failed"
made=$(find "$root/usr" -newer "$root/tmp/installed" -type f)
[ -z "$made" ] || fail "root's run created files under /usr: $made"
settings="$root/var/lib/nuvar-pos-zelvi-ip/till/Nuvar_Pos_Zelvi_ip.exe.config"
grep -q '^KASA=' "$settings" || fail "root's earlier profile is not in the till's file"
echo "run by root: its files in the till's folder, its earlier profile taken, nothing under /usr"

in_root userdel -r "$user" >/dev/null 2>&1 || true
in_root useradd --create-home --shell /bin/sh --groups netdev "$user"
# An ordinary user, in this X session, with nothing of root's environment.
chroot --userspec="$user:$user" "$root" env -i HOME="/home/$user" DISPLAY="$DISPLAY" \
  PATH=/usr/bin:/bin nuvar-pos-zelvi-ip --backend simulated >"$log" 2>&1 &
pids+=($!)
window() { xdotool search --onlyvisible --name '^Nuvar_POS_Zelvi_IP' 2>/dev/null | head -n1 || true; }
waitfor '[ -n "$(window)" ]' 150 || fail "the window did not appear"
[ ! -e "$root/home/$user/.config/nuvar-pos-zelvi-ip" ] || fail "the user got a settings folder of his own"
echo "started as $user: window shown, the till's settings"

stop_pids "${pids[@]}"
pids=()
chroot --userspec="$user:$user" "$root" env -i HOME="/home/$user" PATH=/usr/bin:/bin \
  nuvar-pos-zelvi-ip --backend simulated --dhcp >>"$log" 2>&1 &&
  chroot --userspec="$user:$user" "$root" env -i HOME="/home/$user" PATH=/usr/bin:/bin \
    nuvar-pos-zelvi-ip --backend simulated --apply KASA --adapter 2 >>"$log" 2>&1 ||
  fail "the user's --apply KASA failed"
grep -q '^ProfileName=KASA' "$settings" || fail "the till's settings file does not record KASA"
echo "applied by $user of netdev: recorded in the till's settings file"

apt_offline purge nuvar-pos-zelvi-ip >/dev/null || fail "apt-get could not purge the package"
[ ! -e "$root/usr/bin/nuvar-pos-zelvi-ip" ] || fail "the program stayed after purge"
[ -z "$(in_root dpkg -L nuvar-pos-zelvi-ip 2>/dev/null)" ] || fail "dpkg still lists files"
left=$(find "$root/usr" "$root/etc" "$root/opt" "$root/var/lib" -iname '*zelvi*' 2>/dev/null || true)
[ -z "$left" ] || fail "purge left: $left"
echo "purged"
