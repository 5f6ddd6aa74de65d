#!/usr/bin/env bash
# The program in a real X session (Xvfb, a window manager and a real notification area):
# minimising puts its icon into the notification area and hides the window; a double click
# on the icon brings the window back and takes the icon away.
#   tray_under_xvfb.sh PROGRAM
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib/processes.sh"
program=$1
work=$(mktemp -d)
pids=()
cleanup() {
  [ "$BASHPID" = "$$" ] || return 0 # only the script itself, not a subshell
  stop_pids "${pids[@]}"
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  tail -n 20 "$work"/*.log >&2 || true
  exit 1
}

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
waitfor '[ -s "$work/display" ]' || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"
unset DBUS_SESSION_BUS_ADDRESS WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
waitfor 'xdotool getdisplaygeometry >/dev/null 2>&1' || fail "the X server does not answer"

openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
trayer --edge bottom --align right --widthtype pixel --width 200 --height 32 \
  >"$work/trayer.log" 2>&1 &
pids+=($!)
panel_window() { xdotool search --classname '^panel$' 2>/dev/null | head -n1 || true; }
waitfor '[ -n "$(panel_window)" ]' || fail "the notification area did not start"
panel=$(panel_window)

# The program gets a network and host name of its own: its address lookup then stays on
# this machine (the name "localhost"), and nothing it does can reach any network. The X
# server is reached through its socket file.
unshare --uts --net sh -c 'hostname localhost && exec "$@"' sh \
  "$program" --settings "$work/settings.config" --backend "simulated=$work/computer.json" \
  >"$work/program.log" 2>&1 &
pids+=($!)
window() { xdotool search --onlyvisible --name '^Nuvar_POS_Zelvi_IP .BENZET' 2>/dev/null | head -n1 || true; }
icons() { xwininfo -tree -id "$panel" 2>/dev/null | grep -c '"Nuvar_Pos_Zelvi_ip"' || true; }
waitfor '[ -n "$(window)" ]' || fail "the main window did not appear"
[ "$(icons)" -eq 0 ] || fail "an icon is shown while the window is open"

xdotool windowminimize "$(window)"
waitfor '[ "$(icons)" -eq 1 ] && [ -z "$(window)" ]' || fail "minimising did not hide the window into the notification area"
echo "minimised: window hidden, icon shown"

# The icon's place on the screen: "WIDTHxHEIGHT+X+Y  +ABSX+ABSY".
line=$(xwininfo -tree -id "$panel" | grep '"Nuvar_Pos_Zelvi_ip"' | head -n1)
read -r w h x y < <(sed -E 's/.* ([0-9]+)x([0-9]+)\+-?[0-9]+\+-?[0-9]+ +\+(-?[0-9]+)\+(-?[0-9]+).*/\1 \2 \3 \4/' <<<"$line")
xdotool mousemove $((x + w / 2)) $((y + h / 2)) click --repeat 2 --delay 80 1
waitfor '[ -n "$(window)" ] && [ "$(icons)" -eq 0 ]' || fail "a double click on the icon did not bring the window back"
echo "restored: window shown, icon gone"
echo "1 passed, 0 failed"
