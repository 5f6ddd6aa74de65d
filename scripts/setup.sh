#!/usr/bin/env bash
# Installs every Debian package that building, running, testing and benchmarking need.
# Idempotent: when everything is already installed it prints nothing and changes nothing.
set -euo pipefail

packages=(
  cmake
  ninja-build
  g++
  pkg-config
  clang-format
  clang
  libclang-rt-14-dev
  qt6-base-dev
  qt6-base-dev-tools
  qt6-translations-l10n
  qt6-tools-dev
  qt6-l10n-tools
  libfontconfig-dev
  libgl-dev
  fonts-liberation
  libbenchmark-dev
  libinih-dev
  libsimpleini-dev
  libicu-dev
  libxkbcommon-dev
  xvfb
  xauth
  openbox
  trayer
  xdotool
  at-spi2-core
  python3-pyatspi
  x11-utils
  bc
  network-manager
  dnsmasq-base
  dbus-daemon
  dbus-bin
  iproute2
  dpkg-dev
  file
  lintian
  desktop-file-utils
  appstream
  passwd
  debootstrap
  systemd-container
  openssh-server
  openssh-client
  ansible-core
  ansible-lint
  iputils-ping
  python3-yaml
  locales
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "setup: these packages are missing and installing them needs root: ${missing[*]}" >&2
  exit 1
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# The tests start NetworkManager, dnsmasq and sshd themselves, inside network namespaces of
# their own: the packages must not start them on this machine.
guard=/usr/sbin/policy-rc.d
made_guard=
if [ ! -e "$guard" ]; then
  printf '#!/bin/sh\nexit 101\n' >"$guard"
  chmod 755 "$guard"
  made_guard=1
fi
remove_guard() {
  if [ -n "$made_guard" ]; then rm -f "$guard"; fi
}
trap remove_guard EXIT
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
# The tests start sshd themselves, inside a network namespace: the machine's own stays off.
if command -v systemctl >/dev/null; then
  systemctl disable ssh.service ssh.socket >/dev/null 2>&1 || true
fi
