#!/usr/bin/env bash
# morvanth-tka end to end: pack, list and extract plain and compressed archives, and the error paths.
# Argument 1: build folder holding morvanth-tka.
set -u
tool="$(cd "$1" && pwd)/morvanth-tka"
source "$(dirname "$0")/lib.bash"
scratch_begin

# expect STATUS CMD...: runs CMD, keeps stdout/stderr in $WORK/out and $WORK/err, checks the exit status.
expect() {
  local want=$1; shift
  "$@" >"$WORK/out" 2>"$WORK/err"
  local got=$?
  [ "$got" -eq "$want" ] || fail_later "exit $got (wanted $want): $* -- $(cat "$WORK/err")"
}

cd "$WORK" || exit 1
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
  grep -q "^$mode archive, 5 entries" "$WORK/out" || fail_later "list header of $mode: $(head -1 "$WORK/out")"
  grep -qE '^ +[0-9]+ +[0-9]+ +23893  Count\.txt$' "$WORK/out" || fail_later "list of $mode misses Count.txt"
  grep -q '自機.bmp$' "$WORK/out" || fail_later "list of $mode misses the Japanese id"
  for f in noise.bin Count.txt tiny.bmp empty.dat 自機.bmp; do
    expect 0 "$tool" extract $mode.tka "$f" "out-$mode-$f"
    cmp -s "in/$f" "out-$mode-$f" || fail_later "$mode: $f differs after extraction"
  done
  # Letter case is ignored; without OUT the entry lands in a file named after the id; - is standard output.
  (mkdir -p default-$mode && cd default-$mode && expect 0 "$tool" extract ../$mode.tka COUNT.TXT && cmp -s ../in/Count.txt COUNT.TXT) \
    || fail_later "$mode: extract without OUT"
  expect 0 "$tool" extract $mode.tka noise.bin -
  cmp -s in/noise.bin "$WORK/out" || fail_later "$mode: extract to standard output"
done
[ "$(stat -c %s compressed.tka)" -lt "$(stat -c %s plain.tka)" ] || fail_later "compression did not shrink the text"

# A command line it cannot read: the usage on standard error and status 2. Other errors: status 1 and a message.
expect 2 "$tool"
grep -q '^usage: morvanth-tka' "$WORK/err" || fail_later "no usage text without arguments"
expect 0 "$tool" --help
grep -q 'pack \[--compress\] ARCHIVE FILE' "$WORK/out" || fail_later "--help"
for args in frobnicate list "pack only.tka" "extract plain.tka"; do
  expect 2 "$tool" $args
  grep -q '^usage: morvanth-tka' "$WORK/err" || fail_later "no usage text for: $args"
done
expect 1 "$tool" list missing.tka
grep -q 'cannot open missing.tka' "$WORK/err" || fail_later "missing archive message: $(cat "$WORK/err")"
expect 1 "$tool" extract plain.tka nothing.bmp
grep -q "アーカイブ内には指定されたID 'nothing.bmp' を持つデータが見つかりません" "$WORK/err" || fail_later "unknown id message"
expect 1 "$tool" list in/noise.bin
grep -q 'Tessellar K Archiveの扱えるデータではありません' "$WORK/err" || fail_later "foreign file message"
head -c 600 compressed.tka >cut.tka
expect 1 "$tool" list cut.tka
grep -q 'ファイルの終わりを越えています' "$WORK/err" || fail_later "cut directory message: $(cat "$WORK/err")"
head -c 2000 compressed.tka >cutdata.tka
expect 1 "$tool" extract cutdata.tka noise.bin x
grep -q 'ファイルの終わりを越えています' "$WORK/err" || fail_later "cut data message: $(cat "$WORK/err")"
cp in/Count.txt in/count.TXT
expect 1 "$tool" pack dup.tka in/Count.txt in/count.TXT
grep -q '重複' "$WORK/err" || fail_later "duplicate id message: $(cat "$WORK/err")"

end_checks
echo "tka_tool: all checks passed"
