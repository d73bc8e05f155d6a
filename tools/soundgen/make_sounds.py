#!/usr/bin/env python3
"""Makes the sounds of the "morv" skin: arcade-style effects from square and noise waves with envelopes and
pitch sweeps, and short chiptune loops written as note data. Pure Python and integer noise, so the same script
writes the same bytes everywhere. It makes one effect for each row of the game's sound table
(src/base/SoundTable.h, read by sound_table.py): the function fx_STEM is the recipe of the effect STEM.

  make_sounds.py OUT_DIR           write every file into OUT_DIR
  make_sounds.py --check DIR       exit 1 unless DIR holds exactly what the script writes, and the effects are
                                   sensible (no clipping, loudness within 6 dB of each other)
  make_sounds.py --measure DIR     print length, peak and loudness (RMS) of each file in DIR
"""
import io
import math
import os
import struct
import sys
import wave

import sound_table

RATE = 22050
EFFECT_RMS_DB = -12.0   # every effect is scaled to this loudness ...
PEAK_LIMIT_DB = -1.0    # ... unless its peak would pass this
MUSIC_RMS_DB = -18.0    # music sits under the effects


# --- waves -------------------------------------------------------------------------------------------------

def samples(seconds):
    return int(round(seconds * RATE))


def sweep(start, end, n, curve=1.0):
    """Frequencies from start to end over n samples (curve > 1 lingers near the start)."""
    return [start + (end - start) * (i / max(n - 1, 1)) ** curve for i in range(n)]


def square(freqs, duty=0.5):
    out, phase = [], 0.0
    for f in freqs:
        out.append(1.0 if phase < duty else -1.0)
        phase = (phase + f / RATE) % 1.0
    return out


class Noise:
    """The 15-bit feedback shift register of classic sound chips, clocked at a given rate."""

    def __init__(self):
        self.reg = 1

    def wave(self, rates):
        out, phase, level = [], 0.0, 1.0
        for r in rates:
            phase += r / RATE
            while phase >= 1.0:
                phase -= 1.0
                bit = (self.reg ^ (self.reg >> 1)) & 1
                self.reg = (self.reg >> 1) | (bit << 14)
                level = 1.0 if self.reg & 1 else -1.0
            out.append(level)
        return out


def envelope(n, attack=0.004, decay_power=1.0, hold=0.0):
    """Rises over attack seconds, holds for hold of the rest, then falls to 0 at the end."""
    a = max(samples(attack), 1)
    h = int((n - a) * hold)
    env = []
    for i in range(n):
        if i < a:
            env.append(i / a)
        elif i < a + h:
            env.append(1.0)
        else:
            rest = n - a - h
            env.append((1.0 - (i - a - h) / max(rest, 1)) ** decay_power)
    return env


def mul(a, b):
    return [x * y for x, y in zip(a, b)]


def mix(*parts):
    n = max(len(p) for p, _ in parts)
    out = [0.0] * n
    for p, gain in parts:
        for i, x in enumerate(p):
            out[i] += x * gain
    return out


def concat(*parts):
    out = []
    for p in parts:
        out.extend(p)
    return out


def silence(seconds):
    return [0.0] * samples(seconds)


def note_hz(name):
    """"A4" -> 440.0; sharps as "C#5"."""
    steps = {"C": -9, "D": -7, "E": -5, "F": -4, "G": -2, "A": 0, "B": 2}
    semis = steps[name[0]] + (1 if name[1] == "#" else 0)
    octave = int(name[-1])
    return 440.0 * 2.0 ** ((semis + 12 * (octave - 4)) / 12.0)


def blip(freq, seconds, duty=0.5, decay=1.0, end_freq=None):
    n = samples(seconds)
    return mul(square(sweep(freq, end_freq or freq, n), duty), envelope(n, decay_power=decay))


# --- effects -----------------------------------------------------------------------------------------------

def fx_shot():
    n = samples(0.09)
    return mul(square(sweep(1400, 350, n, 0.6), 0.25), envelope(n, 0.002, 1.5))


