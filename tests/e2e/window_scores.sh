#!/usr/bin/env bash
# Lives, score and high scores in the real window (Xvfb with openbox), recorded and replayed: the title shows the
# skin's table from $XDG_DATA_HOME/morvanth/scores.ini under the skin selector; a game shows its score and the
# ships in reserve; a game given up with a score that makes the table asks for a name on the title, written with
# the arrows and kept in scores.ini beside everything else the file held. morvanth-headless replays the recording
# to the same score on every frame and to the same title, and keeps nothing. A scores.ini the game cannot read is
# said once and left alone. Every step waits on the game's state lines.
set -u
source "$(dirname "$0")/lib.bash"
window_test_begin "$1"
require_tools Xvfb xwininfo xwd convert compare xdotool openbox python3
SCORES="$XDG_DATA_HOME/morvanth/scores.ini"
mkdir -p "$(dirname "$SCORES")"
printf '# my scores\nnebula.1=5 NEB\nmorv.1=300 BOB\n' >"$SCORES"
start_xvfb "$WORK/xvfb.log"
start_openbox
# lit FILE GEOMETRY COLOUR: how many pixels of that colour the part of the picture holds.
lit() { convert "$1" -crop "$2" +repage -fill black +opaque "$3" -fill white -opaque "$3" -format "%[fx:mean*w*h]" info:; }
keep() { [ -n "${MORVANTH_SHOT_DIR:-}" ] && cp "$WORK/$1" "$MORVANTH_SHOT_DIR/scores-$1"; return 0; }

# The title: BOB's row of morv in white under the selector, the key help below the table.
start_game --record "$WORK/game.keys"
wait_until "the whole logo" is complete true
WAIT_FRAMES=1200 wait_until "a still title" still "$WORK/title.png"
[ "$(lit "$WORK/title.png" 260x20+170+400 '#FFFFFF')" -gt 20 ] || fail "no first row in the table"
[ "$(lit "$WORK/title.png" 260x40+170+445 '#FFFFFF')" = 0 ] || fail "white in the empty rows"
[ "$(lit "$WORK/title.png" 800x20+0+425 '#A0A0A0')" = 0 ] || fail "the key help is still where the table goes"
keep title.png

# A game: fire at the swallows until their points are in; paused (the background stands still), the score and
# two ships in reserve show. Held at y 92 to 108 from stage frame 400 on (the first group of bots, which crosses
# y 108 to 132, has gone by then, and a ship that met it would be lost), the ship shoots the swallows down from
# stage frame 760 on; above and below that band it misses them.
tap_until "the game" Return is scene 1
wait_until "the end of the fly-in" is entering false
keys_down z
wait_until "the first group gone" at_least stageFrame 400
steer_to_y 92 108
WAIT_EXPLAIN=state wait_until "points for the swallows" at_least score 301
keys_up z
tap_until "the pause" Escape is paused true
WAIT_FRAMES=1200 wait_until "a still picture of the paused game" still "$WORK/play.png"
[ "$(lit "$WORK/play.png" 120x20+8+4 '#FFFFFF')" -gt 30 ] || fail "no score at the top left"
ICONS=$(convert "$WORK/play.png" -crop 100x16+8+560 +repage -fx "(b>0.6&&r>0.4)?1:0" -format "%[fx:mean*w*h]" info:)
[ "${ICONS%.*}" -gt 40 ] || fail "no ships in reserve at the bottom left ($ICONS light pixels)"
keep play.png

# Given up (Escape twice): the score beats BOB's, so the title asks for a name; up writes an A after the login
# name (or steps its last letter when it fills all eight cells); Enter keeps it.
SCORE=$(field score)
tap_until "the title" Escape is scene 0
wait_until "the name entry" is nameEntry true
WAIT_FRAMES=1200 wait_until "a still name entry" still "$WORK/entry.png"
[ "$(lit "$WORK/entry.png" 800x30+0+325 '#FFFF00')" -gt 50 ] || fail "no prompt in yellow"
keep entry.png
NAME=$(python3 -c '
import os, pwd
letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.-"
name = "".join(c for c in pwd.getpwuid(os.getuid()).pw_name.upper() if c in letters)[:8] or "PLAYER"
cells = list(name.ljust(8)); at = min(len(name), 7)
cells[at] = "A" if cells[at] == " " else (letters + " ")[letters.index(cells[at]) + 1]
print("".join(cells).replace(" ", "") or name)')
keys_down Up
keys_up Up
tap_until "the name kept" Return is nameEntry false
grep -qx "morv.1=$SCORE $NAME" "$SCORES" || fail "the new first row is not morv.1=$SCORE $NAME: $(cat "$SCORES")"
grep -qx "morv.2=300 BOB" "$SCORES" && grep -qx "nebula.1=5 NEB" "$SCORES" && grep -qx "# my scores" "$SCORES" ||
  fail "the rest of the file changed: $(cat "$SCORES")"
[ ! -e "$SCORES.new" ] || fail "the replacement was left behind"
WAIT_FRAMES=1200 wait_until "a still table" still "$WORK/table.png"
[ "$(lit "$WORK/table.png" 260x40+170+400 '#FFFFFF')" -gt 40 ] || fail "the table does not show two rows"
keep table.png
stop_game

# The replay: the same score frame by frame, and the title's last picture; scores.ini stays as the game left it.
KEYS="$WORK/game.keys"
grep -q '^classic 0$' "$KEYS" && grep -q "^player " "$KEYS" && grep -qx 'score 300 BOB morv' "$KEYS" ||
  fail "the recording lacks what the scores depend on: $(head -8 "$KEYS")"
FRAMES=$(tail -1 "$KEYS")
cp "$SCORES" "$WORK/scores.before"
replay_headless "$KEYS" "$FRAMES"
scores() { sed -n 's/^{"frame":\([0-9]*\),"scene":1,.*"score":\([0-9]*\),.*/\1 \2/p' "$1"; }
[ "$(scores "$STATE" | wc -l)" -gt 100 ] || fail "the window wrote no game frames"
diff <(scores "$STATE") <(scores "$WORK/replay.jsonl") >"$WORK/diff" || fail "the replay scored otherwise: $(head -5 "$WORK/diff")"
[ "$(differing "$WORK/table.png" "$WORK/replay.png")" = 0 ] ||
  fail "the replay's title differs from the window's in $(differing "$WORK/table.png" "$WORK/replay.png") pixels"
cmp -s "$SCORES" "$WORK/scores.before" || fail "the replay changed scores.ini"

# A file the game cannot read: said once, never written.
head -c 2048 /dev/urandom >"$SCORES"
cp "$SCORES" "$WORK/scores.before"
SDL_VIDEODRIVER=dummy game_session "$GAME"
[ "$(grep -c "high scores not read, and not saved this session" "$WORK/err")" -eq 1 ] || fail "not said once: $(cat "$WORK/err")"
cmp -s "$SCORES" "$WORK/scores.before" || fail "the unreadable file was overwritten"
echo "ok: table, score, lives and name entry in the window, the same score replayed ($FRAMES frames)"
