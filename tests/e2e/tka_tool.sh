#!/usr/bin/env bash
# morvanth-tka end to end: pack, list and extract plain and compressed archives, and the error paths.
# Argument 1: build folder holding morvanth-tka.
set -u
tool="$(cd "$1" && pwd)/morvanth-tka"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# expect STATUS CMD...: runs CMD, keeps stdout/stderr in $work/out and $work/err, checks the exit status.
expect() {
  local want=$1; shift
  "$@" >"$work/out" 2>"$work/err"
  local got=$?
  [ "$got" -eq "$want" ] || fail "exit $got (wanted $want): $* -- $(cat "$work/err")"
}

cd "$work" || exit 1
mkdir in
head -c 20000 /dev/urandom >in/noise.bin
seq 1 5000 >in/Count.txt
printf 'BM' >in/tiny.bmp
: >in/empty.dat
printf 'ship' >"in/自機.bmp"

for mode in plain compressed; do
  flag=""; [ $mode = compressed ] && flag="--compress"
  expect 0 "$tool" pack $flag $mode.tka in/noise.bin in/Count.txt in/tiny.bmp in/empty.dat "in/自機.bmp"
  expect 0 "$tool" list $mode.tka
  grep -q "^$mode archive, 5 entries" "$work/out" || fail "list header of $mode: $(head -1 "$work/out")"
  grep -qE '^ +[0-9]+ +[0-9]+ +23893  Count\.txt$' "$work/out" || fail "list of $mode misses Count.txt"
  grep -q '自機.bmp$' "$work/out" || fail "list of $mode misses the Japanese id"
  for f in noise.bin Count.txt tiny.bmp empty.dat 自機.bmp; do
    expect 0 "$tool" extract $mode.tka "$f" "out-$mode-$f"
    cmp -s "in/$f" "out-$mode-$f" || fail "$mode: $f differs after extraction"
  done
  # Letter case is ignored; without OUT the entry lands in a file named after the id; - is standard output.
  (mkdir -p default-$mode && cd default-$mode && expect 0 "$tool" extract ../$mode.tka COUNT.TXT && cmp -s ../in/Count.txt COUNT.TXT) \
    || fail "$mode: extract without OUT"
  expect 0 "$tool" extract $mode.tka noise.bin -
  cmp -s in/noise.bin "$work/out" || fail "$mode: extract to standard output"
done
[ "$(stat -c %s compressed.tka)" -lt "$(stat -c %s plain.tka)" ] || fail "compression did not shrink the text"

# A command line it cannot read: the usage on standard error and status 2. Other errors: status 1 and a message.
expect 2 "$tool"
grep -q '^usage: morvanth-tka' "$work/err" || fail "no usage text without arguments"
expect 0 "$tool" --help
grep -q 'pack \[--compress\] ARCHIVE FILE' "$work/out" || fail "--help"
for args in frobnicate list "pack only.tka" "extract plain.tka"; do
  expect 2 "$tool" $args
  grep -q '^usage: morvanth-tka' "$work/err" || fail "no usage text for: $args"
done
expect 1 "$tool" list missing.tka
grep -q 'cannot open missing.tka' "$work/err" || fail "missing archive message: $(cat "$work/err")"
expect 1 "$tool" extract plain.tka nothing.bmp
grep -q "アーカイブ内には指定されたID 'nothing.bmp' を持つデータが見つかりません" "$work/err" || fail "unknown id message"
expect 1 "$tool" list in/noise.bin
grep -q 'Tessellar K Archiveの扱えるデータではありません' "$work/err" || fail "foreign file message"
head -c 600 compressed.tka >cut.tka
expect 1 "$tool" list cut.tka
grep -q 'ファイルの終わりを越えています' "$work/err" || fail "cut directory message: $(cat "$work/err")"
head -c 2000 compressed.tka >cutdata.tka
expect 1 "$tool" extract cutdata.tka noise.bin x
grep -q 'ファイルの終わりを越えています' "$work/err" || fail "cut data message: $(cat "$work/err")"
cp in/Count.txt in/count.TXT
expect 1 "$tool" pack dup.tka in/Count.txt in/count.TXT
grep -q '重複' "$work/err" || fail "duplicate id message: $(cat "$work/err")"

if [ $failures -ne 0 ]; then
  echo "$failures failure(s)" >&2
  exit 1
fi
echo "tka_tool: all checks passed"
