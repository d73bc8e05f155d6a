# Sourced by the end-to-end scripts that need an X server. start_xvfb LOGFILE [WxH] starts Xvfb (screen
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
