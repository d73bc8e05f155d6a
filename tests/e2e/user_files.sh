#!/usr/bin/env bash
# The player's own files are never lost and a failed write is never a success: every file the tools write
# going to a full disk (/dev/full) ends with a message and status 1; a folder given as the input or the replay
# is an error; recording over the replay (by name, symbolic or hard link) is a usage error (status 2) that
# leaves the replay as it was.
set -u
source "$(dirname "$0")/headless.bash" "$1"
GAME="$BUILD/morvanth"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy

expect() {  # expect STATUS TEXT WHAT: the status of the command just run, and a line of its standard error
  local got=$4
  [ "$got" -eq "$1" ] || fail "$3: status $got, expected $1 ($(cat "$WORK/err"))"
  grep -qF -- "$2" "$WORK/err" || fail "$3: no \"$2\" in: $(cat "$WORK/err")"
}

# 1. The headless runner: state lines, the sound log and a shot into a full disk; a folder as the input.
"$RUNNER" --frames 30 --state /dev/full 2>"$WORK/err"
expect 1 "could not write the state file /dev/full" "state into a full disk" $?
"$RUNNER" --frames 30 --state - >/dev/full 2>"$WORK/err"
expect 1 "could not write the state file -" "state on a full standard output" $?
"$RUNNER" --frames 30 --sound-log /dev/full 2>"$WORK/err"
expect 1 "could not write the sound log /dev/full" "sound log into a full disk" $?
"$RUNNER" --frames 10 --shot 5:/dev/full 2>"$WORK/err"
expect 1 "cannot write PNG file: /dev/full" "shot into a full disk" $?
"$RUNNER" --frames 10 --input "$WORK" 2>"$WORK/err"
expect 1 "cannot read the input file $WORK" "a folder as the input" $?

# 2. The game: recording over its own replay, under the same name or through links, is refused before
# anything is written.
printf 'seed 7\n0\n3 Z\n9\n' >"$WORK/run.keys"
cp "$WORK/run.keys" "$WORK/original.keys"
ln -s "$WORK/run.keys" "$WORK/soft.keys"
ln "$WORK/run.keys" "$WORK/hard.keys"
for record in run.keys soft.keys hard.keys; do
  (cd "$WORK" && timeout 20 "$GAME" --replay run.keys --record "$record" 2>"$WORK/err")
  expect 2 "would overwrite the replay" "recording over the replay as $record" $?
  cmp -s "$WORK/run.keys" "$WORK/original.keys" || fail "the replay changed when recorded over as $record"
done
timeout 20 "$GAME" --replay "$WORK" 2>"$WORK/err"
expect 1 "cannot read the replay $WORK" "a folder as the replay" $?

# 3. The game recording into a full disk: ended by SIGTERM once the recording is open (the window comes
# first, so SDL turns the signal into a quit), it reports the loss and fails.
"$GAME" --replay "$WORK/run.keys" --record /dev/full 2>"$WORK/err" &
GAME_PID=$!
recording_open() { ls -l "/proc/$GAME_PID/fd" 2>/dev/null | grep -q /dev/full || game_ended; }
wait_until "the recording open on /dev/full" recording_open
kill -TERM "$GAME_PID" 2>/dev/null
wait "$GAME_PID"
expect 1 "could not write the recording /dev/full" "recording into a full disk" $?

echo "ok: write failures fail, folders are refused, a replay is never recorded over"
