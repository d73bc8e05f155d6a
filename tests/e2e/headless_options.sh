#!/usr/bin/env bash
# morvanth-headless --options drives the options screen from a key script: Tab opens it over the title, which
# stands still beneath it; fire is moved from Z to X (C, power-up's key, refused first); in the game X fires and
# Z does not. Without --options Tab does nothing. State lines checked line by line, the screen by its pixels.
set -u
source "$(dirname "$0")/headless.bash" "$1"

# Enter completes the logo; Tab opens the options; seven times Down to FIRE, Enter, C (refused), X; Escape; Enter
# starts the game, whose ship holds X, then Z.
printf '%s\n' '5 ENTER' 6 '10 TAB' 11 >"$WORK/options.in"
for i in 0 1 2 3 4 5 6; do printf '%s\n' "$((20 + 4 * i)) DOWN" "$((21 + 4 * i))" >>"$WORK/options.in"; done
printf '%s\n' '50 ENTER' 51 '55 C' 56 '60 X' 61 '66 ESC' 67 '70 ENTER' 71 '300 X' '400 Z' 500 >>"$WORK/options.in"
"$RUNNER" --options --frames 500 --input "$WORK/options.in" --state "$WORK/options.jsonl" \
  --shot 58:"$WORK/options.png" --shot 68:"$WORK/closed.png" 2>"$WORK/options.err" \
  || fail "options run: $(cat "$WORK/options.err")"
line "$WORK/options.jsonl" 9 | grep -q '"complete":true' || fail "frame 9: $(line "$WORK/options.jsonl" 9)"
line "$WORK/options.jsonl" 9 | grep -q '"options"' && fail "options before Tab: $(line "$WORK/options.jsonl" 9)"
line "$WORK/options.jsonl" 10 | grep -q '"options":{"row":0,"capture":false' || fail "frame 10: $(line "$WORK/options.jsonl" 10)"
# The title stands still under the screen: its frame counter and idle count do not move.
TITLE=$(line "$WORK/options.jsonl" 10 | grep -o '"sceneFrame":[0-9]*,"complete":true,"idleCount":[0-9]*')
line "$WORK/options.jsonl" 64 | grep -qF "$TITLE" || fail "the title moved under the options: $(line "$WORK/options.jsonl" 64)"
line "$WORK/options.jsonl" 48 | grep -q '"row":7,"capture":false' || fail "frame 48: $(line "$WORK/options.jsonl" 48)"
line "$WORK/options.jsonl" 57 | grep -q "\"capture\":true,\"note\":\"C IS POWER-UP'S KEY: PRESS ANOTHER\"" \
  || fail "C was not refused: $(line "$WORK/options.jsonl" 57)"
line "$WORK/options.jsonl" 62 | grep -q '"capture":false,"note":"FIRE IS ON X".*"keys":{"fire":"X","powerup":"C"' \
  || fail "fire not on X: $(line "$WORK/options.jsonl" 62)"
# Escape closes, but the title goes on only once it is let go (it would quit on it).
line "$WORK/options.jsonl" 66 | grep -q '"options"' || fail "gone while Escape is held: $(line "$WORK/options.jsonl" 66)"
line "$WORK/options.jsonl" 67 | grep -q '"options"' && fail "Escape let go, still open: $(line "$WORK/options.jsonl" 67)"
# The screen dims the title and shows its panel; closed, the title is as it was.
[ "$(pixel "$WORK/options.png" 102 128)" = "#4F0000" ] || fail "logo under the screen: $(pixel "$WORK/options.png" 102 128)"
[ "$(pixel "$WORK/options.png" 400 40)" != "#000000" ] || fail "no panel"
[ "$(pixel "$WORK/closed.png" 102 128)" = "#FF0000" ] || fail "logo after closing: $(pixel "$WORK/closed.png" 102 128)"
line "$WORK/options.jsonl" 72 | grep -q '"scene":1' || fail "the game did not start: $(line "$WORK/options.jsonl" 72)"
shots() { line "$WORK/options.jsonl" "$1" | grep -o '"shots":[0-9]*' | cut -d: -f2; }
[ "$(shots 399)" -gt 0 ] || fail "X did not fire: $(line "$WORK/options.jsonl" 399)"
[ "$(shots 499)" -eq 0 ] || fail "Z still fires: $(line "$WORK/options.jsonl" 499)"

# Without --options Tab opens nothing and the title goes on.
"$RUNNER" --frames 40 --input "$WORK/options.in" --state "$WORK/plain.jsonl" 2>"$WORK/plain.err" \
  || fail "plain run: $(cat "$WORK/plain.err")"
! grep -q '"options"' "$WORK/plain.jsonl" || fail "options without --options"
echo "ok: options screen driven by a key script, fire rebound to X"
