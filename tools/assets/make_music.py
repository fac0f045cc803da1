"""Writes the background music "PTMOD" 117: a 4-channel ProTracker module ("M.K.").

"Vorlund" in A minor at 120 beats a minute (speed 6, tempo 120; four rows a beat, a pattern
is four bars). Channel 1 drums, 2 bass, 3 lead, 4 pad chords played as arpeggios.

Order: intro (pad fades in, hi-hats), intro with bass and a pick-up, theme, theme answered,
bridge, short bridge (three bars, pattern break), busier theme, theme answered, turnaround;
the turnaround jumps back to the second intro pattern, so the song loops without a seam
after about 70 seconds.
"""

from make_music_score import ORDER, build_patterns
from modfile import write_module
from music_samples import instruments
from assetlib import output_path


def main():
    write_module(output_path("music.mod"), "vorlund", instruments(), build_patterns(), ORDER)


if __name__ == "__main__":
    main()
