"""Attack waves and the stage plan that strings them together.

A wave is a named formation (who flies, on which path, how many); `d`, from 0 to 1, is how hard it is: it adds
members, speed and hit points. A plan lays waves out from a cycle at a gap that shrinks over the stage, puts a
restart point about every 1,500 frames, and ends with the boss.
"""
HEIGHTS = (120, 460, 200, 380, 300, 90, 510, 250, 350)


def _n(lo, hi, d):
    return lo + int(round((hi - lo) * d))


def line(s, f, d, item, k):  # bots in a row, straight
    s.group(f, "bot", "straight", _n(4, 7, d), 16 - _n(0, 4, d), x=820, y=HEIGHTS[k % 9], speed=_n(4, 6, d),
            hp=_n(1, 2, d), item=item)


def darts(s, f, d, item, k):  # fast arrows in a slanted file
    n = _n(3, 6, d)
    top = 80 + (k * 70) % 260
    s.group(f, "dart", "straight", n, 6, x=820, speed=_n(6, 9, d), hp=1, item=item,
            ys=[top + i * (40 if k % 2 else 30) for i in range(n)])


def ram(s, f, d, item, k):  # armoured rams: take many shots
    for i in range(_n(1, 3, d)):
        y = HEIGHTS[(k + i * 4) % 9]
        s.enemy(f + i * 50, "ram", "straight", x=830, y=y, speed=_n(2, 3, d), hp=_n(6, 14, d),
                item=item and i == 0)


def swoop(motion):
    def wave(s, f, d, item, k):  # swallows down an S-turn
        s.group(f, "swallow", motion, _n(5, 8, d), 12 - _n(0, 3, d), speed=_n(5, 7, d), hp=1, item=item)
    return wave


def hook(motion):
    def wave(s, f, d, item, k):  # crescents that swing back out to the right
        s.group(f, "crescent", motion, _n(4, 6, d), 10, speed=_n(5, 7, d), hp=_n(1, 2, d), item=item)
    return wave


def spin(motion):
    def wave(s, f, d, item, k):  # spinners on a wave, tougher than drones
        s.group(f, "fan", motion, _n(3, 5, d), 20, x=820, y=(170, 430, 300)[k % 3], speed=_n(3, 5, d),
                hp=_n(2, 4, d), item=item)
    return wave


def eel(motion):
    def wave(s, f, d, item, k):  # eels in a tight school on a wave
        s.group(f, "eel", motion, _n(4, 7, d), 14, x=820, y=(240, 360, 140, 460)[k % 4], speed=_n(3, 5, d),
                hp=_n(1, 3, d), item=item)
    return wave


def carrier(s, f, d, item, k):  # a lone capsule carrier
    motion = ("zigzag1", "straight", "zigzag2")[k % 3]
    s.enemy(f, "carrier", motion, x=820, y=(150, 300, 450)[k % 3], speed=3, hp=_n(3, 6, d), item=True)


# Waves from behind: a negative speed flies drones to the right from x -30, where the ship's forward fire cannot
# meet them. A drone's band (its hit box and the ship's) is 22 pixels high, so drones 22 pixels apart leave no
# height between them: a ship that stays put in such a file is rammed, one that moves out of the way is not.
# Once past, they are targets; one not shot down flies on past the right edge (only the left edge removes an
# enemy), and its group does not pay.


def chase(s, f, d, item, k):  # drones overtaking in a slanted file across the middle, where the ship flies in
    n = _n(4, 8, d)
    mid = (300, 270, 330)[k % 3]
    s.group(f, "bot", "straight", n, 10, x=-30, speed=-_n(2, 4, d), hp=1, item=item,
            ys=[mid - 11 * (n - 1) + 22 * i for i in range(n)])


def sweep(s, f, d, item, k):  # a staircase over the whole height: no height is safe to rest at
    ys = [14 + 22 * i for i in range(27)]  # from the top edge to the bottom one
    s.group(f, "bot", "straight", len(ys), 14 - _n(0, 4, d), x=-30, speed=-_n(3, 4, d), hp=1, item=item,
            ys=ys if k % 2 else ys[::-1])


def swarm(s, f, d, item, k):  # a long stream of drones weaving through the middle: each one shot down may fire back
    s.group(f, "bot", ("zigzag1", "zigzag2")[k % 2], _n(10, 18, d), 8, x=820, y=(300, 250, 350)[k % 3],
            speed=_n(4, 6, d), hp=1, item=item)


def pincer(s, f, d, item, k):  # S-turns from above and below at once; only the upper file pays
    swoop("sturn1")(s, f, d, item, k)
    swoop("sturn2")(s, f + 20, d, False, k)


def hooks(s, f, d, item, k):  # both C-turns together
    hook("cturn1")(s, f, d, item, k)
    hook("cturn2")(s, f + 10, d, False, k)


WAVES = {
    "line": line, "darts": darts, "ram": ram, "carrier": carrier, "pincer": pincer, "hooks": hooks,
    "swoop1": swoop("sturn1"), "swoop2": swoop("sturn2"), "hook1": hook("cturn1"), "hook2": hook("cturn2"),
    "spin1": spin("zigzag1"), "spin2": spin("zigzag2"), "eel1": eel("zigzag1"), "eel2": eel("zigzag2"),
    "chase": chase, "sweep": sweep, "swarm": swarm,
}


def plan(stage, start, end, gaps, cycle, d_range, boss, boss_hp, restart_every=1500):
    """Lays `cycle` out from frame `start` until `end`; entries of the cycle are (wave, pays a capsule). The gap
    between waves shrinks from gaps[0] to gaps[1], difficulty rises over d_range. The boss comes at `end` + 240."""
    f, k = start, 0
    while f < end:
        t = (f - start) / float(end - start)
        name, pays = cycle[k % len(cycle)]
        WAVES[name](stage, f, d_range[0] + (d_range[1] - d_range[0]) * t, pays, k)
        f += int(gaps[0] + (gaps[1] - gaps[0]) * t)
        k += 1
    r = restart_every
    while r < end + 240:
        stage.restart(r)
        r += restart_every
    stage.enemy(end + 240, boss, "boss1", x=880, y=300, speed=2, hp=boss_hp, stageclear=True)
