#!/usr/bin/env bash
# morvanth-headless through the title and the ending: the logo's drawing time, the texts, Enter, the ending's
# scroll with Ctrl, Escape back to the title; PNG shots checked pixel by pixel, JSON state line by line.
set -u
source "$(dirname "$0")/headless.bash" "$1"

# --- title: 135 frames of drawing, then the texts; held Enter from frame 50 does not start the game ---
printf '50 ENTER\n' >"$WORK/title.in"
"$RUNNER" --classic --frames 200 --input "$WORK/title.in" --state "$WORK/title.jsonl" \
  --shot 20:"$WORK/drawing.png" --shot 199:"$WORK/title.png" 2>"$WORK/title.err" || fail "title run: $(cat "$WORK/title.err")"
[ "$(wc -l <"$WORK/title.jsonl")" -eq 200 ] || fail "expected 200 state lines"
line "$WORK/title.jsonl" 0 | grep -q '"frame":0,"scene":0,"sceneFrame":1,"complete":false' || fail "frame 0: $(line "$WORK/title.jsonl" 0)"
line "$WORK/title.jsonl" 49 | grep -q '"complete":false' || fail "frame 49 should still be drawing"
# Enter at frame 50 completes the drawing at once; held, it never starts the game.
line "$WORK/title.jsonl" 50 | grep -q '"complete":true,"idleCount":589' || fail "frame 50: $(line "$WORK/title.jsonl" 50)"
line "$WORK/title.jsonl" 199 | grep -q '"scene":0' || fail "held Enter left the title"
# While drawing, the logo flickers green or white; a finished title has a red logo and white texts.
case "$(pixel "$WORK/drawing.png" 102 128)" in
  "#008000" | "#00FF00" | "#FFFFFF") ;;
  *) fail "drawing logo corner is $(pixel "$WORK/drawing.png" 102 128)" ;;
esac
[ "$(pixel "$WORK/title.png" 102 128)" = "#FF0000" ] || fail "finished logo is not red"
WHITE=$(convert "$WORK/title.png" -crop 800x40+0+325 +repage -fill black +opaque "#FFFFFF" -fill white -opaque "#FFFFFF" \
        -format "%[fx:mean*w*h]" info:)
[ "${WHITE%.*}" -gt 50 ] || fail "no PRESS ENTER text ($WHITE white pixels)"

# --- no key: the drawing completes in its 135th frame ---
"$RUNNER" --classic --frames 136 --state "$WORK/plain.jsonl" 2>"$WORK/plain.err" || fail "plain run: $(cat "$WORK/plain.err")"
line "$WORK/plain.jsonl" 133 | grep -q '"complete":false' || fail "complete before frame 135"
line "$WORK/plain.jsonl" 134 | grep -q '"complete":true,"idleCount":590' || fail "frame 135: $(line "$WORK/plain.jsonl" 134)"
line "$WORK/plain.jsonl" 135 | grep -q '"logoColor":4294901760' || fail "logo not red after completion"

# --- Enter on a finished title starts the game ---
printf '150 ENTER\n' >"$WORK/start.in"
"$RUNNER" --classic --frames 160 --input "$WORK/start.in" --state "$WORK/start.jsonl" 2>"$WORK/start.err" ||
  fail "starting the game: $(cat "$WORK/start.err")"
line "$WORK/start.jsonl" 149 | grep -q '"scene":0' || fail "the game started before Enter"
line "$WORK/start.jsonl" 150 | grep -q '"scene":1' || fail "Enter did not start the game"

# --- ending: Ctrl scrolls 10 per frame, Escape returns to the title, which is drawn anew ---
printf '0 LCTRL\n100 ESC\n101\n' >"$WORK/ending.in"
"$RUNNER" --classic --start-scene 2 --frames 240 --input "$WORK/ending.in" --state "$WORK/ending.jsonl" \
  --shot 49:"$WORK/ending.png" --shot 239:"$WORK/back.png" 2>"$WORK/ending.err" || fail "ending run: $(cat "$WORK/ending.err")"
line "$WORK/ending.jsonl" 0 | grep -q '"scene":2,"sceneFrame":1,"scroll":10.0' || fail "ending frame 0: $(line "$WORK/ending.jsonl" 0)"
line "$WORK/ending.jsonl" 49 | grep -q '"scroll":500.0' || fail "ending frame 49: $(line "$WORK/ending.jsonl" 49)"
line "$WORK/ending.jsonl" 100 | grep -q '"scene":0,"sceneFrame":0' || fail "Escape did not return to the title"
# Scroll 500: line 0 at y 100 and line 2 at y 200 in yellow; line 3 (y 250) is empty.
YELLOW() { convert "$WORK/ending.png" -crop "800x50+0+$1" +repage -fx "(r>0.6&&g>0.6&&b<0.2)?1:0" \
           -format "%[fx:mean*w*h]" info:; }
[ "$(YELLOW 100 | cut -d. -f1)" -gt 20 ] || fail "no yellow text for line 0"
[ "$(YELLOW 200 | cut -d. -f1)" -gt 20 ] || fail "no yellow text for line 2"
[ "$(YELLOW 250 | cut -d. -f1)" -eq 0 ] || fail "text where line 3 is empty"
[ "$(pixel "$WORK/ending.png" 5 5)" = "#000000" ] || fail "ending background is not black"
[ "$(pixel "$WORK/back.png" 102 128)" = "#FF0000" ] || fail "the title after the ending has no red logo"

# --- --help: the usage on standard output, status 0 ---
"$RUNNER" --help >"$WORK/help.out" 2>&1 || fail "--help gave status $?"
grep -q "^usage: morvanth-headless" "$WORK/help.out" || fail "--help printed: $(cat "$WORK/help.out")"

# --- the same input gives the same frames ---
"$RUNNER" --classic --start-scene 2 --frames 50 --input "$WORK/ending.in" --shot 49:"$WORK/again.png" 2>/dev/null || fail "rerun"
cmp -s "$WORK/ending.png" "$WORK/again.png" || fail "two runs of the same input differ"

if [ -n "${MORVANTH_SHOT_DIR:-}" ]; then cp "$WORK"/*.png "$MORVANTH_SHOT_DIR/"; fi
echo "ok: title and ending"
