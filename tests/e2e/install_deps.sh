#!/usr/bin/env bash
# scripts/install-deps.sh against stand-ins for dpkg-query, id, sudo and apt-get on a PATH of their own:
# --game asks only for the game's packages, the default for the tests' too, --aarch64 for the Arm cross build; a user runs apt-get through plain
# sudo (which may ask for a password), root runs it directly; with neither root nor sudo it says in one line
# what to install and fails; with nothing missing it does nothing.
set -u
SRC=$(cd "$2" && pwd)
source "$(dirname "$0")/lib.bash"
scratch_begin
BIN="$WORK/bin" LOG="$WORK/calls"
mkdir "$BIN"
for tool in grep env; do ln -s "$(command -v "$tool")" "$BIN/$tool"; done
# Every package is missing unless INSTALLED=1; the user is MORVANTH_UID.
cat >"$BIN/dpkg-query" <<'STUB'
#!/bin/bash
[ "${INSTALLED:-0}" = 1 ] && printf 'install ok installed'
exit 0
STUB
printf '#!/bin/bash\necho "$MORVANTH_UID"\n' >"$BIN/id"
printf '#!/bin/bash\necho "apt-get $*" >>"%s"\n' "$LOG" >"$BIN/apt-get"
printf '#!/bin/bash\n[ "$1" = --print-foreign-architectures ] || echo "dpkg $*" >>"%s"\n' "$LOG" >"$BIN/dpkg"
printf '#!/bin/bash\necho "sudo $*" >>"%s"\n' "$LOG" >"$BIN/sudo.stub"
chmod +x "$BIN"/*

# run NAME UID [install-deps arguments]: status in $status.
run() {
  local name=$1 uid=$2; shift 2
  : >"$LOG"
  MORVANTH_UID=$uid PATH="$BIN" "$BASH" "$SRC/scripts/install-deps.sh" "$@" >"$WORK/$name.out" 2>"$WORK/$name.err"
  status=$?
}

# Neither root nor sudo: one line naming the command and the packages, status 1, nothing run.
run nosudo 1000 --game
[ "$status" -eq 1 ] || fail "without sudo: status $status"
[ "$(wc -l <"$WORK/nosudo.err")" -eq 1 ] && grep -q "apt-get install build-essential .*libsdl2-dev" "$WORK/nosudo.err" ||
  fail "without sudo it said: $(cat "$WORK/nosudo.err")"
[ ! -s "$LOG" ] || fail "without sudo it ran: $(cat "$LOG")"

# A user with sudo: plain sudo, so that it can ask for a password; --game asks for the game's packages only.
mv "$BIN/sudo.stub" "$BIN/sudo"
run game 1000 --game
[ "$status" -eq 0 ] || fail "--game with sudo: status $status $(cat "$WORK/game.err")"
grep -q "^sudo env DEBIAN_FRONTEND=noninteractive apt-get install .* libsdl2-mixer-dev .*fonts-ipafont-gothic" "$LOG" ||
  fail "--game did not install the game's packages through sudo: $(cat "$LOG")"
! grep -qE "googletest|valgrind|clang|xvfb|imagemagick|pixman" "$LOG" || fail "--game asked for test tools: $(cat "$LOG")"

run all 1000
grep -q "^sudo env .*apt-get install .*libsdl2-dev.* googletest .*libpixman-1-dev .*valgrind .*lintian" "$LOG" ||
  fail "the default set lacks the game's or the tests' packages: $(cat "$LOG")"

# Root runs apt-get itself.
run root 0 --game
[ "$status" -eq 0 ] && grep -q "^apt-get install" "$LOG" && ! grep -q "^sudo" "$LOG" || fail "as root: $(cat "$LOG")"

# Nothing missing: nothing run, nothing said.
INSTALLED=1 run none 1000
[ "$status" -eq 0 ] && [ ! -s "$LOG" ] && [ ! -s "$WORK/none.out" ] || fail "with everything installed: $(cat "$LOG")"

# The Arm set: arm64 added as a foreign architecture before apt-get reads the lists; JACK's arm64 files named
# ahead of SDL_mixer's, which apt cannot choose alone.
run arm 0 --aarch64
[ "$status" -eq 0 ] && [ "$(head -1 "$LOG")" = "dpkg --add-architecture arm64" ] &&
  grep -q "^apt-get install .*crossbuild-essential-arm64 .*qemu-user-static .*libjack-jackd2-dev:arm64 .*libsdl2-mixer-dev:arm64" "$LOG" ||
  fail "--aarch64: $(cat "$LOG" "$WORK/arm.err")"

run usage 0 --everything
[ "$status" -eq 2 ] || fail "a bad argument gave status $status"
echo "ok: install-deps.sh asks for the right packages in the right way"
