"""The score of the background music: chords, bass lines, drum bars and the melody, written
bar by bar and turned into module patterns."""

from modfile import (ARPEGGIO, PATTERN_BREAK, POSITION_JUMP, PORTA_DOWN, SET_SPEED,
                     SET_VOLUME, TONE_PORTA, VIBRATO, VOLUME_SLIDE, Pattern, note_index,
                     NOTE_NAMES)

KICK, SNARE, HAT, CRASH, BASS, LEAD, PAD = 1, 2, 3, 4, 5, 6, 7
DRUMS, BASS_CH, LEAD_CH, PAD_CH = 0, 1, 2, 3
BAR = 16

MINOR, MAJOR = 0x37, 0x47  # arpeggio: +3/+7 or +4/+7 semitones

# Chords as (pad root note, arpeggio, bass root note).
THEME = [("A-2", MINOR, "A-1"), ("F-2", MAJOR, "F-1"), ("C-3", MAJOR, "C-2"), ("G-2", MAJOR, "G-1")]
BRIDGE = [("D-3", MINOR, "D-2"), ("A-2", MINOR, "A-1"), ("A#2", MAJOR, "A#1"), ("E-2", MAJOR, "E-1")]
BRIDGE_SHORT = [("D-3", MINOR, "D-2"), ("A-2", MINOR, "A-1"), ("E-2", MAJOR, "E-1")]
TURNAROUND = [("F-2", MAJOR, "F-1"), ("G-2", MAJOR, "G-1"), ("A-2", MINOR, "A-1"), ("E-2", MAJOR, "E-1")]


def transpose(name, semitones):
    i = note_index(name) + semitones
    return f"{NOTE_NAMES[i % 12]}{i // 12 + 1}"


# Drum bars: (row, sample, volume or None for the sample's own).
DRUM_BARS = {
    "hats": [(2, HAT, 0x18), (6, HAT, 0x18), (10, HAT, 0x18), (14, HAT, 0x18)],
    "pulse": [(0, KICK, None), (4, HAT, 0x20), (8, KICK, None), (12, HAT, 0x20), (14, HAT, 0x14)],
    "beat": [(0, KICK, None), (2, HAT, 0x20), (4, SNARE, None), (6, HAT, 0x20), (8, KICK, None),
             (10, KICK, 0x30), (12, SNARE, None), (14, HAT, 0x20)],
    "busy": [(0, KICK, None), (2, HAT, 0x20), (3, HAT, 0x10), (4, SNARE, None), (6, HAT, 0x20),
             (7, KICK, 0x28), (8, KICK, None), (10, KICK, 0x30), (11, HAT, 0x10),
             (12, SNARE, None), (14, HAT, 0x20), (15, SNARE, 0x14)],
    "half": [(0, KICK, None), (4, HAT, 0x1C), (8, SNARE, None), (12, HAT, 0x1C), (14, KICK, 0x28)],
    "fill": [(0, KICK, None), (4, SNARE, None), (8, SNARE, 0x20), (9, SNARE, 0x28),
             (10, SNARE, 0x30), (11, SNARE, 0x38), (12, SNARE, "tom"), (13, SNARE, "tom"),
             (14, SNARE, 0x40), (15, SNARE, 0x40)],
}

# Bass figures: (row, semitones above the root).
BASS_FIGURES = {
    "long": [(0, 0), (8, 0)],
    "eighths": [(0, 0), (2, 0), (4, 12), (6, 0), (8, 0), (10, 12), (12, 0), (14, 7)],
    "drive": [(0, 0), (2, 12), (3, 0), (4, 0), (6, 12), (8, 0), (10, 12), (11, 0), (12, 7),
              (14, 12)],
    "half": [(0, 0), (6, 0), (8, 12), (12, 0)],
}

