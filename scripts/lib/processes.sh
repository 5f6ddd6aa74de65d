# Helpers for scripts that start services of their own. Source it; it defines:
#   waitfor CONDITION [TENTHS]  polls a shell condition, every 0.1 s, up to TENTHS times (100)
#   stop_pids PID...            asks the processes to end, waits up to 5 s, then kills them

waitfor() {
  local _
  for _ in $(seq "${2:-100}"); do
    if eval "$1"; then return 0; fi
    sleep 0.1
  done
  return 1
}

stop_pids() {
  local pid alive _
  for pid in "$@"; do kill "$pid" 2>/dev/null || true; done
  for _ in $(seq 50); do
    alive=0
    for pid in "$@"; do kill -0 "$pid" 2>/dev/null && alive=1; done
    [ $alive -eq 0 ] && break
    sleep 0.1
  done
  for pid in "$@"; do kill -9 "$pid" 2>/dev/null || true; done
}
