#!/usr/bin/env bash
# morvanth-textshot end to end: writes an 800 x 600 PNG of rendered text; a missing argument is refused.
# Argument 1: build folder holding morvanth-textshot.
set -u
tool="$(cd "$1" && pwd)/morvanth-textshot"
source "$(dirname "$0")/lib.bash"
scratch_begin

"$tool" "$WORK/text.png" 2>"$WORK/err" || fail_later "exit $? -- $(cat "$WORK/err")"
[ -s "$WORK/text.png" ] || fail_later "no PNG written"
# PNG signature, then the IHDR chunk with width 800 and height 600.
sig=$(head -c 20 "$WORK/text.png" | od -An -tx1 | tr -d ' \n')
[ "$sig" = "89504e470d0a1a0a0000000d4948445200000320" ] && [ "$(head -c 24 "$WORK/text.png" | tail -c 4 | od -An -tx1 | tr -d ' \n')" = "00000258" ] \
  || fail_later "not an 800 x 600 PNG: $sig"
[ ! -s "$WORK/err" ] || fail_later "unexpected messages: $(cat "$WORK/err")"

"$tool" >/dev/null 2>&1
[ $? -eq 2 ] || fail_later "missing argument not refused with status 2"

end_checks
echo "textshot: all checks passed"
