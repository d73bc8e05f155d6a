#!/usr/bin/env python3
"""Plays each stage of a bundled skin with morvanth-headless and reports what happened.

The player starts the game from the title, holds fire and weaves up and down in front of the field; it is
steady rather than clever: it buys the double as soon as the meter's cursor reaches it and options after that,
and when a ship is lost it replays that life with another stride of its weave and keeps the best (found by
replaying, since the game is deterministic for a given seed and input). Each stage is played on its
own: a copy of the skin whose stage script holds only that stage.

    python3 tools/skinart/playtest.py HEADLESS SOURCE_DIR SKIN [--frames N] [--shots DIR] [--seed N]

Prints one line per stage: frames played, stage frames reached, enemies spawned, capsules dropped and
collected, power-ups bought, ships lost, and how the run ended.
"""
import argparse
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

START = 150  # Enter on the title once its logo is drawn
FIRE = START + 102  # the ship's fly-in is over


def stage_blocks(xml):
    return re.findall(r"  <stage\b.*?</stage>", xml, re.S)


def make_root(src, skin, index, tmp):
    root = os.path.join(tmp, "stage%d" % index)
    if os.path.exists(root):
        shutil.rmtree(root)
    for name in (skin, "system"):
        shutil.copytree(os.path.join(src, "skin", name), os.path.join(root, "skin", name))
    path = os.path.join(root, "skin", skin, "xml", "stagedef.xml")
    xml = open(path, encoding="utf-8").read()
    blocks = stage_blocks(xml)
    head = xml[:xml.index(blocks[0])]
    with open(path, "w", encoding="utf-8") as f:
        f.write(head + blocks[index] + "\n</stagedef>\n")
    return root, blocks[index]


def keys_at(f, buys, flights, strides):
    """flights: frames at which a fly-in ended; the weave starts over from the middle after each, with the
    stride chosen for that ship."""
    keys = []
    if START <= f < START + 2:
        keys.append("ENTER")
    if f >= FIRE:
        keys.append("Z")
        done = [e for e in flights if e <= f]
        since = max([FIRE] + done)
        life = max(0, len(done) - 1)
        u = strides[life] if life < len(strides) else 40
        phase = (f - since) % (6 * u)  # up u, hold, down 2u, hold, up u: about the middle of the field
        if phase < u or 5 * u <= phase:
            keys.append("UP")
        elif 2 * u <= phase < 4 * u:
            keys.append("DOWN")
    if f in buys:
        keys.append("C")
    return " ".join(keys)


def write_input(path, frames, buys, flights, strides):
    last = None
    with open(path, "w") as out:
        for f in range(frames):
            k = keys_at(f, buys, flights, strides)
            if k != last:
                out.write("%d %s\n" % (f, k) if k else "%d\n" % f)
                last = k


def run(headless, root, skin, frames, seed, buys, flights, strides, tmp):
    inp, state = os.path.join(tmp, "play.in"), os.path.join(tmp, "play.jsonl")
    write_input(inp, frames, buys, flights, strides)
    cmd = [headless, "--root", root, "--skin", skin, "--seed", str(seed), "--frames", str(frames), "--input", inp,
           "--state", state]
    proc = subprocess.run(cmd, stderr=subprocess.PIPE, text=True)
    if proc.returncode != 0:
        sys.exit("headless run failed: %s" % proc.stderr)
    return [json.loads(line) for line in open(state)]


def flights_of(states):
    return [b["frame"] for a, b in zip(states, states[1:])
            if "ship" in a and "ship" in b and a["ship"]["entering"] and not b["ship"]["entering"]]


STRIDES = (40, 28, 54)  # frames per step of the weave: up, hold, down twice as long, hold, up


def loss_after(states, start):
    for a, b in zip(states, states[1:]):
        if b["frame"] > start and "ship" in a and "ship" in b and a["ship"]["energy"] > 0 and b["ship"]["energy"] <= 0:
            return b["frame"]
    return None


def next_buy(states, buys):
    """First frame after the last purchase at which the steady player would press C."""
    after = max(buys) + 1 if buys else 0
    for s in states[after:]:
        if s["scene"] != 1 or "ship" not in s:
            continue
        ship = s["ship"]
        if ship["energy"] <= 0 or ship["entering"]:
            continue
        want_double = ship["shotType"] == 0 and ship["cursor"] == 2
        want_option = ship["shotType"] != 0 and ship["cursor"] == 4 and ship["options"] < 4
        if want_double or want_option:
            return s["frame"] + 1
    return None


