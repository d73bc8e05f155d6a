# Sourced by the soak runs. soak_root BUILD DIR writes DIR/skin: the bundled skin's pictures and graphic
# definitions with two short stages, so random play reaches every scene often. Each stage sends a slow
# stage-clear boss along the ship's line, then walls of hard enemies across the whole field: a ship that does
# not shoot the boss in time is rammed, and three such losses end the game.
soak_root() {
  local build=$1 root=$2 stage walls="" y frame
  mkdir -p "$root/skin/soak/xml"
  cp -r "$build/skin/system" "$root/skin/"
  cp -r "$build/skin/morv/graphic" "$root/skin/soak/"
  cp "$build/skin/morv/xml/graphicdef.xml" "$root/skin/soak/xml/"
  for frame in 150 260 370 480; do
    for y in $(seq 0 24 600); do walls+="<enemy frame=\"$frame\" x=\"820\" y=\"$y\" speed=\"4\" hp=\"1000\"/>"; done
  done
  {
    echo '<?xml version="1.0" encoding="UTF-8"?><stagedef>'
    for stage in "SOAK 1" "SOAK 2"; do
      echo "<stage title=\"$stage\"><enemy frame=\"10\" x=\"880\" y=\"300\" graphic=\"boss1\" speed=\"2\" hp=\"6\""
      echo " stageclear=\"true\"/><group frame=\"60\" x=\"820\" y=\"200\" motion=\"zigzag1\" speed=\"3\""
      echo " item=\"powerup\"><enemy frame=\"0\"/><enemy frame=\"16\"/><enemy frame=\"32\"/></group>$walls</stage>"
    done
    echo '</stagedef>'
  } >"$root/skin/soak/xml/stagedef.xml"
}
