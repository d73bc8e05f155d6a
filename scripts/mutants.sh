#!/usr/bin/env bash
# Plants the faults of tests/mutants/faults.tsv one at a time into a scratch copy of the tree and reports, for
# each, whether the tests notice it (killed) or not (survived). The copy is built once; each fault then costs one
# incremental build, the unit tests (the fault's own filter first, then the rest, stopping at the first failure)
# and the headless end-to-end scripts, fastest first, until one fails.
#
#   scripts/mutants.sh [--check] [--only REGEX] [--keep] [--table FILE]
#     --check       only parse the table and prove each original text occurs exactly once (no build)
#     --only REGEX  run the faults whose id matches REGEX (extended regex)
#     --keep        leave the scratch copy behind (its path is printed)
# Exits 1 when a fault survives, 2 when the table is stale or malformed, or the unmutated tree fails its tests.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
table="$root/tests/mutants/faults.tsv"
only="" check=0 keep=0
while [ $# -gt 0 ]; do
  case "$1" in
    --check) check=1 ;;
    --only) only="$2"; shift ;;
    --keep) keep=1 ;;
    --table) table="$(cd "$(dirname "$2")" && pwd)/$(basename "$2")"; shift ;;
    *) echo "mutants.sh: unknown argument $1" >&2; exit 2 ;;
  esac
  shift
done
command -v python3 >/dev/null || { echo "mutants.sh: python3 is needed" >&2; exit 2; }

# The table's one reader. Columns, tab-separated: id, file, original, replacement, first tests (a gtest filter or
# -), the behaviour the fault breaks, and optionally "equivalent: why". In the texts \t, \n and \\ stand for a
# tab, a line break and a backslash; an empty replacement deletes the original. Lines starting with # and blank lines are skipped.
#   table.py check TREE            every original found exactly once in TREE
#   table.py ids                   id, first tests and equivalence, one fault a line
#   table.py apply TREE ID|revert  plants the fault (the file's original is kept beside it) or puts it back
table_py() {
  python3 - "$table" "$@" <<'PY'
import os, re, sys
table, cmd, args = sys.argv[1], sys.argv[2], sys.argv[3:]
def unescape(s):
    return re.sub(r'\\(.)', lambda m: {'t': '\t', 'n': '\n', '\\': '\\'}.get(m.group(1), '\\' + m.group(1)), s)
faults, errors = [], []
with open(table, encoding='utf-8') as f:
    for no, line in enumerate(f, 1):
        line = line.rstrip('\n')
        if not line.strip() or line.startswith('#'):
            continue
        cols = line.split('\t')
        if len(cols) not in (6, 7) or not all(c.strip() for i, c in enumerate(cols[:6]) if i != 3):
            errors.append(f'line {no}: expected 6 or 7 tab-separated columns, all but the replacement non-empty')
            continue
        if len(cols) == 7 and not cols[6].startswith('equivalent: '):
            errors.append(f'line {no}: the seventh column must read "equivalent: <why>"')
        faults.append(dict(no=no, id=cols[0], file=cols[1], orig=unescape(cols[2]), repl=unescape(cols[3]),
                           first=cols[4], breaks=cols[5], equiv=cols[6][12:] if len(cols) == 7 else ''))
ids = [x['id'] for x in faults]
for d in sorted({i for i in ids if ids.count(i) > 1}):
    errors.append(f'id {d} is used more than once')
for x in faults:
    if x['orig'] == x['repl']:
        errors.append(f'line {x["no"]} ({x["id"]}): the replacement equals the original')
def check(tree):
    for x in faults:
        path = os.path.join(tree, x['file'])
        if not os.path.isfile(path):
            errors.append(f'line {x["no"]} ({x["id"]}): no file {x["file"]}')
            continue
        n = open(path, encoding='utf-8').read().count(x['orig'])
        if n != 1:
            errors.append(f'line {x["no"]} ({x["id"]}): the original text occurs {n} times in {x["file"]}, not once')
if cmd == 'check':
    check(args[0])
if errors:
    print('mutants.sh: stale or malformed table ' + table + ':\n  ' + '\n  '.join(errors), file=sys.stderr)
    sys.exit(2)
if cmd == 'check':
    print(f'mutants.sh: {len(faults)} faults, every original text found exactly once')
elif cmd == 'ids':
    for x in faults:
        print('\t'.join([x['id'], x['first'], 'equivalent' if x['equiv'] else 'live', x['breaks']]))
elif cmd == 'apply':
    tree, want = args
    x = next(x for x in faults if x['id'] == want)
    path = os.path.join(tree, x['file'])
    text = open(path, encoding='utf-8').read()
    if text.count(x['orig']) != 1:
        sys.exit(f'mutants.sh: {want}: original text not found exactly once in {x["file"]}')
    os.replace(path, path + '.orig')
    open(path, 'w', encoding='utf-8').write(text.replace(x['orig'], x['repl']))
    print(x['file'])
PY
}

table_py check "$root"
[ "$check" = 1 ] && exit 0

