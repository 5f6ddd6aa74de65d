#!/usr/bin/env bash
# The Debian package as a user meets it: installed with apt-get (from what this machine already
# has, nothing is downloaded), started by an ordinary user in a real X session, where it keeps
# its files in that user's configuration folder and shows its window; then purged.
#   package_install.sh PACKAGE.deb   (as root, inside tests/system/under_xvfb.sh)
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib/processes.sh"
deb=$(realpath "$1")
user=zelvi-package-test
log=/dev/null
pids=()
# apt without any repository: what the package needs must be on this machine already, and
# nothing is downloaded.
empty=$(mktemp -d)
offline=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$empty")
cleanup() {
  [ "$BASHPID" = "$$" ] || return 0
  stop_pids "${pids[@]}"
  apt-get purge -y -qq nuvar-pos-zelvi-ip >/dev/null 2>&1 || true
  userdel -r "$user" >/dev/null 2>&1 || true
  rm -rf "$empty"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; cat "$log" >&2 2>/dev/null || true; exit 1; }

DEBIAN_FRONTEND=noninteractive apt-get "${offline[@]}" install -y -qq "$deb" >/dev/null ||
  fail "apt-get could not install the package"
[ -x /usr/bin/nuvar-pos-zelvi-ip ] || fail "no /usr/bin/nuvar-pos-zelvi-ip"
[ -x /usr/sbin/zelvi-ip-service ] || fail "no /usr/sbin/zelvi-ip-service"
echo "installed"

userdel -r "$user" >/dev/null 2>&1 || true
useradd --create-home --shell /bin/sh "$user"
home=$(getent passwd "$user" | cut -d: -f6)
log="$home/program.log"
# An ordinary user, in this X session, with nothing of root's environment.
runuser -u "$user" -- env -i HOME="$home" DISPLAY="$DISPLAY" QT_QPA_PLATFORM=xcb \
  PATH=/usr/bin:/bin nuvar-pos-zelvi-ip --backend simulated >"$log" 2>&1 &
pids+=($!)
window() { xdotool search --onlyvisible --name '^Nuvar_POS_Zelvi_IP' 2>/dev/null | head -n1 || true; }
waitfor '[ -n "$(window)" ]' 150 || fail "the window did not appear"
settings="$home/.config/nuvar-pos-zelvi-ip/Nuvar_Pos_Zelvi_ip.exe.config"
[ -f "$settings" ] || fail "no settings file in the user's configuration folder"
[ "$(stat -c %U "$settings")" = "$user" ] || fail "the settings file is not the user's"
echo "started as $user: window shown, settings in ~/.config/nuvar-pos-zelvi-ip"

stop_pids "${pids[@]}"
pids=()
DEBIAN_FRONTEND=noninteractive apt-get "${offline[@]}" purge -y -qq nuvar-pos-zelvi-ip >/dev/null ||
  fail "apt-get could not purge the package"
[ ! -e /usr/bin/nuvar-pos-zelvi-ip ] || fail "the program stayed after purge"
[ -z "$(dpkg -L nuvar-pos-zelvi-ip 2>/dev/null)" ] || fail "dpkg still lists files"
echo "purged"
