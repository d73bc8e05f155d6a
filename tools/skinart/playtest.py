#!/usr/bin/env python3
"""Plays each stage of a bundled skin with morvanth-headless the way a steady human player would, and reports
what happened.

The bot drives the game live (morvanth-headless --live --objects): each frame it reads the hit rectangles of
the ship, enemies, bullets and capsules, extrapolates their motion over the next frames, and picks among nine
moves the one that keeps clear of everything, lines the ship up with enemies to shoot, and goes for capsules.
Fire is held; it buys the double as soon as the meter's cursor sits on it, then options, then speed, with C as
a player would. When a ship is lost it backtracks: the game is deterministic for a seed and its keys, so it
replays its own keys up to a while before the loss and plays on from there more cautiously; only when every
try loses the ship does it accept the loss. Each stage is played on its own: a copy of the skin whose stage
script holds only that stage.

    python3 tools/skinart/playtest.py HEADLESS SOURCE_DIR SKIN [--stages 0,1] [--frames N] [--seed N]
                                      [--keep DIR] [--shots DIR] [--verbose] [--whole] [--still]

Prints one line per stage: frames run and frames in play (neither game over nor stage clear), stage frames
reached, enemies spawned and destroyed, enemy bullets fired (and the most on screen at once), capsules dropped
and collected, power-ups bought, ships lost, and how the run ended. --keep keeps the stage copies and the keys played (stageN.in, an
input file for morvanth-headless --input); --shots writes a PNG every 1,000 frames of the final run and after
each purchase; --verbose tells every lost ship and backtrack. --whole plays the whole game in one run instead,
from the title to the ending with power carried from stage to stage, and reports it stage by stage. --still
plays the whole game without the bot: fire held from the start, Enter on the title, the ship never moved; a
stage design that lets such a player win is broken.
"""
import argparse
import json
import os
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

START = 150  # Enter on the title once its logo is drawn
MOVES = [(0, 0), (0, -1), (0, 1), (-1, 0), (1, 0), (-1, -1), (-1, 1), (1, -1), (1, 1)]
KEYS = {(-1, 0): "LEFT", (1, 0): "RIGHT", (0, -1): "UP", (0, 1): "DOWN"}
TOP, BOTTOM = 40, 530  # where the ship is wanted: clear of the field's edges
HOME_X = 150  # the ship's favourite x: room behind it to dodge, time in front of it to shoot
# (look-ahead frames, margin in pixels) per try; later tries look further and keep more distance.
CAUTION = [(14, 4), (20, 8), (10, 2), (26, 12), (16, 6), (30, 16)]


def read_stages(path):
    """The <stage> elements of a stage script, parsed (the parser honours the file's encoding declaration)."""
    return ET.parse(path).getroot().findall("stage")


def make_root(src, skin, index, tmp):
    root = os.path.join(tmp, "stage%d" % index)
    if os.path.exists(root):
        shutil.rmtree(root)
    for name in (skin, "system"):
        shutil.copytree(os.path.join(src, "skin", name), os.path.join(root, "skin", name))
    path = os.path.join(root, "skin", skin, "xml", "stagedef.xml")
    stage = read_stages(path)[index]
    single = ET.Element("stagedef")
    single.append(stage)
    ET.ElementTree(single).write(path, encoding="UTF-8", xml_declaration=True)
    return root, stage


def centre(r):
    return ((r[0] + r[2]) / 2.0, (r[1] + r[3]) / 2.0)


def velocities(now, before):
    """Velocity of each rectangle from its nearest match of the same size a frame ago (none: at rest)."""
    by_size = {}  # the centres a frame ago, per size, in their order
    for p in before:
        by_size.setdefault((p[2] - p[0], p[3] - p[1]), []).append(centre(p))
    out = []
    for r in now:
        cx, cy = centre(r)
        best, vel = 400.0, (0.0, 0.0)
        for px, py in by_size.get((r[2] - r[0], r[3] - r[1]), ()):
            d = abs(cx - px) + abs(cy - py)
            if d < best and d < 24:
                best, vel = d, (cx - px, cy - py)
        out.append(vel)
    return out


