#!/usr/bin/env bash
# Makes the root of a booted till in DIR (once; later calls find it ready): the package check's
# fresh Debian 12 root (scripts/debian-root.sh) with what a minimal server-style till runs,
# systemd as init, D-Bus, logind and systemd-networkd configuring the card "zc0" by DHCP from
# the administrator's own file; the host name in /etc/hosts as Debian's installer writes it.
# Then, for PACKAGE.deb, fetches what "apt-get install ./PACKAGE.deb" fetches (its dependencies
# and recommendations) into the root's apt cache: the booted till has no way to a mirror, yet
# installs the package as a user would; and what installing NetworkManager and an SSH server
# fetches, for the administrator who makes it a desktop-style till later. Like scripts/setup.sh, this fetches Debian's packages
# from the mirror the root's apt is configured with. Needs root.
#   till-root.sh BASE DIR [PACKAGE.deb]
set -euo pipefail
base=$1
root=$2
deb=${3:-}
quiet_apt() { DEBIAN_FRONTEND=noninteractive chroot "$root" apt-get -y -qq "$@" >>"$root.log" 2>&1 ||
  { tail -n 20 "$root.log" >&2; exit 1; }; }

if [ ! -f "$root/.zelvi-till-ready" ]; then
  rm -rf "$root"
  cp -a --reflink=auto "$base" "$root"
  rm -f "$root/.zelvi-ready"
  : >"$root.log"
  # Nothing starts inside the chroot while it is made.
  printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
  chmod 755 "$root/usr/sbin/policy-rc.d"
  quiet_apt update
  quiet_apt install --no-install-recommends systemd systemd-sysv dbus iproute2 libpam-systemd
  rm -f "$root/usr/sbin/policy-rc.d"
  chroot "$root" systemctl enable systemd-networkd.service >/dev/null 2>&1
  echo till >"$root/etc/hostname"
  printf '127.0.0.1\tlocalhost\n127.0.1.1\ttill\n\n::1\tlocalhost ip6-localhost ip6-loopback\n' \
    >"$root/etc/hosts"
  mkdir -p "$root/etc/systemd/network"
  printf '[Match]\nName=zc0\n\n[Network]\nDHCP=yes\n' >"$root/etc/systemd/network/50-wired.network"
  touch "$root/.zelvi-till-ready"
fi
# Without a package, the root is made and nothing is fetched.
[ -n "$deb" ] || exit 0
cp "$deb" "$root/root/zelvi.deb"
quiet_apt install --download-only /root/zelvi.deb
quiet_apt install --download-only network-manager openssh-server