def summarise(states, block):
    enemy_frames = sorted(int(m) for m in re.findall(r'<enemy frame="(\d+)"', block))
    group_frames = {}  # enemies inside groups count from the group's frame
    for g in re.finditer(r'<group frame="(\d+)".*?</group>', block, re.S):
        inner = [int(base) for base in re.findall(r'<enemy frame="(\d+)"', g.group(0))]
        for v in inner:
            enemy_frames.remove(v)
            enemy_frames.append(int(g.group(1)) + v)
    enemy_frames.sort()
    spawned = dropped = collected = bought = 0
    prev = None
    ended = "time up"
    for s in states:
        if s["scene"] != 1 or "ship" not in s:
            if prev is not None:
                ended = {0: "back to the title", 2: "ending"}.get(s["scene"], "?")
                break
            continue
        if prev is None:
            spawned += sum(1 for f in enemy_frames if f <= s["stageFrame"])
        else:
            a, b = prev["stageFrame"], s["stageFrame"]
            if b > a:
                spawned += sum(1 for f in enemy_frames if a < f <= b)
            elif b < a:  # restarted from a restart point
                spawned += sum(1 for f in enemy_frames if b <= f <= b)
            d = s["counts"]["drops"] - prev["counts"]["drops"]
            dropped += max(0, d)
            c0, c1 = prev["ship"]["cursor"], s["ship"]["cursor"]
            if c1 != c0 and c1 != 255 and (c0 == 255 and c1 == 0 or c1 == c0 + 1 or (c0 == 5 and c1 == 0)):
                collected += 1
            if c0 != 255 and c1 == 255 and s["ship"]["energy"] > 0 and prev["ship"]["energy"] > 0:
                bought += 1
        prev = s
    last = prev
    return {"stageFrame": last["stageFrame"], "spawned": spawned, "dropped": dropped, "collected": collected,
            "bought": bought, "lost": 3 - last["ship"]["lives"],
            "playState": last["playState"], "ended": ended, "ship": last["ship"]}


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("headless")
    ap.add_argument("source")
    ap.add_argument("skin")
    ap.add_argument("--frames", type=int, default=11500)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--stages", default="")
    ap.add_argument("--keep", default="")
    args = ap.parse_args()
    tmp = args.keep or tempfile.mkdtemp(prefix="morvanth-playtest-")
    os.makedirs(tmp, exist_ok=True)
    xml = open(os.path.join(args.source, "skin", args.skin, "xml", "stagedef.xml"), encoding="utf-8").read()
    indices = [int(i) for i in args.stages.split(",")] if args.stages else range(len(stage_blocks(xml)))
    for index in indices:
        root, block = make_root(args.source, args.skin, index, tmp)
        buys, flights, strides = set(), [], []

        def settled():  # runs until the fly-ins the input weaves from are those the run shows
            nonlocal flights
            for _ in range(8):
                states = run(args.headless, root, args.skin, args.frames, args.seed, buys, flights, strides, tmp)
                if flights_of(states) == flights:
                    break
                flights = flights_of(states)
            return states

        for life in range(3):
            states = settled()
            if life >= len(flights):
                break
            start = flights[life]
            buys = {b for b in buys if b < start}
            loss = loss_after(states, start)
            if loss is not None:  # replay this ship with a few strides and keep the one that lives longest
                trials = []
                for u in STRIDES:
                    trial = run(args.headless, root, args.skin, min(args.frames, loss + 1500), args.seed, buys,
                                flights[:life + 1], strides[:life] + [u], tmp)
                    trials.append((loss_after(trial, start) or len(trial), -STRIDES.index(u), u))
                strides = strides[:life] + [max(trials)[2]]
            else:
                strides = strides[:life] + [STRIDES[0]]
            for _ in range(8):  # then buy what the cursor offers during this ship's life
                states = settled()
                f = next_buy(states, buys)
                loss = loss_after(states, start)
                if f is None or (loss is not None and f > loss):
                    break
                buys.add(f)
        shutil.copy(os.path.join(tmp, "play.in"), os.path.join(tmp, "stage%d.in" % index))
        shutil.copy(os.path.join(tmp, "play.jsonl"), os.path.join(tmp, "stage%d.jsonl" % index))
        r = summarise(states, block)
        print("stage %d: frames %d, stage frames reached %d, enemies spawned %d, capsules dropped %d, collected %d, "
              "bought %d (buys at %s), ships lost %d, end: %s, playState %d, final ship %s"
              % (index + 1, len(states), r["stageFrame"], r["spawned"], r["dropped"], r["collected"], r["bought"],
                 sorted(buys), r["lost"], r["ended"], r["playState"], json.dumps(r["ship"])))
        sys.stdout.flush()


if __name__ == "__main__":
    main()