class Bot:
    def __init__(self, caution):
        self.look, self.margin = caution
        self.prev = None
        self.c_held = False

    def keys(self, s):
        ship = s.get("ship")
        if s["scene"] != 1 or ship is None:
            self.prev = None
            return ""
        if ship["entering"] or ship["energy"] <= 0:
            self.prev = s
            return "Z"
        keys = ["Z"]
        want = self.want_buy(ship)
        if want and not self.c_held:
            keys.append("C")
        self.c_held = bool(want) and not self.c_held
        move = self.choose(s)
        keys += [KEYS[(move[0], 0)]] if move[0] else []
        keys += [KEYS[(0, move[1])]] if move[1] else []
        self.prev = s
        return " ".join(keys)

    @staticmethod
    def want_buy(ship):
        c = ship["cursor"]
        if c == 2 and ship["shotType"] == 0:
            return True
        if c == 4 and ship["shotType"] != 0 and ship["options"] < 4:
            return True
        return c == 0 and ship["options"] >= 2 and ship["speed"] < 6

    def choose(self, s):
        o = s["objects"]
        before = self.prev["objects"] if self.prev and "objects" in self.prev else o
        enemies = [e["rect"] for e in o["enemies"]]
        foes = [(r, v) for r, v in zip(enemies, velocities(enemies, [e["rect"] for e in before["enemies"]]))]
        foes += [(r, v) for r, v in zip(o["enemyShots"], velocities(o["enemyShots"], before["enemyShots"]))]
        sr = o["ship"]
        sx, sy = centre(sr)
        hw, hh = (sr[2] - sr[0]) / 2.0 + self.margin, (sr[3] - sr[1]) / 2.0 + self.margin
        speed = s["ship"]["speed"]
        # Only what can come within reach in the look-ahead is weighed: however the ship moves, it goes at most
        # speed a frame, plus the jump of the clamp below when it starts outside that range.
        reach_x = speed * self.look + max(0, 20 - sx, sx - 770)
        reach_y = speed * self.look + max(0, 10 - sy, sy - 556)
        near = []
        for r, v in foes:
            cx, cy = centre(r)
            w, h = hw + (r[2] - r[0]) / 2.0, hh + (r[3] - r[1]) / 2.0
            if (abs(cx - sx) < w + reach_x + abs(v[0]) * self.look
                    and abs(cy - sy) < h + reach_y + abs(v[1]) * self.look):
                near.append((cx, cy, v[0], v[1], w, h))
        best, best_move = None, (0, 0)
        for move in MOVES:
            danger = 0.0
            for t in range(1, self.look + 1):
                x = min(max(sx + move[0] * speed * t, 20), 770)
                y = min(max(sy + move[1] * speed * t, 10), 556)
                for cx, cy, vx, vy, w, h in near:
                    if abs(cx + vx * t - x) < w and abs(cy + vy * t - y) < h:
                        danger += 1000.0 / t
                        break
            x = min(max(sx + move[0] * speed, 20), 770)  # where the ship goes next: aim and reach from there
            y = min(max(sy + move[1] * speed, 10), 556)
            score = -danger
            if y < TOP or y > BOTTOM:
                score -= 3.0
            drops = [r for r in o["drops"] if r[2] > 30]
            if drops:  # a capsule: go and take it
                dx, dy = centre(min(drops, key=lambda r: abs(centre(r)[0] - sx) + abs(centre(r)[1] - sy)))
                score -= (abs(dx - x) + abs(dy - y)) * 0.2
            else:  # line up with the nearest enemy ahead to shoot it
                score -= abs(x - HOME_X) * 0.02
                ahead = [centre(r) for r in enemies if centre(r)[0] > sx + 20]
                if ahead:
                    ty = min(ahead, key=lambda c: c[0] - sx + abs(c[1] - sy))[1]
                    score -= abs(ty - y) * 0.03
                else:
                    score -= abs(300 - y) * 0.005
            if best is None or score > best:
                best, best_move = score, move
        return best_move


class Game:
    """One live morvanth-headless process; step() sends a frame's keys and returns that frame's state."""

    def __init__(self, headless, root, skin, seed, frames, shots, sound_log):
        cmd = [headless, "--root", root, "--skin", skin, "--seed", str(seed), "--frames", str(frames), "--live",
               "--objects", "--state", "-", "--sound-log", sound_log]
        for f, path in shots:
            cmd += ["--shot", "%d:%s" % (f, path)]
        self.proc = subprocess.Popen(cmd, stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, bufsize=1)

    def step(self, keys):
        self.proc.stdin.write(keys + "\n")
        self.proc.stdin.flush()
        line = self.proc.stdout.readline()
        return json.loads(line) if line else None

    def close(self):
        try:
            self.proc.stdin.close()
        except BrokenPipeError:
            pass
        self.proc.wait()


def count_destroyed(states, sound_log):
    """Marks each state with the enemies destroyed in its frame ("destroyed"), read from the game's sound log:
    every enemy shot down, the boss included, sounds once."""
    with open(sound_log) as log:
        for entry in log:
            f, kind, name = entry.split()[:3]
            if kind == "effect" and name in ("enemydestroyed", "bossdestroyed") and int(f) < len(states):
                states[int(f)]["destroyed"] = states[int(f)].get("destroyed", 0) + 1


