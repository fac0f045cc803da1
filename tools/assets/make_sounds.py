"""Writes the three sound effects, each under a second and synthesised:
- "WAVE" 118, whoosh.wav (PCM 8-bit mono 22 050 Hz): a slogan sweeps in, a band of noise
  whose centre rises and falls while it swells and dies away;
- "WAVE" 120, chime.wav (PCM 16-bit mono 11 025 Hz): a new model or mosaic cell, two bell
  strikes a fifth apart, each with inharmonic partials that decay at their own rates;
- "WAVE" 123, swell.wav (PCM 16-bit mono 11 025 Hz): a scene fades in, a chord of detuned
  saw voices whose loudness and brightness grow, with a rising breath of noise, ending soft.
"""

import numpy as np

from assetlib import Rng, output_path, save_wav


def noise(count, seed):
    rng = Rng(seed)
    return np.array([rng.uniform(-1.0, 1.0) for _ in range(count)])


def resonant_bandpass(signal, centre_hz, rate, q=2.5):
    """A state-variable band-pass filter whose centre follows centre_hz sample by sample."""
    low = band = 0.0
    out = np.zeros(len(signal))
    damping = 1.0 / q
    for i, x in enumerate(signal):
        f = 2.0 * np.sin(np.pi * min(centre_hz[i], rate / 6) / rate)
        high = x - low - damping * band
        band += f * high
        low += f * band
        out[i] = band
    return out


def fade_edges(x, rate, fade_in=0.005, fade_out=0.02):
    a, b = int(fade_in * rate), int(fade_out * rate)
    x = x.copy()
    x[:a] *= np.linspace(0, 1, a)
    x[-b:] *= np.linspace(1, 0, b)
    return x


def normalise(x, peak):
    return x * (peak / np.abs(x).max())


def whoosh(rate=22050, seconds=0.6):
    n = int(rate * seconds)
    t = np.arange(n) / n
    centre = 350 + 3200 * np.sin(np.pi * t) ** 2
    band = resonant_bandpass(noise(n, 118), centre, rate)
    envelope = np.sin(np.pi * np.clip(t * 1.3, 0, 1)) ** 1.5
    return fade_edges(normalise(band * envelope, 0.85), rate)


def chime(rate=11025, seconds=0.85):
    n = int(rate * seconds)
    t = np.arange(n) / rate
    out = np.zeros(n)
    # Bell partials relative to the strike note, with their decay times.
    partials = [(1.0, 1.0, 0.50), (2.0, 0.55, 0.30), (2.76, 0.45, 0.22), (5.40, 0.25, 0.10),
                (8.93, 0.12, 0.05)]
    for start, base in ((0.0, 880.0), (0.11, 1318.5)):
        s = t - start
        on = s >= 0
        for ratio, amp, decay in partials:
            freq = base * ratio
            if freq < rate / 2 * 0.9:
                out[on] += amp * np.sin(2 * np.pi * freq * s[on]) * np.exp(-s[on] / decay)
    return fade_edges(normalise(out, 0.8), rate, 0.002, 0.05)


def swell(rate=11025, seconds=0.9):
    n = int(rate * seconds)
    t = np.arange(n) / rate
    x = t / seconds
    loud = np.sin(np.pi * 0.5 * np.clip(x / 0.75, 0, 1)) ** 2 * np.clip((1 - x) / 0.25, 0, 1) ** 0.7
    out = np.zeros(n)
    # A minor chord (A3, C4, E4, A4), two voices a few cents apart on every note.
    for freq in (220.0, 261.63, 329.63, 440.0):
        for detune in (0.996, 1.004):
            f = freq * detune
            # Harmonic h comes in once a tenth of h of the sound has passed: it brightens.
            for h in range(1, 10):
                if f * h < rate / 2 * 0.9:
                    weight = (1.0 / h) * np.clip(x * 10 / h, 0, 1)
                    out += weight * np.sin(2 * np.pi * f * h * t + h)
    breath = resonant_bandpass(noise(n, 123), 600 + 2400 * x, rate, 1.5) * x ** 2 * 0.8
    return fade_edges(normalise((out / 8 + breath) * loud, 0.8), rate, 0.01, 0.03)


def main():
    save_wav(output_path("whoosh.wav"), whoosh(), 22050, 8)
    save_wav(output_path("chime.wav"), chime(), 11025, 16)
    save_wav(output_path("swell.wav"), swell(), 11025, 16)


if __name__ == "__main__":
    main()