jobs="${MORVANTH_JOBS:-2}"
scratch="$(mktemp -d "${TMPDIR:-/tmp}/morvanth-mutants.XXXXXX")"
if [ "$keep" = 1 ]; then echo "mutants.sh: scratch copy in $scratch"; else trap 'rm -rf "$scratch"' EXIT; fi
tree="$scratch/tree" build="$scratch/build" log="$scratch/log"
mkdir -p "$tree"
# The tree as it stands (tracked and new files, not what .gitignore leaves out), so uncommitted tests count too.
git -C "$root" ls-files -z --cached --others --exclude-standard |
  (cd "$root" && tar --null -T - -cf -) | tar -xf - -C "$tree"

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  # Paths relative to the scratch folder, so that the next run (in another temporary folder) hits the cache.
  export CCACHE_BASEDIR="$scratch" CCACHE_NOHASHDIR=true
fi
echo "mutants.sh: building the scratch copy"
cmake -S "$tree" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVANTH_BENCH=OFF "${launcher[@]}" >"$log" 2>&1 ||
  { cat "$log" >&2; exit 2; }
cmake --build "$build" -j"$jobs" >>"$log" 2>&1 || { tail -40 "$log" >&2; exit 2; }

unit="$build/tests/morvanth_tests"
# The end-to-end scripts that need no window, quickest first; the soak, packaging and valgrind runs are too slow
# or do not exercise the game's behaviour.
e2e=(textshot tka_tool skincheck skinart motionpaths bundled_skins skin_errors headless_title_ending
     headless_game headless_sound sound_files)

# Runs the unit tests, the fault's own filter first; prints the first failure, or nothing when all passed.
run_unit() {
  local first="$1" out="$scratch/run.out" rest="*"
  if [ "$first" != "-" ]; then
    rest="-$first"
    timeout 300 "$unit" --gtest_fail_fast --gtest_brief=1 --gtest_filter="$first" >"$out" 2>&1 ||
      { echo "unit tests ($(grep -m1 -o '\[  FAILED  \] [A-Za-z0-9_/.]*' "$out" | cut -c14- || true))"; return; }
  fi
  timeout 300 "$unit" --gtest_fail_fast --gtest_brief=1 --gtest_filter="$rest" >"$out" 2>&1 ||
    { echo "unit tests ($(grep -m1 -o '\[  FAILED  \] [A-Za-z0-9_/.]*' "$out" | cut -c14- || true))"; return; }
}
# Runs the end-to-end scripts in order; prints the first that failed, or nothing.
run_e2e() {
  local name
  for name in "${e2e[@]}"; do
    timeout 300 bash "$tree/tests/e2e/$name.sh" "$build" "$tree" >"$scratch/run.out" 2>&1 || { echo "e2e.$name"; return; }
  done
}

echo "mutants.sh: running the tests on the unmutated copy"
broken="$(run_unit - </dev/null)$(run_e2e </dev/null)"
[ -z "$broken" ] || { echo "mutants.sh: the unmutated tree fails: $broken" >&2; exit 2; }

killed=0 survived=0 equivalent=0 total=0
survivors=()
mapfile -t faults < <(table_py ids)
for fault in "${faults[@]}"; do
  IFS=$'\t' read -r id first kind breaks <<<"$fault"
  [ -n "$only" ] && ! [[ "$id" =~ $only ]] && continue
  total=$((total + 1))
  if [ "$kind" = equivalent ]; then
    equivalent=$((equivalent + 1))
    printf '%-10s %s\n' equivalent "$id"
    continue
  fi
  file="$(table_py apply "$tree" "$id")"
  # Most faults fail a unit test: the programs the end-to-end scripts need are linked only when none did.
  if cmake --build "$build" -j"$jobs" --target morvanth_tests >"$log" 2>&1; then
    by="$(run_unit "$first" </dev/null)"
    if [ -z "$by" ]; then
      cmake --build "$build" -j"$jobs" >"$log" 2>&1 || { echo "mutants.sh: fault $id does not compile" >&2; exit 2; }
      by="$(run_e2e </dev/null)"
    fi
  else
    mv "$tree/$file.orig" "$tree/$file"
    echo "mutants.sh: fault $id does not compile:" >&2
    grep -m5 'error' "$log" >&2 || true
    exit 2
  fi
  mv "$tree/$file.orig" "$tree/$file"
  touch "$tree/$file"  # newer than the mutant's objects, so the next build puts the original back
  if [ -n "$by" ]; then
    killed=$((killed + 1))
    printf '%-10s %-14s by %s\n' killed "$id" "$by"
  else
    survived=$((survived + 1))
    survivors+=("$id")
    printf '%-10s %-14s %s\n' SURVIVED "$id" "$breaks"
  fi
done

live=$((total - equivalent))
percent=$(( live > 0 ? (killed * 1000 / live + 5) / 10 : 100 ))
echo "mutants.sh: $total faults: $killed killed, $survived survived, $equivalent equivalent;" \
  "$percent% of the $live live faults killed"
[ "$survived" = 0 ] || { echo "mutants.sh: survivors: ${survivors[*]}" >&2; exit 1; }
