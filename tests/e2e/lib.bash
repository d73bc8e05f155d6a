# Sourced by every end-to-end script: the ways to fail, a scratch folder, pictures, and for the window tests an
# X server, the game and the game's own state to wait on.
#
# A window test never waits on the clock or on a picture that may stand still: the game writes one state line
# per frame (MORVANTH_STATE_FILE, the headless runner's --state format) and the test waits for the frame, scene
# or field it needs. Its short sleeps are the poll interval of loops that check that state.

# fail MESSAGE: the script fails at once.
fail() { echo "FAIL: $*" >&2; exit 1; }
# fail_later MESSAGE: a failed check that lets the script go on to the others; end_checks then fails the script
# if any did.
FAILURES=0
fail_later() { echo "FAIL: $*" >&2; FAILURES=$((FAILURES + 1)); }
end_checks() {
  [ "$FAILURES" -eq 0 ] && return 0
  echo "$FAILURES check(s) failed" >&2
  exit 1
}
require_tools() {
  local tool
  for tool in "$@"; do command -v "$tool" >/dev/null || fail "$tool is not installed"; done
}

# scratch_begin: WORK, a scratch folder; at exit the game, a window manager and Xvfb are ended by their PIDs
# (GAME_PID, WM_PID, XVFB_PID, when set) and WORK is removed.
scratch_begin() {
  WORK=$(mktemp -d)
  XVFB_PID="" WM_PID="" GAME_PID=""
  trap scratch_end EXIT
}
scratch_end() {
  local pid
  for pid in "$GAME_PID" "$WM_PID" "$XVFB_PID"; do [ -n "$pid" ] && kill "$pid" 2>/dev/null; done
  rm -rf "$WORK"
}

# pixel FILE X Y: the colour of one pixel of a picture, as #RRGGBB.
pixel() { convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | tail -1 | grep -o '#[0-9A-F]\{6\}'; }
# shot FILE [root]: the game's window ($WIN), or the whole screen, as a picture.
shot() {
  local source=(-id "$WIN")
  [ "${2:-}" = root ] && source=(-root)
  xwd -silent "${source[@]}" >"$WORK/shot.xwd" && convert "$WORK/shot.xwd" "$1" || fail "screenshot failed"
}
# differing A B: how many pixels two pictures differ in.
differing() { compare -metric AE "$1" "$2" null: 2>&1; }
# still PICTURE: true once the window's picture stands still: two shots some frames apart agree (the X server may
# lag a frame behind the game). PICTURE keeps the first.
still() {
  shot "$1"
  wait_frames 3
  shot "$WORK/again.png"
  [ "$(differing "$1" "$WORK/again.png")" = 0 ]
}
# replay_headless KEYS FRAMES: morvanth-headless ($RUNNER) replays a window's recording for FRAMES frames; its
# state lines go to $WORK/replay.jsonl, its last picture to $WORK/replay.png.
replay_headless() {
  "$RUNNER" --input "$1" --frames "$2" --state "$WORK/replay.jsonl" --shot "$(($2 - 1)):$WORK/replay.png" \
    2>"$WORK/replay.err" || fail "morvanth-headless could not replay the recording: $(cat "$WORK/replay.err")"
}

# window_test_begin [BUILD]: BUILD (made absolute; as set when not given), GAME and RUNNER (the game and the
# headless runner in it, unless set), the scratch folder, and settings, data and home folders of the test's own
# inside it, so window tests running side by side share nothing but the build. Leak checking is off in the
# sanitizer build: the X, D-Bus and GL libraries SDL loads leave allocations behind that are not ours, and our
# own code is checked for leaks by the unit tests.
window_test_begin() {
  BUILD=$(cd "${1:-${BUILD:-}}" && pwd) || fail "no build folder ${1:-${BUILD:-}}"
  GAME=${GAME:-$BUILD/morvanth}
  RUNNER=${RUNNER:-$BUILD/morvanth-headless}
  scratch_begin
  export XDG_CONFIG_HOME="$WORK/config" XDG_DATA_HOME="$WORK/data" HOME="$WORK/home"
  mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$HOME"
  STATE="$WORK/state.jsonl"
  export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}detect_leaks=0"
}

# start_xvfb LOGFILE [WxH]: Xvfb (screen 1024x768 unless given) on a display number it picks itself; returns
# once it accepts clients, with DISPLAY exported and XVFB_PID set. Without -noreset Xvfb would reset when its
# last client leaves, refusing a client that connects meanwhile.
start_xvfb() {
  local log=$1 screen=${2:-1024x768} number=""
  exec 3<> <(:)
  Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp -noreset >"$log" 2>&1 &
  XVFB_PID=$!
  read -r -t 60 number <&3 || fail "Xvfb did not start: $(cat "$log")"
  exec 3<&-
  [ -n "$number" ] || fail "Xvfb gave no display number"
  export DISPLAY=":$number"
  # The window tests do not depend on a sound card; the sound test chooses its own driver.
  export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
}

