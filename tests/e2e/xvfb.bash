# Sourced by the end-to-end scripts that need an X server. window_test_begin is their common start: WORK (a
# scratch folder), fail(), and at exit the game, a window manager and Xvfb ended by their PIDs (GAME_PID, WM_PID,
# XVFB_PID) and WORK removed. Leak checking is off in the sanitizer build: the X, D-Bus and GL libraries SDL loads
# leave allocations behind that are not ours, and our own code is checked for leaks by the unit tests.
window_test_begin() {
  WORK=$(mktemp -d)
  XVFB_PID="" WM_PID="" GAME_PID=""
  trap window_test_cleanup EXIT
  export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}detect_leaks=0"
}
window_test_cleanup() {
  local pid
  for pid in "$GAME_PID" "$WM_PID" "$XVFB_PID"; do [ -n "$pid" ] && kill "$pid" 2>/dev/null; done
  rm -rf "$WORK"
}
fail() { echo "FAIL: $*" >&2; exit 1; }
# start_game ARGS...: starts "$GAME" with ARGS (output in WORK/game.out and game.err), sets GAME_PID, and waits
# up to 10 s for its window titled MORVANTH, whose id it leaves in WIN.
start_game() {
  "$GAME" "$@" >"$WORK/game.out" 2>"$WORK/game.err" &
  GAME_PID=$!
  WIN=""
  for _ in $(seq 100); do
    WIN=$(xwininfo -name MORVANTH 2>/dev/null | awk '/Window id:/ {print $4}')
    [ -n "$WIN" ] && return
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended early: $(cat "$WORK/game.err")"
    sleep 0.1
  done
  fail "no window titled MORVANTH"
}

# start_xvfb LOGFILE [WxH] starts Xvfb (screen
# 1024x768 unless given) on a display number it picks itself, waits until it accepts clients, exports DISPLAY
# and sets XVFB_PID (end it by PID).
# Without -noreset Xvfb would reset when its last client leaves, refusing a client that connects meanwhile.
start_xvfb() {
  local log=$1 screen=${2:-1024x768} number=""
  exec 3<> <(:)
  Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp -noreset >"$log" 2>&1 &
  XVFB_PID=$!
  read -r -t 30 number <&3 || fail "Xvfb did not start: $(cat "$log")"
  exec 3<&-
  [ -n "$number" ] || fail "Xvfb gave no display number"
  export DISPLAY=":$number"
  # The window tests do not depend on a sound card; the sound test chooses its own driver.
  export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
}
