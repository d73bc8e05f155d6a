#!/usr/bin/env bash
# morvanth-textshot end to end: writes an 800 x 600 PNG of rendered text; a missing argument is refused.
# Argument 1: build folder holding morvanth-textshot.
set -u
tool="$(cd "$1" && pwd)/morvanth-textshot"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

"$tool" "$work/text.png" 2>"$work/err" || fail "exit $? -- $(cat "$work/err")"
[ -s "$work/text.png" ] || fail "no PNG written"
# PNG signature, then the IHDR chunk with width 800 and height 600.
sig=$(head -c 20 "$work/text.png" | od -An -tx1 | tr -d ' \n')
[ "$sig" = "89504e470d0a1a0a0000000d4948445200000320" ] && [ "$(head -c 24 "$work/text.png" | tail -c 4 | od -An -tx1 | tr -d ' \n')" = "00000258" ] \
  || fail "not an 800 x 600 PNG: $sig"
[ ! -s "$work/err" ] || fail "unexpected messages: $(cat "$work/err")"

"$tool" >/dev/null 2>&1
[ $? -eq 2 ] || fail "missing argument not refused with status 2"

[ $failures -eq 0 ] || exit 1
echo "textshot: all checks passed"
