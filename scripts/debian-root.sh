#!/usr/bin/env bash
# Makes a fresh, minimal Debian 12 root in DIR (once; later calls find it ready) with what the
# package depends on already installed, so that the package test itself installs the package
# without downloading anything. Like apt-get in scripts/setup.sh, this fetches Debian's own
# packages from the mirror that this machine's apt is configured with (debootstrap's own
# default when apt names none for the release). Needs root and debootstrap.
#   debian-root.sh DIR
set -euo pipefail
root=$1
[ -f "$root/.zelvi-ready" ] && exit 0
rm -rf "$root"
mkdir -p "$(dirname "$root")"
suite=bookworm
mirror=$(apt-get indextargets --format '$(REPO_URI) $(RELEASE)' 2>/dev/null |
  awk -v suite="$suite" '$2 == suite { print $1; exit }')
debootstrap --variant=minbase \
  --include=libqt6widgets6,libqt6network6,libqt6dbus6,libfontconfig1,fonts-liberation,passwd \
  "$suite" "$root" ${mirror:+"$mirror"} >"$root.log" 2>&1 ||
  { tail -n 20 "$root.log" >&2; exit 1; }
touch "$root/.zelvi-ready"
