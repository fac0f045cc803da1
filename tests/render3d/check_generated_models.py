"""Runs the test-model generator again into a temporary folder and demands the same bytes as
the committed models, expectations and benchmark model: neither our writer nor assimp may
depend on time, machine or chance."""

import filecmp
import os
import subprocess
import sys
import tempfile

OUTPUTS = [os.path.join("tests", "render3d", "data"), os.path.join("bench", "render3d")]


def main():
    repo = sys.argv[1]
    generator = os.path.join(repo, "tools", "render3d", "make_test_models.py")
    failures = []
    with tempfile.TemporaryDirectory() as out:
        for folder in OUTPUTS:
            os.makedirs(os.path.join(out, folder))
        subprocess.run([sys.executable, generator, out], check=True)
        count = 0
        for folder in OUTPUTS:
            for name in sorted(os.listdir(os.path.join(out, folder))):
                count += 1
                committed = os.path.join(repo, folder, name)
                if not os.path.exists(committed):
                    failures.append(f"{folder}/{name}: made but not committed")
                elif not filecmp.cmp(os.path.join(out, folder, name), committed, shallow=False):
                    failures.append(f"{folder}/{name}: differs from the committed file")
    print(f"regenerated {count} files")
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