# game_session PROGRAM ARGS...: one session of the game (on whatever video driver the environment names),
# recording to WORK/rec.keys and ended as a desktop ends it (SIGTERM) once its window exists, which the recording
# it creates right after shows; output in WORK/out and WORK/err. Its status must be 0.
game_session() {
  local program=$1 status
  shift
  rm -f "$WORK/rec.keys"
  "$program" "$@" --record "$WORK/rec.keys" >"$WORK/out" 2>"$WORK/err" &
  GAME_PID=$!
  STILL_POLLS=600 wait_until "the game's recording" session_recording
  kill -TERM "$GAME_PID" 2>/dev/null
  wait "$GAME_PID"
  status=$?
  GAME_PID=""
  [ "$status" -eq 0 ] || fail "$program $*: status $status: $(cat "$WORK/err")"
}
session_recording() { [ -e "$WORK/rec.keys" ] || game_ended; }

# start_openbox: the window manager on DISPLAY (WM_PID set); returns once it has finished starting. Its
# _NET_SUPPORTING_WM_CHECK is set early in its start, and a window mapped between then and the end of the start
# is lost: openbox never maps it, and SDL waits for ever for its MapNotify (seen once in a hundred starts on a
# busy machine). The command openbox runs when its start is over is the sign.
start_openbox() {
  rm -f "$WORK/openbox.started"
  openbox --sm-disable --startup "touch $WORK/openbox.started" >"$WORK/openbox.log" 2>&1 &
  WM_PID=$!
  wait_until "the window manager" wm_ready
}
wm_ready() { [ -e "$WORK/openbox.started" ]; }

# start_game ARGS...: starts "$GAME" (behind the words of the array LAUNCHER, if set) with ARGS, its output in
# WORK/game.out and game.err and its state lines in STATE (WORK/state.jsonl, emptied first); sets GAME_PID,
# leaves its window's id in WIN and returns once the window is up and the first frame is done.
start_game() {
  launch_game "$@"
  wait_until "the first frame" at_frame 0
}
# launch_game ARGS...: start_game without waiting for a frame (a game that fails before its first one).
launch_game() {
  rm -f "$STATE"
  MORVANTH_STATE_FILE="$STATE" ${LAUNCHER[@]+"${LAUNCHER[@]}"} "$GAME" "$@" >"$WORK/game.out" 2>"$WORK/game.err" &
  GAME_PID=$!
  WIN=""
  wait_until "the window titled MORVANTH" window_shown
}
window_shown() {
  WIN=$(xwininfo -name MORVANTH 2>/dev/null | awk '/Window id:/ {print $4}')
  [ -n "$WIN" ]
}
# stop_game: closes the game as the desktop does (SIGTERM, which SDL turns into a quit request); its status
# must be 0.
stop_game() {
  kill -TERM "$GAME_PID"
  game_status_zero
}
# game_status_zero: waits for the game's end; its status must be 0.
game_status_zero() {
  wait "$GAME_PID"
  local status=$?
  GAME_PID=""
  [ "$status" -eq 0 ] || fail "the game ended with status $status: $(cat "$WORK/game.err")"
}
game_ended() { ! kill -0 "$GAME_PID" 2>/dev/null; }