def fx_laser():
    n = samples(0.22)
    freqs = [f * (1.0 + 0.04 * ((i // 60) % 2)) for i, f in enumerate(sweep(2000, 700, n, 0.5))]
    return mul(square(freqs, 0.125), envelope(n, 0.002, 1.2, hold=0.2))


def fx_enemyhit():
    n = samples(0.06)
    noise = mul(Noise().wave([8000] * n), envelope(n, 0.001, 2.0))
    return mix((noise, 0.6), (blip(300, 0.06, 0.5, 2.0, 180), 0.5))


def fx_enemydestroyed():
    n = samples(0.38)
    return mul(Noise().wave(sweep(6000, 400, n, 0.7)), envelope(n, 0.002, 1.6))


def fx_bossdestroyed():
    n = samples(1.4)
    noise = mul(Noise().wave(sweep(3000, 150, n, 0.8)), envelope(n, 0.004, 1.3, hold=0.15))
    rumble = mul(square(sweep(110, 40, n), 0.5), envelope(n, 0.01, 1.0, hold=0.1))
    return mix((noise, 0.7), (rumble, 0.4))


def fx_capsule():
    return concat(*(blip(note_hz(n), 0.06, 0.25, 0.5) for n in ("E5", "G#5", "B5", "E6")))


def fx_powerup():
    n = samples(0.32)
    freqs = [f * (1.0 + 0.5 * ((i // 200) % 2)) for i, f in enumerate(sweep(300, 1200, n))]
    return mul(square(freqs, 0.5), envelope(n, 0.003, 1.0, hold=0.5))


def fx_shiplost():
    n = samples(0.9)
    noise = mul(Noise().wave(sweep(4000, 200, n, 0.6)), envelope(n, 0.002, 1.2))
    fall = mul(square(sweep(800, 60, n, 0.7), 0.5), envelope(n, 0.002, 1.0, hold=0.2))
    return mix((noise, 0.6), (fall, 0.5))


def fx_pause():
    return concat(blip(note_hz("B5"), 0.07, 0.5, 0.7), silence(0.03), blip(note_hz("E6"), 0.1, 0.5, 1.0))


def fx_stageclear():
    tune = [("C5", 0.12), ("E5", 0.12), ("G5", 0.12), ("C6", 0.24), ("G5", 0.12), ("C6", 0.6)]
    lead = concat(*(blip(note_hz(n), d, 0.25, 0.6) for n, d in tune))
    bass = concat(*(blip(note_hz(n), d, 0.5, 0.3) for n, d in (("C3", 0.48), ("G3", 0.36), ("C3", 0.6))))
    return mix((lead, 0.6), (bass, 0.4))


def fx_gameover():
    tune = [("E5", 0.25), ("D5", 0.25), ("C5", 0.25), ("B4", 0.25), ("A4", 0.9)]
    lead = concat(*(blip(note_hz(n), d, 0.5, 0.5) for n, d in tune))
    bass = concat(*(blip(note_hz(n), d, 0.5, 0.4) for n, d in (("A2", 1.0), ("E2", 0.35), ("A2", 0.6))))
    return mix((lead, 0.6), (bass, 0.4))


def fx_titlestart():
    up = concat(*(blip(note_hz(n), 0.05, 0.25, 0.4) for n in ("A4", "C5", "E5", "A5", "C6", "E6")))
    return concat(up, blip(note_hz("A6"), 0.3, 0.25, 1.2))


def recipes():
    """Effect stem -> its recipe, for every row of the game's sound table; a row without a recipe (fx_STEM) or
    a recipe without a row is an error, so the generator and the game cannot drift apart."""
    effects, _ = sound_table.read()
    made = {name[3:] for name in globals() if name.startswith("fx_")}
    missing = [e.stem for e in effects if e.stem not in made]
    unknown = sorted(made - {e.stem for e in effects})
    if missing or unknown:
        raise SystemExit("make_sounds: effects without a recipe: %s; recipes of no effect of the game: %s" % (
            ", ".join(missing) or "none", ", ".join(unknown) or "none"))
    return {e.stem: globals()["fx_" + e.stem] for e in effects}


# --- music -------------------------------------------------------------------------------------------------
# A voice is a line of tokens, one sixteenth each: a note ("A4"), "-" holding the note before, "." a rest.
# Drums: "k" kick, "s" snare, "h" hat, "." nothing.

def parse_voice(text):
    events = []  # [note or None, sixteenths]
    for token in text.split():
        if token == "-":
            events[-1][1] += 1
        elif token == ".":
            events.append([None, 1])
        else:
            events.append([token, 1])
    return events


def render_voice(text, step, duty, gap=0.85):
    out = []
    for note, length in parse_voice(text):
        n = step * length
        if note is None:
            out.extend([0.0] * n)
            continue
        on = int(n * gap)
        tone = mul(square([note_hz(note)] * on, duty), envelope(on, 0.003, 0.35, hold=0.3))
        out.extend(tone + [0.0] * (n - on))
    return out


def render_drums(pattern, step):
    noise, out = Noise(), []
    for hit in pattern.split():
        if hit == "k":
            out.extend(blip(110, step / RATE, 0.5, 2.5, 40))
        elif hit == "s":
            out.extend(mul(noise.wave([5000] * step), envelope(step, 0.001, 2.0)))
        elif hit == "h":
            short = step // 3
            out.extend([x * 0.5 for x in mul(noise.wave([14000] * short), envelope(short, 0.001, 2.0))])
            out.extend([0.0] * (step - short))
        else:
            out.extend([0.0] * step)
    return out


def track(bpm, lead, bass, drums):
    step = int(round(RATE * 60 / (bpm * 4)))
    parts = (render_voice(lead, step, 0.25), render_voice(bass, step, 0.5, 0.95), render_drums(drums, step))
    n = min(len(p) for p in parts)
    one = mix((parts[0][:n], 0.45), (parts[1][:n], 0.35), (parts[2][:n], 0.3))
    return one


def bars(*chunks):
    return " ".join(chunks)


BEAT = "k . h . s . h . k . h k s . h ."
HALF = "k . . . s . . . k . . . s . . ."

MUSIC = {
    "title": lambda: track(
        120,
        bars("A4 - - C5 - - E5 - D5 - C5 - B4 - - -", "G4 - - B4 - - D5 - C5 - B4 - A4 - - -",
             "F4 - - A4 - - C5 - B4 - A4 - G4 - - -", "E4 - - G#4 - - B4 - E5 - - - - - - -"),
        bars("A2 - A3 - A2 - A3 -" * 1 + " A2 - A3 - A2 - A3 -", "G2 - G3 - G2 - G3 - G2 - G3 - G2 - G3 -",
             "F2 - F3 - F2 - F3 - F2 - F3 - F2 - F3 -", "E2 - E3 - E2 - E3 - E2 - E3 - E2 - E3 -"),
        bars(HALF, HALF, HALF, HALF)),
    "stage1": lambda: track(
        150,
        bars("E5 - E5 . D5 - E5 - G5 - E5 - D5 - B4 -", "C5 - C5 . B4 - C5 - D5 - B4 - A4 - - -",
             "E5 - E5 . D5 - E5 - G5 - A5 - G5 - E5 -", "D5 - - - B4 - - - C5 - B4 - A4 - - -"),
        bars("A2 . A2 A3 A2 . A2 A3 A2 . A2 A3 G2 . G2 G3", "F2 . F2 F3 F2 . F2 F3 G2 . G2 G3 G2 . G2 G3",
             "A2 . A2 A3 A2 . A2 A3 A2 . A2 A3 G2 . G2 G3", "F2 . F2 F3 G2 . G2 G3 A2 . A2 A3 A2 . A2 A3"),
        bars(BEAT, BEAT, BEAT, BEAT)),
    "stage2": lambda: track(
        160,
        bars("D5 - F5 - A5 - G5 F5 E5 - C5 - D5 - - -", "D5 - F5 - A5 - C6 A5 G5 - - - A5 - - -",
             "A#4 - D5 - F5 - E5 D5 C5 - A4 - C5 - - -", "A4 - C#5 - E5 - G5 F5 E5 - C#5 - A4 - - -"),
        bars("D2 D3 D2 D3 D2 D3 D2 D3 D2 D3 D2 D3 D2 D3 D2 D3", "F2 F3 F2 F3 F2 F3 F2 F3 C2 C3 C2 C3 C2 C3 C2 C3",
             "A#1 A#2 A#1 A#2 A#1 A#2 A#1 A#2 C2 C3 C2 C3 C2 C3 C2 C3",
             "A1 A2 A1 A2 A1 A2 A1 A2 A1 A2 A1 A2 A1 A2 A1 A2"),
        bars(BEAT, BEAT, BEAT, BEAT)),
    "stage3": lambda: track(
        140,
        bars("E4 - G4 - B4 - E5 - D5 - B4 - G4 - A4 -", "B4 - - - F#4 - - - G4 - A4 - B4 - - -",
             "C5 - B4 - A4 - G4 - F#4 - G4 - A4 - B4 -", "E5 - - - D#5 - - - E5 - - - - - . ."),
        bars("E2 . E2 . E3 . E2 . E2 . E2 . E3 . E2 .", "B1 . B1 . B2 . B1 . E2 . E2 . E3 . E2 .",
             "C2 . C2 . C3 . C2 . D2 . D2 . D3 . D2 .", "B1 . B1 . B2 . B1 . E2 . E2 . E3 . E2 ."),
        bars(BEAT, BEAT, BEAT, BEAT)),
    "ending": lambda: track(
        100,
        bars("C5 - - - E5 - G5 - F5 - E5 - D5 - - -", "A4 - - - C5 - F5 - E5 - D5 - C5 - - -",
             "D5 - - - F5 - A5 - G5 - F5 - E5 - - -", "G5 - - - F5 - D5 - C5 - - - - - - -"),
        bars("C3 - - - G2 - - - C3 - - - G2 - - -", "F2 - - - C3 - - - F2 - - - C3 - - -",
             "D3 - - - A2 - - - G2 - - - D3 - - -", "G2 - - - G2 - - - C3 - - - C3 - - -"),
        bars(HALF, HALF, HALF, HALF)),
}


# --- files -------------------------------------------------------------------------------------------------

def db(x):
    return 20.0 * math.log10(x) if x > 0 else float("-inf")


def rms(xs):
    return math.sqrt(sum(x * x for x in xs) / len(xs))


def scaled(xs, rms_db, peak_db):
    gain = 10 ** (rms_db / 20) / rms(xs)
    peak = max(abs(x) for x in xs) * gain
    if peak > 10 ** (peak_db / 20):
        gain *= 10 ** (peak_db / 20) / peak
    return [x * gain for x in xs]


def wav_bytes(xs, bits):
    data = io.BytesIO()
    if bits == 16:
        frames = struct.pack("<%dh" % len(xs), *(max(-32767, min(32767, int(round(x * 32767)))) for x in xs))
    else:
        frames = bytes(max(1, min(255, 128 + int(round(x * 127)))) for x in xs)
    with wave.open(data, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(bits // 8)
        w.setframerate(RATE)
        w.writeframes(frames)
    return data.getvalue()


def build():
    """File name -> bytes."""
    _, tracks = sound_table.read()
    unplayed = [name for name in MUSIC if not any(t.names(name) for t in tracks)]
    if unplayed:
        raise SystemExit("make_sounds: music the game never plays: " + ", ".join(unplayed))
    files = {}
    for name, make in recipes().items():
        files[name + ".wav"] = wav_bytes(scaled(make(), EFFECT_RMS_DB, PEAK_LIMIT_DB), 16)
    for name, make in MUSIC.items():
        files[name + ".wav"] = wav_bytes(scaled(make(), MUSIC_RMS_DB, PEAK_LIMIT_DB), 8)  # 8-bit keeps loops small
    return files


def measure(path):
    with wave.open(path, "rb") as w:
        n, width, rate = w.getnframes(), w.getsampwidth(), w.getframerate()
        raw = w.readframes(n)
    if width == 2:
        xs = [v / 32768.0 for v in struct.unpack("<%dh" % n, raw)]
    else:
        xs = [(v - 128) / 128.0 for v in raw]
    return n / rate, db(max(abs(x) for x in xs)), db(rms(xs))


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def check(folder):
    problems = []
    for name, data in build().items():
        path = os.path.join(folder, name)
        if not os.path.exists(path) or read_bytes(path) != data:
            problems.append("%s differs from what the generator writes" % name)
    effects = list(recipes())
    extra = set(os.listdir(folder)) - {n + ".wav" for n in effects + list(MUSIC)}
    problems += ["%s is not made by the generator" % n for n in sorted(extra)]
    loudness = []
    for name in effects:
        path = os.path.join(folder, name + ".wav")
        if not os.path.exists(path):
            continue
        seconds, peak, level = measure(path)
        if peak >= -0.5:
            problems.append("%s clips (peak %.1f dBFS)" % (name, peak))
        loudness.append((level, name))
    if loudness and max(loudness)[0] - min(loudness)[0] > 6.0:
        problems.append("effects differ by more than 6 dB: %s %.1f, %s %.1f" % (
            max(loudness)[1], max(loudness)[0], min(loudness)[1], min(loudness)[0]))
    for p in problems:
        print("make_sounds: " + p, file=sys.stderr)
    return 1 if problems else 0


def main(argv):
    if len(argv) == 2 and argv[0] == "--check":
        return check(argv[1])
    if len(argv) == 2 and argv[0] == "--measure":
        print("%-16s %8s %10s %10s" % ("file", "seconds", "peak dBFS", "RMS dBFS"))
        for name in sorted(os.listdir(argv[1])):
            if name.endswith(".wav"):
                print("%-16s %8.3f %10.1f %10.1f" % ((name,) + measure(os.path.join(argv[1], name))))
        return 0
    if len(argv) == 1 and not argv[0].startswith("-"):
        os.makedirs(argv[0], exist_ok=True)
        for name, data in build().items():
            with open(os.path.join(argv[0], name), "wb") as f:
                f.write(data)
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