def play(headless, root, skin, seed, frames, prefix, caution, stop_on_loss, shots=(), still=False):
    """Replays prefix (a list of key lines), then lets the bot play (with still, holds fire and never moves).
    Returns (keys, states, loss frame)."""
    fd, sound_log = tempfile.mkstemp(prefix="morvanth-playtest-", suffix=".log")
    os.close(fd)
    try:
        return play_logged(headless, root, skin, seed, frames, prefix, caution, stop_on_loss, shots, still, sound_log)
    finally:
        os.remove(sound_log)


def play_logged(headless, root, skin, seed, frames, prefix, caution, stop_on_loss, shots, still, sound_log):
    game = Game(headless, root, skin, seed, frames, shots, sound_log)
    bot = Bot(caution)
    keys, states, state = [], [], None
    loss = None
    for f in range(frames):
        if still:
            k = "ENTER Z" if START <= f < START + 2 else "Z"
        else:
            k = prefix[f] if f < len(prefix) else ("ENTER" if START <= f < START + 2 else bot.keys(state) if state else "")
        if f < len(prefix):
            bot.prev = state  # remembers the last frame while replaying
        state = game.step(k)
        if state is None:
            break
        keys.append(k)
        states.append(state)
        if len(states) > 1 and f >= len(prefix):
            a, b = states[-2].get("ship"), state.get("ship")
            if a and b and a["energy"] > 0 and b["energy"] <= 0:
                loss = f
                if stop_on_loss:
                    break
        if state["scene"] != 1 and f > START + 10 and any(s["scene"] == 1 for s in states[-3:]):
            break  # the stage is over: the ending or the title
    game.close()
    count_destroyed(states, sound_log)
    return keys, states, loss


def play_stage(headless, root, skin, seed, frames, log):
    """Plays with backtracking: a lost ship sends the bot back a little before the loss to try again with other
    caution, then from further back; a try that lives past the furthest loss so far becomes the new starting
    point. When no try does, the one that lived longest is kept and play goes on with one ship fewer."""
    prefix, frontier = [], -1
    while True:
        tries, progress = [], False
        for back in (0, 150):
            base = prefix[:max(len(prefix) - back, 0)]
            for caution in CAUTION:
                keys, states, loss = play(headless, root, skin, seed, frames, base, caution, True)
                if loss is None:
                    return keys, states
                log("  ship lost at frame %d (caution %s, replayed %d frames)" % (loss, caution, len(base)))
                tries.append((loss, keys))
                if loss > frontier:  # past every earlier danger: go on from just before the new one
                    frontier, prefix, progress = loss, keys[:max(loss - 100, len(base))], True
                    break
            if progress:
                break
        if not progress:
            loss, keys = max(tries, key=lambda t: t[0])
            log("  no try gets past frame %d: the ship is lost there" % loss)
            prefix = keys[:loss + 1]


def summarise(states, stage):
    enemy_frames = [int(e.get("frame")) for e in stage.findall("enemy")]
    for g in stage.findall("group"):  # inside groups frames count from the group's
        enemy_frames += [int(g.get("frame")) + int(e.get("frame")) for e in g.findall("enemy")]
    spawned = dropped = collected = bought = played = destroyed = bullets = most = 0
    prev, ended = None, "time up"
    for s in states:
        if s["scene"] != 1 or "ship" not in s:
            if prev is not None:
                ended = {0: "game over, back to the title", 2: "stage end, ending"}.get(s["scene"], "?")
                break
            continue
        played += s["playState"] == 0
        destroyed += s.get("destroyed", 0)
        most = max(most, s["counts"]["enemyShots"])
        if prev is None:
            spawned += sum(1 for f in enemy_frames if f <= s["stageFrame"])
        else:
            a, b = prev["stageFrame"], s["stageFrame"]
            if b > a:
                spawned += sum(1 for f in enemy_frames if a < f <= b)
            elif b < a:
                spawned += sum(1 for f in enemy_frames if f == b)
            dropped += max(0, len(s["objects"]["drops"]) - len(prev["objects"]["drops"]))
            bullets += max(0, s["counts"]["enemyShots"] - prev["counts"]["enemyShots"])
            c0, c1 = prev["ship"]["cursor"], s["ship"]["cursor"]
            if c1 != c0 and c1 != 255:
                collected += 1
            if c0 != 255 and c1 == 255 and s["ship"]["energy"] > 0 and prev["ship"]["energy"] > 0:
                bought += 1
        prev = s
    return {"stageFrame": prev["stageFrame"], "spawned": spawned, "dropped": dropped, "collected": collected,
            "bought": bought, "lost": 3 - prev["ship"]["lives"], "ended": ended, "ship": prev["ship"],
            "played": played, "destroyed": destroyed, "bullets": bullets, "most": most}