# Melodies: per bar, (row, note, length in rows, style); style "vib" adds vibrato once the
# note has sounded a little, "fade" slides its volume down, "slide" glides from the note
# before into this one (tone portamento).
THEME_A = [
    [(0, "A-2", 4, ""), (4, "C-3", 2, ""), (6, "E-3", 2, ""), (8, "D-3", 3, ""),
     (11, "C-3", 1, ""), (12, "B-2", 2, ""), (14, "C-3", 2, "")],
    [(0, "A-2", 6, "vib"), (6, "F-2", 2, ""), (8, "A-2", 2, ""), (10, "C-3", 2, ""),
     (12, "F-3", 4, "vib")],
    [(0, "E-3", 4, ""), (4, "G-3", 2, ""), (6, "E-3", 2, ""), (8, "C-3", 4, "vib"),
     (12, "D-3", 2, ""), (14, "E-3", 2, "")],
    [(0, "D-3", 8, "vib"), (8, "B-2", 4, ""), (12, "G-2", 4, "fade")],
]
THEME_ANSWER = [
    [(0, "A-2", 4, ""), (4, "C-3", 2, ""), (6, "E-3", 2, ""), (8, "A-3", 4, "vib"),
     (12, "G-3", 2, ""), (14, "E-3", 2, "")],
    [(0, "F-3", 4, "vib"), (4, "E-3", 2, ""), (6, "D-3", 2, ""), (8, "C-3", 4, ""),
     (12, "A-2", 4, "vib")],
    [(0, "G-2", 2, ""), (2, "C-3", 2, ""), (4, "E-3", 2, ""), (6, "G-3", 2, ""),
     (8, "A-3", 2, ""), (10, "G-3", 2, ""), (12, "E-3", 4, "vib")],
    [(0, "D-3", 4, ""), (4, "G-3", 4, "slide"), (8, "D-3", 4, "vib"), (12, "B-2", 4, "fade")],
]
BRIDGE_MELODY = [
    [(0, "F-3", 6, "vib"), (6, "E-3", 2, ""), (8, "D-3", 8, "vib")],
    [(0, "C-3", 6, "vib"), (6, "D-3", 2, ""), (8, "E-3", 8, "vib")],
    [(0, "F-3", 4, ""), (4, "D-3", 4, ""), (8, "A#2", 4, ""), (12, "D-3", 4, "")],
    [(0, "E-3", 4, ""), (4, "G#3", 8, "slide"), (12, "B-2", 4, "fade")],
]
BRIDGE_SHORT_MELODY = [
    [(0, "A-3", 4, ""), (4, "F-3", 4, ""), (8, "D-3", 4, ""), (12, "F-3", 4, "")],
    [(0, "E-3", 4, ""), (4, "C-3", 4, ""), (8, "A-2", 4, ""), (12, "C-3", 4, "")],
    [(0, "B-2", 4, ""), (4, "D-3", 4, ""), (8, "G#3", 8, "vib")],
]
PICKUP = [[], [], [], [(8, "E-2", 2, ""), (10, "G-2", 2, ""), (12, "B-2", 2, ""),
                       (14, "G#2", 2, "")]]
TURNAROUND_MELODY = [
    [(0, "C-3", 4, ""), (4, "A-2", 4, ""), (8, "F-3", 8, "vib")],
    [(0, "D-3", 4, ""), (4, "B-2", 4, ""), (8, "G-3", 8, "vib")],
    [(0, "E-3", 4, ""), (4, "C-3", 4, ""), (8, "A-3", 8, "vib")],
    [(0, "B-2", 4, ""), (4, "G#2", 4, ""), (8, "E-2", 6, "fade")],
]


def write_drums(p, bar, kind):
    for row, sample, volume in DRUM_BARS[kind]:
        r = bar * BAR + row
        if volume == "tom":
            # A snare whose pitch falls through the hit sounds like a tom.
            p.note(r, DRUMS, sample, "C-3", PORTA_DOWN, 0x06)
        elif volume is None:
            p.note(r, DRUMS, sample, "C-3")
        else:
            p.note(r, DRUMS, sample, "C-3", SET_VOLUME, volume)


def write_bass(p, bar, root, figure):
    for row, step in BASS_FIGURES[figure]:
        p.note(bar * BAR + row, BASS_CH, BASS, transpose(root, step))


