"""Runs every asset generator. With a folder argument the files go there instead of assets/
(the determinism check regenerates into a temporary folder and compares bytes)."""

import os
import subprocess
import sys

GENERATORS = ["make_logo.py", "make_font.py", "make_slogans.py", "make_advert.py",
              "make_music.py", "make_sounds.py", "make_icon.py", "make_models.py"]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for script in GENERATORS:
        subprocess.run([sys.executable, os.path.join(here, script)] + sys.argv[1:2], check=True)


if __name__ == "__main__":
    main()
