#!/usr/bin/env bash
# The layers of src/ in their order, lowest first: no file includes a header of a layer above its own (which
# also rules out include cycles between folders), and nothing in src/ includes the tools' support code. The
# design's chief headers that only gather others (UObjects.h, ...) gather existing headers and nothing includes
# them: every file includes the headers that declare what it uses.
set -u
SRC=$(cd "$2" && pwd)/src
LAYERS=(base platform device render data objects scenes app)
source "$(dirname "$0")/lib.bash"

# Includes name headers without their folder (the include path holds every folder), so a header is known by its
# file name alone, and two files of one name would make an include ambiguous.
declare -A rank home where
place() { # place FILE LAYER
  local name
  name=$(basename "$1")
  [ -z "${where[$name]:-}" ] || fail "two files named $name: ${where[$name]#"$SRC"/} and ${1#"$SRC"/}"
  home[$name]=$2
  where[$name]=$1
}
for i in "${!LAYERS[@]}"; do
  rank[${LAYERS[$i]}]=$i
  [ -d "$SRC/${LAYERS[$i]}" ] || fail "no folder src/${LAYERS[$i]}"
  while read -r f; do place "$f" "${LAYERS[$i]}"; done < <(find "$SRC/${LAYERS[$i]}" -type f)
done
for f in "$(dirname "$SRC")"/tools/common/*; do place "$f" tools; done
for dir in "$SRC"/*/; do
  layer=$(basename "$dir")
  [ -n "${rank[$layer]+x}" ] || fail "src/$layer is not one of the layers (${LAYERS[*]})"
done

problems=0
for layer in "${LAYERS[@]}"; do
  while read -r file; do
    while read -r header; do
      target=${home[$(basename "$header")]:-}
      [ -z "$target" ] && continue
      if [ "$target" = tools ] || [ "${rank[$target]}" -gt "${rank[$layer]}" ]; then
        echo "upward include: ${file#"$SRC"/} includes \"$header\" of $target" >&2
        problems=$((problems + 1))
      fi
    done < <(sed -n 's/^#include "\(.*\)".*/\1/p' "$file")
  done < <(find "$SRC/$layer" -type f)
done
[ "$problems" -eq 0 ] || fail "$problems include(s) point upwards"

CHIEFS=(objects/UObjects.h scenes/UCommon.h render/SXlib9.h data/UDatabase.h device/VUDader9.h)
for chief in "${CHIEFS[@]}"; do
  [ -f "$SRC/$chief" ] || fail "no chief header src/$chief"
  grep -v '^\s*//\|^\s*$\|^#pragma once$\|^#include "' "$SRC/$chief" && fail "src/$chief declares more than it gathers"
  while read -r header; do
    [ -n "${home[$header]:-}" ] || fail "src/$chief gathers \"$header\", which is not in src/"
  done < <(sed -n 's/^#include "\(.*\)".*/\1/p' "$SRC/$chief")
  users=$(grep -rl --include='*.h' --include='*.cpp' --include='*.inc' "#include \"$(basename "$chief")\"" \
    "$SRC" "$SRC/../tools" "$SRC/../tests" "$SRC/../bench" "$SRC/../fuzz" 2>/dev/null)
  [ -z "$users" ] || fail "$(basename "$chief") is included by ${users//$'\n'/, } (include what is used instead)"
done
echo "ok: every include points to its own layer or one below; the chief headers are gathered, not used"
