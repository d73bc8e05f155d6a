"""The three stages of "morv". Stage 1 opens with the slow drone rows new players learn on; each later stage is
longer, denser, faster and pays fewer capsules, so power comes from stage 1 and later capsules buy options and
speed. From the middle of stage 1 on, drones also come from behind, so that a ship which only holds fire and
never moves is rammed: it loses its last ship in stage 1 (tools/skinart/playtest.py --still)."""
from stages import Stage
from waves import chase, plan, sweep

T, F = True, False


def stage1():
    s = Stage("STAGE 1  DEEP FIELD")
    s.group(120, "bot", "straight", 4, 16, x=820, y=120, speed=4)
    s.group(360, "bot", "straight", 4, 16, x=820, y=440, speed=4)
    s.enemy(560, "fan", "zigzag1", x=820, y=200, speed=3, hp=3)
    s.enemy(600, "fan", "zigzag2", x=820, y=380, speed=3, hp=3)
    plan(s, 760, 7560, (240, 180),
         [("swoop1", T), ("swoop2", T), ("carrier", T), ("darts", F), ("hook1", T), ("hook2", T), ("line", T),
          ("chase", F), ("spin1", T), ("ram", F), ("swarm", T), ("eel1", T), ("carrier", T), ("spin2", F),
          ("pincer", T), ("chase", T), ("eel2", F), ("sweep", F), ("hooks", T), ("darts", T)],
         (0.0, 0.45), "boss1", 120)
    return s


def stage2():
    s = Stage("STAGE 2  紅の回廊")
    plan(s, 120, 8460, (200, 140),
         [("line", T), ("chase", F), ("spin1", F), ("swarm", F), ("swoop2", F), ("ram", F), ("eel1", T),
          ("sweep", F), ("darts", F), ("hook1", F), ("pincer", F), ("carrier", T), ("chase", F), ("swarm", F),
          ("spin2", F), ("hooks", F), ("eel2", F), ("swoop1", T), ("sweep", F), ("darts", F), ("swarm", F),
          ("ram", F), ("line", F)],
         (0.3, 0.75), "boss2", 180)
    return s


def stage3():
    s = Stage("STAGE 3  ABYSS GATE")
    plan(s, 120, 9360, (170, 115),
         [("darts", F), ("pincer", F), ("ram", F), ("eel1", F), ("hooks", T), ("spin2", F), ("line", F),
          ("swoop1", F), ("eel2", F), ("darts", F), ("carrier", T), ("ram", F), ("spin1", F), ("hook2", F),
          ("pincer", F), ("line", F), ("eel1", F), ("ram", F), ("hooks", F), ("swoop2", F)],
         (0.55, 1.0), "boss3", 260)
    # Drones from behind on top of the cycle, so that standing still is no way through here either; none after
    # frame 8400, which leaves the run-up to the boss as it was.
    for f, wave, d, k in ((1900, chase, 0.7, 0), (3700, sweep, 0.75, 1), (5600, chase, 0.85, 2),
                          (7300, sweep, 0.9, 0)):
        wave(s, f, d, False, k)
    return s


def stages():
    return [stage1(), stage2(), stage3()]
