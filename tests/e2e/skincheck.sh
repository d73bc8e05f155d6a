#!/usr/bin/env bash
# End-to-end test of morvanth-skincheck: a fixture skin built here (pictures written byte by byte), its JSON
# report, the game's error messages for broken skins, a skin for each warning, and the contact sheet counted pixel
# by pixel. Arguments: BUILD_DIR SOURCE_DIR.
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

# The plain summary, and the skin root given directly. The fixture's stage-clear enemy flies straight off the field,
# and its second stage is empty: both load, and are warned about.
run summary "$WORK/good/skin"
[ "$status" -eq 0 ] && grep -q '^OK, 2 warnings$' "$WORK/summary.out" ||
  fail_later "summary: $(cat "$WORK/summary.out" "$WORK/summary.err")"
grep -qF 'warning stage-clear-escapes: stage 1, frame 110, id "bot", group 0: the stage-clear enemy is gone at frame 259' \
  "$WORK/summary.out" || fail_later "summary: no warning for the escaping stage-clear enemy: $(cat "$WORK/summary.out")"
grep -qF 'warning stage-never-clears: stage 2: no enemy has stageclear="true"' "$WORK/summary.out" ||
  fail_later "summary: no warning for the empty stage: $(cat "$WORK/summary.out")"

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

# Warnings: a skin that raises none, then one mistake at a time, each raising exactly the warnings named (stage,
# frame, id and group as the report gives them). The group flies in at y 300, the sturn1 enemy and the looping
# stage-clear enemy come onto the field and stay, and restart points are 2000 frames apart at most.
make_clean_skin() {
  make_skin "$1"
  cat >"$1/$SDEF" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<stages>
  <stage title="ONE">
    <group frame="100" y="300" item="powerup">
      <enemy frame="0"/>
      <enemy frame="10" y="320"/>
    </group>
    <enemy frame="400" motion="sturn1"/>
    <restartpoint frame="2000"/>
    <enemy frame="3000" motion="boss1" hp="50" stageclear="true"/>
    <!--more-->
  </stage>
</stages>
XML
}

