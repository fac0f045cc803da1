#!/usr/bin/python3
"""Writes the test modules and sounds under data/.

Each module exercises one family of ProTracker effects; song.mod is a small piece of music
using many of them at once. Every sample starts with one strongly negative frame followed by
a body of positive values, so the moment a note starts (the sample restarting at frame 0) is
visible in a rendering of its channel as the signal turning negative.

Run with /usr/bin/python3 from this folder; the outputs are committed.
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, "data")

# ProTracker periods at finetune 0, C-1 to B-3.
PERIODS = [856, 808, 762, 720, 678, 640, 604, 570, 538, 508, 480, 453,
           428, 404, 381, 360, 339, 320, 302, 285, 269, 254, 240, 226,
           214, 202, 190, 180, 170, 160, 151, 143, 135, 127, 120, 113]
NOTE_NAMES = ["C-", "C#", "D-", "D#", "E-", "F-", "F#", "G-", "G#", "A-", "A#", "B-"]


def note(name):
    """'C-2' -> index 12."""
    return NOTE_NAMES.index(name[:2]) + 12 * (int(name[2]) - 1)


MARK = -100


def tone(length, cycle, loop_start=2):
    """A looping square tone: the marker, then positive levels 15 and 55."""
    body = [15 if (i // (cycle // 2)) % 2 == 0 else 55 for i in range(length - 1)]
    return dict(data=[MARK] + body, loop=(loop_start, length - loop_start))


def drum(length):
    """A decaying noise-like hit without a loop."""
    data = [MARK]
    seed = 12345
    for i in range(1, length):
        seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
        envelope = 1.0 - i / length
        data.append(2 + int(envelope * (seed % 60)))
    return dict(data=data, loop=None)


def marked_every(length, spacing):
    """A sample with the marker at every multiple of spacing (for sample offsets)."""
    data = []
    for i in range(length):
        data.append(MARK if i % spacing == 0 else 10 + (i * 7) % 40)
    return dict(data=data, loop=None)


def sample(body, volume=64, finetune=0):
    s = dict(body)
    s["volume"] = volume
    s["finetune"] = finetune
    return s


def cell(n=None, smp=0, eff=0, par=0):
    period = PERIODS[note(n)] if n else 0
    return bytes([(smp & 0xF0) | (period >> 8), period & 0xFF, ((smp & 0x0F) << 4) | eff, par])


def pattern(rows):
    """rows: {row: {channel: (note or None, sample, effect, param)}}"""
    out = bytearray()
    for r in range(64):
        for c in range(4):
            entry = rows.get(r, {}).get(c)
            out += cell(*entry) if entry else bytes(4)
    return bytes(out)


def write_mod(name, title, samples, patterns, orders):
    head = title.encode("ascii")[:20].ljust(20, b"\0")
    blob = b""
    for i in range(31):
        if i < len(samples):
            s = samples[i]
            data = s["data"]
            if len(data) % 2:
                data = data + [s["data"][-1]]
            words = len(data) // 2
            if s["loop"]:
                ls, ll = s["loop"]
                loop = struct.pack(">HH", ls // 2, ll // 2)
            else:
                loop = struct.pack(">HH", 0, 1)
            head += (f"smp{i + 1}".encode().ljust(22, b"\0") + struct.pack(">H", words) +
                     bytes([s["finetune"] & 15, s["volume"]]) + loop)
            blob += bytes(v & 0xFF for v in data)
        else:
            head += bytes(22) + struct.pack(">HBBHH", 0, 0, 0, 0, 1)
    head += bytes([len(orders), 127]) + bytes(orders).ljust(128, b"\0") + b"M.K."
    with open(os.path.join(DATA, name), "wb") as f:
        f.write(head + b"".join(patterns) + blob)


def notes_every(step, channel, n, smp, first=0, last=64, eff=0, par=0):
    return {r: {channel: (n, smp, eff, par)} for r in range(first, last, step)}


def merge(*parts):
    """Joins row tables; a SPEED(n) part goes into the first cell of row 0 without an effect."""
    rows = {}
    speed = None
    for p in parts:
        if "speed" in p:
            speed = p["speed"]
            continue
        for r, chans in p.items():
            rows.setdefault(r, {}).update(chans)
    if speed is not None:
        first = rows.setdefault(0, {})
        free = [c for c in range(4) if c not in first or tuple(first[c][2:]) in [(), (0, 0)]]
        assert free, "no cell without an effect for the speed on row 0"
        n, smp = (first[free[0]] + (None, 0))[:2] if free[0] in first else (None, 0)
        first[free[0]] = (n, smp, 0xF, speed)
    return rows


def SPEED(ticks):
    return {"speed": ticks}

STANDARD = [sample(tone(512, 32)), sample(drum(3000)), sample(tone(256, 16), 48),
            sample(marked_every(1024, 256), 64)]


def modules():
    mods = {}
    mods["arpeggio.mod"] = [merge(
        SPEED(4),
        notes_every(8, 0, "C-2", 1, eff=0x0, par=0x37),
        {r: {0: (None, 0, 0x0, 0x47)} for r in range(1, 64, 8)},
        notes_every(16, 1, "A-1", 3, eff=0x0, par=0xC0),
        notes_every(4, 2, "C-2", 2))]
    mods["portamento.mod"] = [merge(
        SPEED(5),
        notes_every(16, 0, "C-2", 1),
        {r: {0: (None, 0, 0x1, 3)} for r in range(1, 8)},
        {r: {0: (None, 0, 0x2, 4)} for r in range(9, 15)},
        notes_every(8, 1, "G-2", 3, eff=0x2, par=2),
        notes_every(4, 3, "C-3", 2))]
    mods["tone_portamento.mod"] = [merge(
        SPEED(4),
        {0: {0: ("C-2", 1)}, 4: {0: ("C-3", 1, 0x3, 8)}, 5: {0: (None, 0, 0x3, 0)},
         6: {0: (None, 0, 0x5, 0x02)}, 16: {0: ("G-1", 1, 0x3, 4)}, 17: {0: (None, 0, 0x5, 0x20)},
         24: {0: ("E-2", 1)}, 25: {0: ("E-1", 0, 0x3, 2)}, 26: {0: (None, 0, 0xE, 0x31)},
         27: {0: (None, 0, 0x3, 0)}, 40: {0: ("D-2", 1, 0x5, 0x01)}},
        notes_every(8, 1, "C-2", 2))]
    mods["vibrato.mod"] = [merge(
        SPEED(6),
        notes_every(16, 0, "A-2", 1, eff=0x4, par=0x46),
        {r: {0: (None, 0, 0x4, 0)} for r in range(1, 8)},
        {r: {0: (None, 0, 0x6, 0x01)} for r in range(8, 12)},
        {32: {1: (None, 0, 0xE, 0x41)}, 48: {1: (None, 0, 0xE, 0x42)}},
        notes_every(8, 1, "E-2", 3, eff=0x4, par=0x8C),
        notes_every(4, 2, "C-1", 2))]
    mods["tremolo.mod"] = [merge(
        SPEED(6),
        notes_every(16, 0, "C-2", 1, eff=0x7, par=0x48),
        {r: {0: (None, 0, 0x7, 0)} for r in range(1, 10)},
        {20: {3: (None, 0, 0xE, 0x71)}, 40: {3: (None, 0, 0xE, 0x72)}},
        notes_every(8, 3, "G-2", 3, eff=0x7, par=0x6F),
        {r: {3: (None, 0, 0x7, 0)} for r in range(1, 64, 8)})]
    mods["volume.mod"] = [merge(
        SPEED(4),
        notes_every(16, 0, "C-2", 1, eff=0xC, par=40),
        {r: {0: (None, 0, 0xA, 0x02)} for r in range(1, 6)},
        {r: {0: (None, 0, 0xA, 0x30)} for r in range(6, 10)},
        {r: {0: (None, 0, 0xE, 0xB4)} for r in range(10, 14)},
        {r: {0: (None, 0, 0xE, 0xA6)} for r in range(14, 16)},
        notes_every(4, 1, "D-2", 2, eff=0xC, par=20),
        notes_every(8, 2, "F-2", 3, eff=0xC, par=70))]
    mods["sample_offset.mod"] = [merge(
        SPEED(1),
        {r: {0: ("C-2", 4, 0x9, [0, 1, 2, 3][(r // 4) % 4])} for r in range(0, 64, 4)},
        {r: {0: (None, 0, 0xC, 0)} for r in range(1, 64, 4)},
        {r: {1: ("C-2", 4, 0x9, 0 if r % 16 else 2)} for r in range(0, 64, 8)},
        {r: {1: (None, 0, 0xC, 0)} for r in range(1, 64, 8)})]
    mods["speed_tempo.mod"] = [merge(
        {0: {3: (None, 0, 0xF, 3)}, 8: {3: (None, 0, 0xF, 150)}, 16: {3: (None, 0, 0xF, 5)},
         24: {3: (None, 0, 0xF, 0x40)}, 32: {3: (None, 0, 0xF, 2)}, 40: {3: (None, 0, 0xF, 0xFF)},
         48: {3: (None, 0, 0xF, 0x7D)}, 56: {3: (None, 0, 0xF, 1)}},
        notes_every(2, 0, "C-2", 2),
        notes_every(4, 1, "G-2", 1))]
    mods["fine_effects.mod"] = [merge(
        SPEED(4),
        notes_every(16, 0, "C-2", 1),
        {r: {0: (None, 0, 0xE, 0x14)} for r in range(1, 6)},
        {r: {0: (None, 0, 0xE, 0x23)} for r in range(6, 12)},
        {r: {1: ("C-2", 1, 0xE, 0x50 + (r // 8))} for r in range(0, 64, 8)},
        {r: {2: ("A-1", 3, 0xE, 0x58 + (r // 8))} for r in range(4, 64, 8)})]
    # Position jump and pattern break: order 0 breaks into row 16 of order 1, which jumps to
    # order 3, which breaks to row 8 of order 4 (pattern 1 again), which ends by jumping back.
    # (The fine volume slide by 0 marks the file as ProTracker's: players take pattern breaks
    # in files without any extended effect as NoiseTracker's, which ignores the break row.)
    p0 = merge(SPEED(3), notes_every(4, 0, "C-2", 2, 0, 32), {31: {1: (None, 0, 0xD, 0x16)}},
               {1: {2: (None, 0, 0xE, 0xA0)}})
    p1 = merge(SPEED(3), notes_every(4, 0, "E-2", 1), {47: {2: (None, 0, 0xB, 3)}})
    p2 = merge(notes_every(2, 1, "G-2", 3))
    p3 = merge(notes_every(8, 2, "C-3", 1), {20: {0: (None, 0, 0xD, 0x08)}})
    p1_end = merge(SPEED(3), notes_every(4, 0, "E-2", 1), {47: {2: (None, 0, 0xB, 0)}})
    mods["jump_break.mod"] = ([p0, p1, p2, p3, p1_end], [0, 1, 2, 3, 4])
    mods["pattern_loop.mod"] = [merge(
        SPEED(3),
        {4: {0: ("C-2", 1, 0xE, 0x60)}, 6: {1: ("G-2", 3)}, 8: {0: ("E-2", 1, 0xE, 0x62)},
         20: {2: ("C-2", 2, 0xE, 0x60)}, 22: {2: ("D-2", 2)}, 24: {2: ("E-2", 2, 0xE, 0x63)},
         40: {1: ("C-2", 2)}},
        notes_every(2, 3, "C-3", 2, 0, 64))]
    mods["retrigger_cut_delay.mod"] = [merge(
        SPEED(6),
        notes_every(8, 0, "C-2", 2, eff=0xE, par=0x92),
        {r: {0: (None, 0, 0xE, 0x93)} for r in range(4, 64, 8)},
        notes_every(8, 1, "G-2", 1, eff=0xE, par=0xC3),
        notes_every(8, 2, "E-2", 1, first=2, eff=0xE, par=0xD2),
        notes_every(8, 3, "C-3", 3, first=6, eff=0xE, par=0xD5),
        {r: {1: ("D-2", 1, 0xE, 0xC0)} for r in range(4, 64, 16)})]
    mods["pattern_delay.mod"] = [merge(
        SPEED(3),
        notes_every(2, 0, "C-2", 2),
        {8: {1: ("G-2", 1, 0xE, 0xE2)}, 9: {1: (None, 0, 0xA, 0x04)},
         16: {2: ("E-2", 1, 0xE, 0xE4)}, 17: {2: (None, 0, 0x1, 2)},
         32: {1: ("C-2", 3, 0xE, 0xE1)}})]
    # A small song: bass, chords, drums and a lead over three patterns that loops back.
    song = []
    for p in range(3):
        rows = merge(
            SPEED(5) if p == 0 else {},
            notes_every(8, 0, ["C-1", "A-1", "F-1"][p], 1),
            {r: {0: (None, 0, 0xA, 0x01)} for r in range(1, 64, 8)},
            notes_every(4, 1, "C-2", 2, eff=0xC, par=48),
            notes_every(16, 2, ["E-2", "C-2", "A-2"][p], 3, eff=0x0, par=0x37),
            {r: {3: (["G-2", "A-2", "C-3", "E-3"][(r // 8 + p) % 4], 1, 0x4, 0x34)}
             for r in range(0, 64, 8)},
            {r: {3: (None, 0, 0x6, 0x01)} for r in range(4, 64, 8)},
            {63: {2: (None, 0, 0xB, 1)}} if p == 2 else {})
        song.append(rows)
    mods["song.mod"] = (song, [0, 1, 2])
    return mods


def write_wav(name, rate, bits, channels, frames):
    data = bytearray()
    for i in range(len(frames)):
        for c in range(channels):
            v = frames[i][c]
            if bits == 8:
                data.append(max(0, min(255, int(round(v * 127)) + 128)))
            else:
                data += struct.pack("<h", max(-32768, min(32767, int(round(v * 32767)))))
    block = channels * bits // 8
    fmt = struct.pack("<HHIIHH", 1, channels, rate, rate * block, block, bits)
    body = b"WAVE" + b"fmt " + struct.pack("<I", 16) + fmt + b"data" + struct.pack(
        "<I", len(data)) + bytes(data)
    if len(data) % 2:
        body += b"\0"
    with open(os.path.join(DATA, name), "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", len(body)) + body)


def sounds():
    def chirp(rate, seconds, f0, f1, channels):
        n = int(rate * seconds)
        out = []
        phase = 0.0
        for i in range(n):
            f = f0 + (f1 - f0) * i / n
            phase += 2 * math.pi * f / rate
            v = 0.8 * math.sin(phase) * (1 - i / n)
            out.append([v, -v][:channels] if channels == 2 else [v])
        return out
    write_wav("blip_8bit_mono_22050.wav", 22050, 8, 1, chirp(22050, 0.25, 900, 300, 1))
    write_wav("hit_16bit_mono_11025.wav", 11025, 16, 1, chirp(11025, 0.4, 200, 80, 1))
    write_wav("sweep_16bit_stereo_44100.wav", 44100, 16, 2, chirp(44100, 0.3, 400, 2000, 2))
    write_wav("tick_8bit_stereo_8000.wav", 8000, 8, 2, chirp(8000, 0.1, 1000, 1000, 2))


def main():
    os.makedirs(DATA, exist_ok=True)
    for name, layout in modules().items():
        if isinstance(layout, tuple):
            rows_list, orders = layout
        else:
            rows_list, orders = layout, [0]
        write_mod(name, name[:-4], STANDARD, [pattern(r) for r in rows_list], orders)
    sounds()


if __name__ == "__main__":
    main()
