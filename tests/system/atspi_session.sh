#!/usr/bin/env bash
# The accessibility test's session, inside an X session of its own (under_xvfb.sh) and a PID
# namespace of its own (the accessibility registry detaches; it ends with the namespace): a
# home and a session bus of its own, the accessibility bus started and waited for, then the
# client.
#   atspi_session.sh PROGRAM
set -euo pipefail
here=$(dirname "$0")
source "$here/../../scripts/lib/processes.sh"
work=$(mktemp -d)
pids=()
cleanup() {
  stop_pids "${pids[@]}"
  rm -rf "$work"
}
trap cleanup EXIT
export HOME=$work/home XDG_RUNTIME_DIR=$work/run
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" "$work/files"
chmod 700 "$XDG_RUNTIME_DIR"
dbus-daemon --session --nofork --print-address=3 3>"$work/bus" >"$work/bus.log" 2>&1 &
pids+=($!)
waitfor '[ -s "$work/bus" ]' || { echo "the session bus did not start" >&2; exit 1; }
export DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/bus")
/usr/libexec/at-spi-bus-launcher --launch-immediately --a11y=1 >"$work/a11y.log" 2>&1 &
pids+=($!)
owned() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q true
}
waitfor owned || { echo "the accessibility bus did not start" >&2; cat "$work/a11y.log" >&2; exit 1; }
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
/usr/bin/python3 "$here/atspi_client.py" "$1" "$work/files"