# expect_warnings NAME SED_SCRIPT FILE LINE...: a clean skin changed by SED_SCRIPT in FILE warns exactly with the
# given lines (each the start of one line of the report), loads (status 0) and fails with --strict.
expect_warnings() {
  local name=$1 script=$2 file=$3
  shift 3
  make_clean_skin "$WORK/$name"
  sed -i "$script" "$WORK/$name/$file"
  run "$name" "$WORK/$name" morv
  [ "$status" -eq 0 ] || fail_later "$name: status $status: $(cat "$WORK/$name.err")"
  local count
  count=$(grep -c '^warning ' "$WORK/$name.out")
  [ "$count" -eq $# ] || fail_later "$name: $count warnings, expected $#: $(cat "$WORK/$name.out")"
  for line in "$@"; do
    grep -qF -- "$line" "$WORK/$name.out" || fail_later "$name: no line '$line': $(cat "$WORK/$name.out")"
  done
  run "$name.strict" "$WORK/$name" morv --strict
  [ "$status" -eq 1 ] || fail_later "$name: --strict gave status $status"
}

make_clean_skin "$WORK/clean"
run clean "$WORK/clean" morv --strict --json
[ "$status" -eq 0 ] && grep -qF '"warnings": []' "$WORK/clean.out" || fail_later "clean: $(cat "$WORK/clean.out" "$WORK/clean.err")"

expect_warnings offfield 's|<!--more-->|<enemy frame="500" y="700"/>|' "$SDEF" \
  'warning enemy-never-on-field: stage 1, frame 500, id "bot": its hit area never overlaps the 800 x 600 field'
expect_warnings escapes 's|<!--more-->|<group frame="600" hp="30" speed="20"><enemy frame="0" y="100"/><enemy frame="5" y="200"/></group>|' "$SDEF" \
  'warning group-escapes: stage 1, frame 600, id "bot", group 1: 2 of the 2 members of group 1 leave the field before a ship without power-ups can destroy them (the first: on the field for 40 frames, 30 hit points need 349)'
expect_warnings unused 's|</graphicdef>|<sprite id="spare" filename="pic.bmp"><imagerect right="2" bottom="2"/></sprite><sprite id="SHIP" filename="pic.bmp"><imagerect right="2" bottom="2"/></sprite></graphicdef>|' "$GDEF" \
  'warning graphic-unused: id "ship": defined again later under the same id' \
  'warning graphic-unused: id "spare": defined but never drawn'
expect_warnings hitarea 's|<sprite id="bot" filename="pic.bmp">|&<hitarea left="-4"/>|' "$GDEF" \
  'warning hitarea-outside-picture: id "bot": hit area (-4, 0, 2, 2) reaches beyond its picture (0, 0, 2, 2) by left 4 pixels'
expect_warnings noclear 's| stageclear="true"||' "$SDEF" \
  'warning stage-never-clears: stage 1: no enemy has stageclear="true"'
expect_warnings bossleaves 's|motion="boss1"|motion="sturn1"|' "$SDEF" \
  'warning stage-clear-escapes: stage 1, frame 3000, id "bot": the stage-clear enemy is gone at frame 3336'
expect_warnings restartgap 's|<restartpoint frame="2000"/>|<restartpoint frame="3500"/>|' "$SDEF" \
  'warning restart-gap: stage 1, frame 0: no restart point from frame 0 to 3500 (3500 frames)'
expect_warnings samespot 's|<enemy frame="10" y="320"/>|<enemy frame="0"/>|' "$SDEF" \
  'warning group-same-spot: stage 1, frame 100, id "bot", group 0: appears in the same frame and at the same spot (795, 300)'
expect_warnings silentframe 's|<animation id="explosion" maxframe="30">.*</animation>|<animation id="explosion" maxframe="30"><sprite ref="bot"/><sprite ref="tinted" frame="0"/><sprite ref="tinted" frame="40"/></animation>|' "$GDEF" \
  'warning animation-zero-length-frame: frame 0, id "explosion": the entry showing "bot" from frame 0 never shows: the next entry starts at the same frame' \
  'warning animation-zero-length-frame: frame 40, id "explosion": the entry showing "tinted" from frame 40 never shows: it starts at or after the end of the cycle (maxframe 30)'

# In JSON, each warning with its fields.
run offfield.json "$WORK/offfield" morv --json
grep -qF '{"warning": "enemy-never-on-field", "stage": 1, "frame": 500, "id": "bot", "group": null, "text": "its hit area' \
  "$WORK/offfield.json.out" || fail_later "offfield: JSON warning: $(grep -A3 warnings "$WORK/offfield.json.out")"
if command -v python3 >/dev/null; then
  python3 -c 'import json,sys; json.load(open(sys.argv[1]))' "$WORK/offfield.json.out" ||
    fail_later "offfield: report is not valid JSON"
fi

# The contact sheet, counted by colour. Every sprite and every animation entry is an 8 x 8 picture whose one pure
# blue pixel is drawn at twice its size (4 pixels each); the timeline's enemy marks are 7 x 7 (13 x 13 for the
# stage-clear enemy) in their motion's colour, the legend showing one of each.
require_tools convert identify
make_clean_skin "$WORK/sheet"
convert -size 8x8 xc:'#FF0000' -fill '#0000FF' -draw 'point 4,4' BMP3:"$WORK/sheet/skin/morv/graphic/pic.bmp"
sed -i 's/right="2" bottom="2"/right="8" bottom="8"/; s/<imagerect right="1" bottom="1"\/>/<imagerect right="8" bottom="8"\/>/' \
  "$WORK/sheet/$GDEF"
# Two more: one placed and hit as far away as 32 bits reach (drawn, its hit area cut), one drawn 0 pixels wide.
sed -i 's|</graphicdef>|<sprite id="far" filename="pic.bmp"><imagerect right="8" bottom="8"/><origin x="2000000000" y="-2000000000"/><hitarea left="-2147483648" top="-2147483648" right="2147483647" bottom="2147483647"/></sprite><sprite id="flat" filename="pic.bmp" width="0"><imagerect right="8" bottom="8"/></sprite></graphicdef>|' \
  "$WORK/sheet/$GDEF"
run sheet "$WORK/sheet" morv --sheet "$WORK/sheet.png"
[ "$status" -eq 0 ] && grep -q "^sheet $WORK/sheet.png: 1920 x [0-9]* pixels\$" "$WORK/sheet.out" ||
  fail_later "sheet: $(cat "$WORK/sheet.out" "$WORK/sheet.err")"
colour_count() { convert "$WORK/sheet.png" -format %c histogram:info:- | grep -i " $1 " | sed 's/^ *\([0-9]*\):.*/\1/'; }
[ "$(identify -format %w "$WORK/sheet.png")" = 1920 ] || fail_later "sheet: not 1920 pixels wide"
# 18 sprites and the explosion's 2 entries; the tinted sprite (alone and as an entry) is added at half alpha, so its
# blue is not pure, and the flat one is not drawn.
[ "$(colour_count '#0000FF')" = $((4 * (16 + 1))) ] ||
  fail_later "sheet: $(colour_count '#0000FF') pure blue pixels, expected $((4 * 17))"
[ "$(colour_count '#4F8FFF')" = $((49 * 2)) ] || fail_later "sheet: sturn1 marks: $(colour_count '#4F8FFF') pixels"
[ "$(colour_count '#FF3838')" = $((49 + 169 + 169)) ] || fail_later "sheet: boss1 marks: $(colour_count '#FF3838') pixels"

run sheetnoarg "$WORK/sheet" morv --sheet
[ "$status" -eq 2 ] || fail_later "sheetnoarg: status $status"
run sheetbad "$WORK/sheet" morv --sheet "$WORK/no/such/folder/sheet.png"
[ "$status" -eq 1 ] && grep -qF "cannot create PNG file" "$WORK/sheetbad.err" ||
  fail_later "sheetbad: status $status: $(cat "$WORK/sheetbad.err")"

# The bundled skins, when present, load cleanly and raise only the warnings docs/skins.md explains: graphics their
# stages do not use (bigexplosion in both, the two bosses nebula's one stage does not fly).
if [ -f "$SRC/skin/morv/xml/graphicdef.xml" ]; then
  run bundled "$SRC" --json
  [ "$status" -eq 0 ] || fail_later "bundled skin: $(cat "$WORK/bundled.err")"
fi
for bundled in 'morv bigexplosion' 'nebula bigexplosion|boss1|boss3'; do
  set -- $bundled
  [ -f "$SRC/skin/$1/xml/graphicdef.xml" ] || continue
  run "bundled.$1" "$SRC" "$1"
  [ "$status" -eq 0 ] || fail_later "bundled $1: $(cat "$WORK/bundled.$1.err")"
  unexplained=$(grep '^warning ' "$WORK/bundled.$1.out" | grep -vE "^warning graphic-unused: id \"($2)\": ")
  [ -z "$unexplained" ] || fail_later "bundled $1 raises warnings not explained: $unexplained"
done

end_checks
echo "skincheck: all checks passed"
