#!/usr/bin/env bash
# End-to-end test of morvanth-skincheck: a fixture skin built here (pictures written byte by byte), its JSON
# report, and the game's error messages for broken skins. Arguments: BUILD_DIR SOURCE_DIR.
set -u
BUILD=$1
SRC=$2
TOOL="$BUILD/morvanth-skincheck"
source "$(dirname "$0")/lib.bash"
scratch_begin

# A 2 x 2 24-bit BMP: top row red, magenta; bottom row green, blue.
write_bmp() {
  printf 'BM\x46\x00\x00\x00\x00\x00\x00\x00\x36\x00\x00\x00' >"$1"
  printf '\x28\x00\x00\x00\x02\x00\x00\x00\x02\x00\x00\x00\x01\x00\x18\x00' >>"$1"
  printf '\x00\x00\x00\x00\x10\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00' >>"$1"
  printf '\x00\xff\x00\xff\x00\x00\x00\x00' >>"$1"  # bottom row: green, blue, padding
  printf '\x00\x00\xff\xff\x00\xff\x00\x00' >>"$1"  # top row: red, magenta, padding
}

# make_skin ROOT: a usable skin "morv" whose definitions name every id the game looks up.
make_skin() {
  local root=$1
  mkdir -p "$root/skin/morv/xml" "$root/skin/morv/graphic" "$root/skin/system/graphic"
  write_bmp "$root/skin/morv/graphic/pic.bmp"
  write_bmp "$root/skin/system/graphic/map.bmp"
  {
    echo '<?xml version="1.0" encoding="UTF-8"?>'
    echo '<graphicdef>'
    for id in txtspeed txtmissile txtdouble txtlaser txtoption txtshield bgpowerup bgpowerupselected \
              shot laser bullet capsule ship option bot; do
      echo "  <sprite id=\"$id\" filename=\"pic.bmp\"><imagerect left=\"0\" top=\"0\" right=\"2\" bottom=\"2\"/></sprite>"
    done
    echo '  <sprite id="tinted" filename="pic.bmp" blendmode="add"><imagerect right="1" bottom="1"/>'
    echo '    <origin x="1" y="1"/><vertexcolor color="$80FFFFFF" rb="$FFFF0000"/></sprite>'
    echo '  <animation id="explosion" maxframe="30"><sprite ref="tinted" frame="10" alpha="128"/><sprite ref="bot"/></animation>'
    echo '</graphicdef>'
  } >"$root/skin/morv/xml/graphicdef.xml"
  cat >"$root/skin/morv/xml/stagedef.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<stages>
  <stage title="ステージ１">
    <restartpoint frame="0"/>
    <group frame="100" x="700" item="powerup">
      <enemy frame="0" motion="sturn1"/>
      <enemy frame="10" x="650" stageclear="true"/>
    </group>
  </stage>
  <stage/>
</stages>
XML
}

run() {  # run NAME ARGS...: stdout to $WORK/NAME.out, stderr to $WORK/NAME.err, status in $status
  local name=$1
  shift
  "$TOOL" "$@" >"$WORK/$name.out" 2>"$WORK/$name.err"
  status=$?
}

expect_error() {  # expect_error NAME TEXT: the run failed with status 1 and TEXT on standard error
  [ "$status" -eq 1 ] || fail_later "$1: status $status, expected 1"
  grep -qF -- "$2" "$WORK/$1.err" || fail_later "$1: standard error lacks '$2': $(cat "$WORK/$1.err")"
  [ ! -s "$WORK/$1.out" ] || fail_later "$1: printed a report despite the error"
}

# A good skin: the JSON report.
make_skin "$WORK/good"
run good "$WORK/good" morv --json
[ "$status" -eq 0 ] || fail_later "good: status $status: $(cat "$WORK/good.err")"
for text in '"skin": "morv"' '"graphicDefsLoaded": true' '"stageDefsLoaded": true' \
            '"id": "ship", "kind": "sprite", "width": 2, "height": 2, "origin": [0, 0], "hitArea": [0, 0, 2, 2]' \
            '"vertexColors": ["0x80FFFFFF", "0x80FFFFFF", "0x80FFFFFF", "0xFFFF0000"], "blendMode": 1' \
            '"hitArea": [-1, -1, 0, 0]' \
            '"texture": {"width": 2, "height": 2' \
            '"id": "explosion", "kind": "animation"' \
            '"maxFrame": 30, "repeat": false, "frames": [{"frame": 0, "ref": "bot", "alpha": 255}, {"frame": 10, "ref": "tinted", "alpha": 128}]' \
            '"title": "ステージ１", "groupSizes": [2]' \
            '{"kind": "restartpoint", "frame": 0}' \
            '{"kind": "enemy", "frame": 100, "group": 0, "x": 700, "y": 0, "motion": 1, "graphic": "bot", "hp": 1, "stageClear": false, "item": 1, "speed": 5}' \
            '{"kind": "enemy", "frame": 110, "group": 0, "x": 650, "y": 0, "motion": 0, "graphic": "bot", "hp": 1, "stageClear": true, "item": 1, "speed": 5}' \
            '{"title": "STAGE2", "groupSizes": [], "entries": []}' \
            'map.bmp'; do
  grep -qF -- "$text" "$WORK/good.out" || fail_later "good: report lacks $text"
