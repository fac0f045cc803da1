"""What the example checks share: running an example headless and comparing colours."""
import os
import shlex
import subprocess
import sys

from PIL import Image

# A cross build's programs run through its emulator (VANE_PROGRAM_RUNNER, empty natively).
RUNNER = shlex.split(os.environ.get("VANE_PROGRAM_RUNNER", ""))

# The screen is 5-6-5: a channel may be off by the 3 bits it lost.
TOLERANCE = 8


def run_example(program, work, name, arguments, frames):
    """Runs program headless for frames frames and returns its last picture (RGB)."""
    os.makedirs(work, exist_ok=True)
    shot = os.path.join(work, name + ".ppm")
    if os.path.exists(shot):
        os.remove(shot)
    subprocess.run([*RUNNER, program, *arguments, "--frames", str(frames), "--shot", shot],
                   check=True)
    return Image.open(shot).convert("RGB")


def close(a, b, tolerance=TOLERANCE):
    return all(abs(p - q) <= tolerance for p, q in zip(a, b))


class Failures:
    def __init__(self, name):
        self.name = name
        self.items = []

    def check(self, condition, text):
        if not condition:
            self.items.append(text)

    def finish(self, what):
        for item in self.items:
            print(f"FAIL ({self.name}): {item}")
        if self.items:
            sys.exit(1)
        print(f"{self.name}: {what}")