def write_pad(p, bar, root, arpeggio, volume=None):
    """The chord: the root note with an arpeggio on every row of the bar; a volume, when
    given, is set on the first row instead."""
    start = bar * BAR
    if volume is None:
        p.note(start, PAD_CH, PAD, root, ARPEGGIO, arpeggio)
    else:
        p.note(start, PAD_CH, PAD, root, SET_VOLUME, volume)
    for row in range(1, BAR):
        p.effect(start + row, PAD_CH, ARPEGGIO, arpeggio)


def write_melody(p, bars):
    """Writes melody bars; a gap after a note is closed with volume 0."""
    events = []
    for bar, notes in enumerate(bars):
        for row, note, length, style in notes:
            events.append((bar * BAR + row, note, length, style))
    for i, (row, note, length, style) in enumerate(events):
        if style == "slide":
            p.note(row, LEAD_CH, 0, note, TONE_PORTA, 0x18)
            for r in range(row + 1, min(row + length, 64)):
                p.effect(r, LEAD_CH, TONE_PORTA, 0)
        else:
            p.note(row, LEAD_CH, LEAD, note)
        if style == "vib":
            for k, r in enumerate(range(row + 2, min(row + length, 64))):
                p.effect(r, LEAD_CH, VIBRATO, 0x43 if k == 0 else 0)
        if style == "fade":
            for r in range(row + 1, min(row + length, 64)):
                p.effect(r, LEAD_CH, VOLUME_SLIDE, 0x03)
        end = row + length
        next_start = events[i + 1][0] if i + 1 < len(events) else 64
        if end < next_start and end < 64 and style != "fade":
            p.effect(end, LEAD_CH, SET_VOLUME, 0)


def section(chords, drums, bass_figure, melody, pad_volumes=None, bass=True):
    p = Pattern()
    write_melody(p, melody)
    for bar, (pad_root, arpeggio, bass_root) in enumerate(chords):
        write_drums(p, bar, drums[bar])
        if bass:
            write_bass(p, bar, bass_root, bass_figure)
        write_pad(p, bar, pad_root, arpeggio, pad_volumes[bar] if pad_volumes else None)
    return p


def build_patterns():
    intro = section(THEME, ["hats", "hats", "pulse", "fill"], None, [[], [], [], []],
                    pad_volumes=[0x0C, 0x16, 0x20, 0x28], bass=False)
    # Speed 6 and tempo 120 are set where those channels are silent.
    intro.effect(0, BASS_CH, SET_SPEED, 0x06)
    intro.effect(0, LEAD_CH, SET_SPEED, 0x78)
    intro_bass = section(THEME, ["pulse", "pulse", "pulse", "fill"], "long", PICKUP)
    theme = section(THEME, ["beat", "beat", "beat", "fill"], "eighths", THEME_A)
    theme.note(0, DRUMS, CRASH, "C-3")
    answer = section(THEME, ["beat", "beat", "beat", "fill"], "eighths", THEME_ANSWER)
    bridge = section(BRIDGE, ["half", "half", "half", "half"], "half", BRIDGE_MELODY)
    bridge.note(0, DRUMS, CRASH, "C-3")
    bridge_short = section(BRIDGE_SHORT + [BRIDGE_SHORT[-1]], ["half", "half", "fill", "fill"],
                           "half", BRIDGE_SHORT_MELODY)
    # Three bars only: the fourth is skipped by a break to the next pattern's first row.
    bridge_short.effect(47, BASS_CH, PATTERN_BREAK, 0x00)
    busy = section(THEME, ["busy", "busy", "busy", "fill"], "drive", THEME_A)
    busy.note(0, DRUMS, CRASH, "C-3")
    turnaround = section(TURNAROUND, ["beat", "beat", "busy", "fill"], "eighths",
                         TURNAROUND_MELODY)
    # Back to the intro with bass: the song loops from there.
    turnaround.effect(63, BASS_CH, POSITION_JUMP, 0x01)
    return [intro, intro_bass, theme, answer, bridge, bridge_short, busy, turnaround]


ORDER = [0, 1, 2, 3, 4, 5, 6, 3, 7]
