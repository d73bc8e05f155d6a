#!/usr/bin/env bash
# The game's settings file through the real game (SDL's dummy video driver): a file with a byte-order mark,
# sections, comments, an unknown key and a broken line survives a session with only the game's values changed; a
# file the game could not read is reported once and left as it was; a linked file is updated where it lives.
# Arguments: BUILD_DIR.
set -u
BUILD=$(cd "$1" && pwd)
GAME="$BUILD/morvanth"
source "$(dirname "$0")/lib.bash"
scratch_begin
export XDG_CONFIG_HOME="$WORK/config" XDG_DATA_HOME="$WORK/data" XDG_DATA_DIRS="$WORK/shared"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
SETTINGS="$XDG_CONFIG_HOME/morvanth/settings.ini"
mkdir -p "$(dirname "$SETTINGS")"

# session ARGS...: one session of the game, standard error in WORK/err.
session() { game_session "$GAME" "$@"; }

# 1. What the player wrote stays; the game's values change where they stand or join its section.
printf '\xef\xbb\xbf; my settings\r\n[morvanth]\r\nvolume = 80\r\nlanguage=ja\r\nthis is not a setting\r\n\r\n[other]\r\nvolume=3\r\n' >"$SETTINGS"
session --volume 40
[ "$(grep -c "it is kept as it is" "$WORK/err")" -eq 1 ] || fail "the broken line is not reported once: $(cat "$WORK/err")"
grep -q "line 5 is not key=value" "$WORK/err" || fail "the broken line is not named: $(cat "$WORK/err")"
printf '\xef\xbb\xbf; my settings\r\n[morvanth]\r\nvolume=40\r\nlanguage=ja\r\nthis is not a setting\r\n' >"$WORK/expected"
cmp -s <(head -c "$(stat -c %s "$WORK/expected")" "$SETTINGS") "$WORK/expected" \
  || fail "the player's lines changed: $(cat -A "$SETTINGS")"
tail -c 20 "$SETTINGS" | grep -q $'\r\n\r\n\\[other\\]\r\nvolume=3\r$' || fail "the other section changed: $(cat -A "$SETTINGS")"
grep -q $'^fullscreen=0\r$' "$SETTINGS" || fail "the game's keys were not added: $(cat -A "$SETTINGS")"

# 2. Files the game could not read: said once, never overwritten, nothing saved.
for kind in nul random large; do
  case $kind in
    nul) printf 'volume=80\n\0\n' >"$SETTINGS" ;;
    random) head -c 2048 /dev/urandom >"$SETTINGS" ;;
    large) yes '# padding' | head -c 70000 >"$SETTINGS" ;;
  esac
  cp "$SETTINGS" "$WORK/before"
  session --volume 40
  [ "$(grep -c "settings not read, and not saved this session" "$WORK/err")" -eq 1 ] \
    || fail "$kind: not said once: $(cat "$WORK/err")"
  cmp -s "$SETTINGS" "$WORK/before" || fail "$kind: the unreadable file was overwritten"
done

# 3. A linked settings file: the file it leads to is updated, the link stays.
mkdir -p "$WORK/dotfiles"
printf '# mine\nvolume=80\n' >"$WORK/dotfiles/morvanth.ini"
rm "$SETTINGS"
ln -s ../../dotfiles/morvanth.ini "$SETTINGS"
session --volume 40
[ -L "$SETTINGS" ] || fail "the link was replaced"
[ "$(head -2 "$WORK/dotfiles/morvanth.ini")" = $'# mine\nvolume=40' ] || fail "the linked file: $(cat "$WORK/dotfiles/morvanth.ini")"
echo "ok: settings file"