def report(skin, index, frames, r):
    print("%s stage %d: frames %d, in play %d, stage frames reached %d, enemies spawned %d, destroyed %d, "
          "enemy bullets %d (at most %d at once), capsules dropped %d, collected %d, power-ups bought %d, "
          "ships lost %d, end: %s, final ship %s"
          % (skin, index + 1, frames, r["played"], r["stageFrame"], r["spawned"], r["destroyed"], r["bullets"],
             r["most"], r["dropped"], r["collected"], r["bought"], r["lost"], r["ended"], json.dumps(r["ship"])),
          flush=True)


def play_whole(args, blocks, tmp, log):
    """The whole game in one run, power carried from stage to stage, reported per stage. With --still nobody
    steers: fire is held from the start and the ship never moves, so the run ends at game over or the ending."""
    frames = args.frames * len(blocks)
    if args.still:
        keys, states, _ = play(args.headless, args.source, args.skin, args.seed, frames, [], CAUTION[0], False,
                              still=True)
    else:
        keys, states = play_stage(args.headless, args.source, args.skin, args.seed, frames, log)
    with open(os.path.join(tmp, "whole.in"), "w") as out:
        out.writelines("%d %s\n" % (f, k) for f, k in enumerate(keys))
    lives = 3
    for index, block in enumerate(blocks):
        part = [s for s in states if s["scene"] == 1 and s.get("stage") == index]
        if not part:
            break
        r = summarise(part, block)
        r["lost"], lives = lives - part[-1]["ship"]["lives"], part[-1]["ship"]["lives"]
        if index + 1 < len(blocks) and any(s["scene"] == 1 and s.get("stage") == index + 1 for s in states):
            r["ended"] = "stage clear, next stage"
        else:
            r["ended"] = {0: "game over, back to the title", 2: "stage end, ending"}.get(states[-1]["scene"],
                                                                                          "time up")
        report(args.skin, index, len(part), r)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("headless")
    ap.add_argument("source")
    ap.add_argument("skin")
    ap.add_argument("--frames", type=int, default=16000)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--stages", default="")
    ap.add_argument("--keep", default="")
    ap.add_argument("--shots", default="")
    ap.add_argument("--verbose", action="store_true")
    ap.add_argument("--whole", action="store_true")
    ap.add_argument("--still", action="store_true")
    args = ap.parse_args()
    stages = read_stages(os.path.join(args.source, "skin", args.skin, "xml", "stagedef.xml"))
    if args.keep:
        os.makedirs(args.keep, exist_ok=True)
        run(args, stages, args.keep)
    else:
        with tempfile.TemporaryDirectory(prefix="morvanth-playtest-") as tmp:
            run(args, stages, tmp)


def run(args, stages, tmp):
    indices = [int(i) for i in args.stages.split(",")] if args.stages else range(len(stages))
    log = (lambda m: print(m, file=sys.stderr, flush=True)) if args.verbose else (lambda m: None)
    if args.whole or args.still:
        play_whole(args, stages, tmp, log)
        return
    for index in indices:
        root, block = make_root(args.source, args.skin, index, tmp)
        keys, states = play_stage(args.headless, root, args.skin, args.seed, args.frames, log)
        if args.shots:
            os.makedirs(args.shots, exist_ok=True)
            marks = set(range(1000, len(states), 1000))
            marks |= {i + 20 for i in range(1, len(states)) if states[i].get("ship") and states[i - 1].get("ship")
                      and states[i]["ship"]["cursor"] == 255 and states[i - 1]["ship"]["cursor"] != 255}
            shots = [(f, os.path.join(args.shots, "%s-stage%d-%05d.png" % (args.skin, index + 1, f)))
                     for f in sorted(marks) if f < len(states)]
            play(args.headless, root, args.skin, args.seed, len(keys), keys, CAUTION[0], False, shots)
        with open(os.path.join(tmp, "stage%d.in" % index), "w") as out:
            last = None
            for f, k in enumerate(keys):
                if k != last:
                    out.write(("%d %s\n" % (f, k)).rstrip() + "\n")
                    last = k
        report(args.skin, index, len(states), summarise(states, block))


if __name__ == "__main__":
    main()
