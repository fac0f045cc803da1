"""The instruments of the background music, synthesised as 8-bit sample data.

Drums are one-shots made at 16 574 Hz (the rate of note C-3). Bass, lead and pad are tonal:
each holds whole cycles of a fixed length, so the played note sets the pitch (a 64-sample
cycle at C-1 sounds C2, a 32-sample cycle at C-2 sounds C4), an attack part changes its
brightness cycle by cycle, and a loop over the settled sound sustains the note.
"""

import numpy as np

from assetlib import Rng
from modfile import Sample

DRUM_RATE = 16574.0


def noise(count, seed):
    rng = Rng(seed)
    return np.array([rng.uniform(-1.0, 1.0) for _ in range(count)])


def normalise(x, peak=0.95):
    return x * (peak / max(1e-9, np.abs(x).max()))


def kick():
    t = np.arange(int(0.32 * DRUM_RATE)) / DRUM_RATE
    freq = 46 + 120 * np.exp(-t / 0.028)
    phase = 2 * np.pi * np.cumsum(freq) / DRUM_RATE
    body = np.sin(phase) * np.exp(-t / 0.11)
    click = noise(len(t), 1) * np.exp(-t / 0.003) * 0.5
    return Sample("kick", normalise(np.tanh(1.8 * (body + click))), 64)


def snare():
    t = np.arange(int(0.26 * DRUM_RATE)) / DRUM_RATE
    tone = np.sin(2 * np.pi * 190 * t) * np.exp(-t / 0.04) * 0.6
    n = noise(len(t), 2)
    bright = n - 0.6 * np.concatenate([[0], n[:-1]])  # tilt the noise upwards
    rattle = bright * np.exp(-t / 0.075)
    return Sample("snare", normalise(tone + rattle), 60)


def hihat():
    t = np.arange(int(0.07 * DRUM_RATE)) / DRUM_RATE
    n = noise(len(t), 3)
    hiss = n - np.concatenate([[0], n[:-1]])
    return Sample("hihat", normalise(hiss * np.exp(-t / 0.016)), 40)


def crash():
    t = np.arange(int(0.9 * DRUM_RATE)) / DRUM_RATE
    n = noise(len(t), 4)
    hiss = n - 0.8 * np.concatenate([[0], n[:-1]])
    wash = hiss * np.exp(-t / 0.35) * 0.8
    freq = 46 + 120 * np.exp(-t / 0.028)
    thump = np.sin(2 * np.pi * np.cumsum(freq) / DRUM_RATE) * np.exp(-t / 0.1)
    return Sample("crash", normalise(np.tanh(1.3 * (wash + thump))), 56)


def harmonic_cycle(length, amplitudes, phases=None):
    """One cycle of length samples from harmonic amplitudes (index 0 is the fundamental)."""
    x = np.arange(length) / length
    out = np.zeros(length)
    for h, a in enumerate(amplitudes, start=1):
        if a and h < length / 2:
            p = 0.0 if phases is None else phases[h - 1]
            out += a * np.sin(2 * np.pi * h * x + p)
    return out


def lowpass_weights(count, cutoff, slope=4):
    h = np.arange(1, count + 1)
    return 1.0 / (1.0 + (h / cutoff) ** slope)


def tonal(name, cycle, harmonics, attack_cycles, bright, settled, volume):
    """Attack cycles whose low-pass cutoff falls from bright to settled, then one looped
    cycle at settled; every cycle starts at phase 0, so the joins are smooth."""
    cycles = []
    for k in range(attack_cycles + 1):
        cutoff = bright + (settled - bright) * (k / attack_cycles)
        cycles.append(harmonic_cycle(cycle, harmonics * lowpass_weights(len(harmonics), cutoff)))
    data = np.concatenate(cycles)
    # The attack also starts a little louder, like a plucked string.
    env = np.ones(len(data))
    env[: attack_cycles * cycle] = np.linspace(1.25, 1.0, attack_cycles * cycle)
    data = normalise(data * env, 0.9)
    return Sample(name, data, volume, attack_cycles * cycle, cycle)


def bass():
    h = np.arange(1, 24)
    saw = 1.0 / h
    square = np.where(h % 2 == 1, 1.0 / h, 0.0)
    return tonal("bass", 64, 0.6 * saw + 0.6 * square, 24, 14.0, 3.0, 64)


def lead():
    h = np.arange(1, 16)
    pulse = np.abs(np.sin(np.pi * h * 0.3)) / h  # 30% pulse
    return tonal("lead", 32, pulse, 32, 12.0, 5.0, 46)


def pad():
    """Two slightly detuned saws and a sub-octave saw in one 2048-sample loop (64, 65 and 32
    cycles), built in the frequency domain so the loop is exactly periodic; a fading-in copy
    of the loop goes before it."""
    length = 2048
    spectrum = np.zeros(length // 2 + 1, dtype=complex)
    rng = Rng(5)
    for cycles, gain in ((64, 1.0), (65, 0.8), (32, 0.6)):
        for h in range(1, 12):
            bin_ = cycles * h
            if bin_ < len(spectrum):
                amp = gain / h / (1 + (h / 4.0) ** 3)
                spectrum[bin_] += amp * np.exp(1j * rng.uniform(0, 2 * np.pi))
    loop = np.fft.irfft(spectrum, length)
    loop = normalise(loop, 0.85)
    attack = loop * np.linspace(0.0, 1.0, length)
    return Sample("pad", np.concatenate([attack, loop]), 40, length, length)


def instruments():
    """In sample-number order: 1 kick, 2 snare, 3 hi-hat, 4 crash, 5 bass, 6 lead, 7 pad."""
    return [kick(), snare(), hihat(), crash(), bass(), lead(), pad()]
