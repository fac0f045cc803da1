"""A writer of 4-channel ProTracker modules ("M.K."): 31 sample slots, patterns of 64 rows,
8-bit signed samples. Only what a module needs to play in any tracker; no packing tricks."""

import struct

import numpy as np

ROWS = 64
CHANNELS = 4

NOTE_NAMES = ["C-", "C#", "D-", "D#", "E-", "F-", "F#", "G-", "G#", "A-", "A#", "B-"]
# ProTracker periods, finetune 0, C-1 to B-3.
PERIODS = [856, 808, 762, 720, 678, 640, 604, 570, 538, 508, 480, 453,
           428, 404, 381, 360, 339, 320, 302, 285, 269, 254, 240, 226,
           214, 202, 190, 180, 170, 160, 151, 143, 135, 127, 120, 113]

# Effects used by name in the score.
ARPEGGIO, PORTA_UP, PORTA_DOWN, TONE_PORTA, VIBRATO = 0x0, 0x1, 0x2, 0x3, 0x4
VOLUME_SLIDE, POSITION_JUMP, SET_VOLUME, PATTERN_BREAK, SET_SPEED = 0xA, 0xB, 0xC, 0xD, 0xF


def note_index(name):
    """'A-2' -> semitone index into PERIODS (C-1 is 0)."""
    return NOTE_NAMES.index(name[:2]) + 12 * (int(name[2]) - 1)


def period(name_or_index):
    i = note_index(name_or_index) if isinstance(name_or_index, str) else name_or_index
    if not 0 <= i < len(PERIODS):
        raise ValueError(f"note out of the ProTracker range: {name_or_index}")
    return PERIODS[i]


class Sample:
    def __init__(self, name, data, volume=64, loop_start=0, loop_length=0):
        """data: floats in [-1, 1]; loop_start and loop_length in samples (0 length: no loop)."""
        pcm = np.round(np.clip(np.asarray(data, dtype=np.float64), -1, 1) * 127).astype(np.int8)
        if len(pcm) % 2:
            pcm = np.append(pcm, np.int8(0))
        if loop_length == 0:
            # A one-shot sample starts with two zero bytes: trackers loop over them when idle.
            pcm[:2] = 0
        if loop_start % 2 or loop_length % 2 or loop_start + loop_length > len(pcm):
            raise ValueError(f"bad loop in sample {name}")
        if len(pcm) > 2 * 65535:
            raise ValueError(f"sample {name} is too long")
        self.name, self.pcm, self.volume = name, pcm, volume
        self.loop_start, self.loop_length = loop_start, loop_length


class Pattern:
    def __init__(self):
        # Each cell: [sample number, period, effect, parameter]
        self.cells = [[[0, 0, 0, 0] for _ in range(CHANNELS)] for _ in range(ROWS)]

    def note(self, row, channel, sample, note, effect=0, param=0):
        self.cells[row][channel] = [sample, period(note), effect, param]

    def effect(self, row, channel, effect, param):
        cell = self.cells[row][channel]
        cell[2], cell[3] = effect, param

    def free(self, row, channel):
        """True when the cell has no effect yet (a note alone may take one)."""
        cell = self.cells[row][channel]
        return cell[2] == 0 and cell[3] == 0

    def encode(self):
        out = bytearray()
        for row in self.cells:
            for sample, per, effect, param in row:
                out += bytes([(sample & 0xF0) | (per >> 8), per & 0xFF,
                              ((sample & 0x0F) << 4) | effect, param])
        return bytes(out)


def write_module(path, title, samples, patterns, order, restart=0):
    if len(samples) > 31 or not order or len(order) > 128:
        raise ValueError("too many samples or a bad order list")
    out = bytearray(title.encode("ascii")[:20].ljust(20, b"\0"))
    for i in range(31):
        if i < len(samples):
            s = samples[i]
            loop_words = s.loop_length // 2 if s.loop_length else 1
            out += s.name.encode("ascii")[:22].ljust(22, b"\0")
            out += struct.pack(">HBBHH", len(s.pcm) // 2, 0, s.volume, s.loop_start // 2,
                               loop_words)
        else:
            out += bytes(22) + struct.pack(">HBBHH", 0, 0, 0, 0, 1)
    out += bytes([len(order), restart]) + bytes(order).ljust(128, b"\0") + b"M.K."
    for p in range(max(order) + 1):
        out += patterns[p].encode()
    for s in samples:
        out += s.pcm.tobytes()
    with open(path, "wb") as f:
        f.write(out)