# state: the last whole line the game wrote (empty before its first frame). A line being written has no end of
# line yet and is passed over.
state() {
  local line last=""
  while IFS= read -r line; do last=$line; done < <(tail -n 2 "${STATE:-/dev/null}" 2>/dev/null)
  printf '%s\n' "$last"
}
# field NAME: NAME's number or truth value in the last state line; empty where the line has none.
field() {
  local line
  line=$(state)
  [[ $line =~ \"$1\":(-?[0-9]+|true|false) ]] && echo "${BASH_REMATCH[1]}"
}
frame() {
  local value
  value=$(field frame)
  echo "${value:--1}"
}
at_frame() { [ "$(frame)" -ge "$1" ]; }
is() { [ "$(field "$1")" = "$2" ]; }
at_least() { local value; value=$(field "$1"); [ -n "$value" ] && [ "$value" -ge "$2" ]; }
at_most() { local value; value=$(field "$1"); [ -n "$value" ] && [ "$value" -le "$2" ]; }

# steer_to_y LOW HIGH: moves the ship with Up or Down until its y is within LOW..HIGH, by presses that xdotool
# times itself: each as long as the frames the ship needs to reach the band's middle, less half a frame. The
# polls of the game's state may lag far behind it on a busy machine, and a key let go on what they show would
# carry the ship past the band; a game slowed down moves the ship less in a press, never further.
steer_to_y() {
  local y middle=$((($1 + $2) / 2)) speed key steps ms turns=0
  while y=$(field y) && [ -n "$y" ]; do
    [ "$y" -lt "$1" ] || [ "$y" -gt "$2" ] || return 0
    speed=$(field speed)
    if [ "$y" -gt "$middle" ]; then
      key=Up steps=$(((y - middle) / ${speed:-4}))
    else
      key=Down steps=$(((middle - y) / ${speed:-4}))
    fi
    # At least a frame and a half: a press that falls between two polls of the keyboard is lost.
    ms=$(((2 * steps - 1) * 1000 / 120))
    [ "$ms" -ge 25 ] || ms=25
    xdotool keydown "$key" sleep "$((ms / 1000)).$(printf %03d $((ms % 1000)))" keyup "$key" ||
      fail "xdotool could not press $key"
    wait_frames 2
    turns=$((turns + 1))
    [ "$turns" -le 20 ] || fail "the ship was not steered into y $1..$2 in 20 presses (at $y)"
  done
  fail "no ship to steer: $(state)"
}

# wait_until WHAT COMMAND...: polls COMMAND until it succeeds. Fails, naming WHAT (and what the command
# WAIT_EXPLAIN, if set, says then), when the game ends first, makes no frame for STILL_POLLS polls (default 1200,
# a minute at least), or runs WAIT_FRAMES frames (default 3600, a minute of play) in vain. Without a game
# running, it gives up after STILL_POLLS polls.
wait_until() {
  local what=$1 start now last polls=0
  shift
  start=$(frame)
  last=$start
  until "$@"; do
    polls=$((polls + 1))
    if [ -n "$GAME_PID" ]; then
      if game_ended; then
        # The game may have ended just after the last look: its end may be what was awaited (game_ended).
        "$@" && return 0
        wait "$GAME_PID"
        wait_failed "the game ended (status $?) while waiting for $what: $(tail -5 "$WORK/game.err" 2>/dev/null)"
      fi
      now=$(frame)
      [ "$now" -ne "$last" ] && last=$now polls=0
      [ $((now - start)) -le "${WAIT_FRAMES:-3600}" ] || wait_failed "$((now - start)) frames went by without $what"
    fi
    [ "$polls" -le "${STILL_POLLS:-1200}" ] ||
      wait_failed "${GAME_PID:+the game stood still at frame $now, }waited in vain for $what"
    sleep 0.05
  done
}
# What a failed wait says besides its own words: WAIT_EXPLAIN's answer, the game's last words and the windows
# on the display, so a rare failure on a busy machine can be told apart from a game that hung.
wait_failed() {
  local context=""
  [ -n "${GAME_PID:-}" ] && context="; the game's last words: $(tail -3 "$WORK/game.err" 2>/dev/null | tr '\n' ' ')"
  [ -n "${DISPLAY:-}" ] && context="$context; windows: $(xwininfo -root -tree 2>/dev/null | grep -o '"[^"]*"' | sort -u | tr '\n' ' ')"
  [ -n "${WM_PID:-}" ] && ! kill -0 "$WM_PID" 2>/dev/null && context="$context; the window manager has ended"
  # A game that stands still: where each of its threads waits, so a hang outside the game's own code (a
  # library's blocking wait) shows where it is.
  if [ -n "${GAME_PID:-}" ] && kill -0 "$GAME_PID" 2>/dev/null && command -v gdb >/dev/null; then
    echo "the game's threads (gdb):" >&2
    timeout 60 gdb -p "$GAME_PID" -batch -ex "thread apply all bt 12" 2>/dev/null | grep -E '^(Thread|#)' >&2
  fi
  fail "$*${WAIT_EXPLAIN:+ ($WAIT_EXPLAIN: $($WAIT_EXPLAIN))}$context"
}
# wait_frames N: returns once the game has finished N more frames.
wait_frames() {
  local target=$(($(frame) + $1))
  wait_until "frame $target" at_frame "$target"
}

# keys_down KEY... / keys_up KEY...: presses or releases keys (xdotool's names) and returns once the game has
# sampled them: the frame after the next one started after xdotool was done (xdotool waits for the X server
# on closing, so the key event is on its way to the game when it returns).
keys_down() {
  xdotool keydown "$@" || fail "xdotool keydown $*"
  wait_frames 2
}
keys_up() {
  xdotool keyup "$@" || fail "xdotool keyup $*"
  wait_frames 2
}
# tap_until WHAT KEY COMMAND...: taps KEY, held for a frame at least, until COMMAND succeeds (a few times at most).
tap_until() {
  local what=$1 key=$2 try
  shift 2
  for try in 1 2 3 4 5; do
    "$@" && return
    keys_down "$key"
    keys_up "$key"
  done
  "$@" || fail "$key did not bring $what: $(state)"
}
