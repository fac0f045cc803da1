"""Converts every source of conversions.txt (written by tools/render3d/make_test_models.py)
with the V3D converter into the output folder, as <source>.v3d, with the --units the list
gives: the first half of the converter's round trip, whose second half is
convert_round_trip_test.cpp."""

import os
import subprocess
import sys


def main():
    converter, data, out = sys.argv[1:4]
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(data, "conversions.txt")) as f:
        lines = [line.split() for line in f if line.strip()]
    for source, _expectation, _scale, units in lines:
        subprocess.run([converter, "--units", units, os.path.join(data, source),
                        os.path.join(out, source + ".v3d")], check=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
