#!/usr/bin/env bash
# Runs a command in a real X session of its own: Xvfb and a window manager (openbox), so that
# windows are placed, decorated and activated as on a desktop and input comes from the X
# server (xdotool), not from calls into the widgets.
#   under_xvfb.sh COMMAND [ARG...]
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib/processes.sh"
work=$(mktemp -d)
pids=()
cleanup() {
  [ "$BASHPID" = "$$" ] || return 0
  stop_pids "${pids[@]}"
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
waitfor '[ -s "$work/display" ]' || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"
unset DBUS_SESSION_BUS_ADDRESS WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
waitfor 'xdotool getdisplaygeometry >/dev/null 2>&1' || { echo "the X server does not answer" >&2; exit 1; }
# A loaded machine can take seconds to start the window manager; one that ended at once is
# started again, and a failure shows what it printed.
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; }
for attempt in 1 2; do
  openbox >>"$work/openbox.log" 2>&1 &
  pids+=($!)
  waitfor 'wm_ready || ! kill -0 ${pids[-1]} 2>/dev/null' 300
  wm_ready && break
done
wm_ready || {
  echo "the window manager did not start:" >&2
  cat "$work/openbox.log" >&2
  exit 1
}
"$@"
