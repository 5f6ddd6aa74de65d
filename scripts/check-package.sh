#!/usr/bin/env bash
# Checks the Debian package that scripts/package.sh made: lintian without errors, the desktop
# entry and the AppStream metadata valid, and installing it on a fresh Debian 12 root
# (scripts/debian-root.sh), starting it as an ordinary user in a real X session and purging it
# (tests/system/package_install.sh); then on a till booted with systemd as PID 1, installed with
# apt-get as anyone types it (tests/system/booted_till.sh). Needs root.
set -euo pipefail
cd "$(dirname "$0")/.."
deb=$(ls build/package/*.deb)
lintian --fail-on error "$deb"
desktop-file-validate packaging/nuvar-pos-zelvi-ip.desktop
appstreamcli validate --no-net packaging/nuvar-pos-zelvi-ip.metainfo.xml
scripts/debian-root.sh build/debian12-root
bash tests/system/under_xvfb.sh bash tests/system/package_install.sh build/debian12-root "$deb"
scripts/till-root.sh build/debian12-root build/till-root "$deb"
bash tests/system/booted_till.sh build/till-root "$deb"