done
if command -v python3 >/dev/null; then
  python3 -c 'import json,sys; json.load(open(sys.argv[1]))' "$WORK/good.out" || fail_later "good: report is not valid JSON"
fi

# The plain summary, and the skin root given directly.
run summary "$WORK/good/skin"
[ "$status" -eq 0 ] && grep -q '^OK$' "$WORK/summary.out" || fail_later "summary: $(cat "$WORK/summary.out" "$WORK/summary.err")"

# Without a skin name the game's default: "morv", else the first usable skin.
mkdir -p "$WORK/other/skin"
cp -r "$WORK/good/skin/morv" "$WORK/other/skin/blue"
cp -r "$WORK/good/skin/system" "$WORK/other/skin/system"
run other "$WORK/other" --json
[ "$status" -eq 0 ] && grep -qF '"skin": "blue"' "$WORK/other.out" || fail_later "other: $(cat "$WORK/other.err")"

# Usage errors.
run usage
[ "$status" -eq 2 ] || fail_later "usage: status $status"
run badflag "$WORK/good" --yaml
[ "$status" -eq 2 ] || fail_later "badflag: status $status"

# Broken skins end with the game's own message on standard error.
GDEF="skin/morv/xml/graphicdef.xml"
SDEF="skin/morv/xml/stagedef.xml"

make_skin "$WORK/missingpic"
sed -i 's/id="laser" filename="pic.bmp"/id="laser" filename="nope.bmp"/' "$WORK/missingpic/$GDEF"
run missingpic "$WORK/missingpic" --json
expect_error missingpic '存在しないファイル名です (nope.bmp)'

make_skin "$WORK/truncated"
head -c 200 "$WORK/good/$GDEF" >"$WORK/truncated/$GDEF"
run truncated "$WORK/truncated" --json
expect_error truncated "graphicdef.xml"

make_skin "$WORK/notbmp"
echo "this is no picture" >"$WORK/notbmp/skin/morv/graphic/pic.bmp"
run notbmp "$WORK/notbmp" --json
expect_error notbmp "pic.bmp"

make_skin "$WORK/range"
sed -i 's/<enemy frame="0" motion="sturn1"\/>/<enemy frame="0" hp="99999999999"\/>/' "$WORK/range/$SDEF"
run range "$WORK/range" --json
expect_error range '"99999999999" は整数の範囲を超えています'

make_skin "$WORK/noframe"
sed -i 's/<restartpoint frame="0"\/>/<restartpoint\/>/' "$WORK/noframe/$SDEF"
run noframe "$WORK/noframe" --json
[ "$status" -eq 1 ] && [ "$(cat "$WORK/noframe.err")" = "frame" ] || fail_later "noframe: $(cat "$WORK/noframe.err")"

make_skin "$WORK/noship"
sed -i 's/id="ship"/id="boat"/' "$WORK/noship/$GDEF"
run noship "$WORK/noship" --json
expect_error noship '"ship"は定義されていないグラフィックIDです'

make_skin "$WORK/meteranim"
sed -i 's|<sprite id="txtlaser"[^\n]*</sprite>|<animation id="txtlaser" maxframe="5"><sprite ref="bot"/></animation>|' "$WORK/meteranim/$GDEF"
run meteranim "$WORK/meteranim" --json
expect_error meteranim '"txtlaser"はスプライトとして定義されていなければなりません'

make_skin "$WORK/animref"
sed -i 's|</graphicdef>|<animation id="loop" maxframe="5"><sprite ref="explosion"/></animation></graphicdef>|' \
  "$WORK/animref/$GDEF"
run animref "$WORK/animref" --json
expect_error animref 'アニメーション定義からスプライト以外を参照しています(ID:loop)'

run noskin "$WORK/good" other
expect_error noskin 'other'

# The bundled skin, when present, loads cleanly.
if [ -f "$SRC/skin/morv/xml/graphicdef.xml" ]; then
  run bundled "$SRC" --json
  [ "$status" -eq 0 ] || fail_later "bundled skin: $(cat "$WORK/bundled.err")"
fi

end_checks
echo "skincheck: all checks passed"
