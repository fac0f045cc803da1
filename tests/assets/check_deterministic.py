"""Runs every asset generator again into a temporary folder and demands the same bytes as the
committed files: the generators must not depend on time, machine or chance. The review sheets
in docs/ (the contact sheet of the pictures and sounds, the preview of the models in their
scenes) are remade and compared too."""

import filecmp
import os
import subprocess
import sys
import tempfile

SHEETS = [("contact_sheet.py", "contact_sheet.png"), ("model_preview.py", "model_preview.png")]


def main():
    repo = sys.argv[1]
    tools = os.path.join(repo, "tools", "assets")
    failures = []
    with tempfile.TemporaryDirectory() as out:
        subprocess.run([sys.executable, os.path.join(tools, "make_all.py"), out], check=True)
        made = sorted(os.listdir(out))
        for name in made:
            committed = os.path.join(repo, "assets", name)
            if not os.path.exists(committed):
                failures.append(f"{name}: made but not committed under assets/")
            elif not filecmp.cmp(os.path.join(out, name), committed, shallow=False):
                failures.append(f"{name}: differs from the committed file")
        for script, name in SHEETS:
            sheet = os.path.join(out, name)
            subprocess.run([sys.executable, os.path.join(tools, script), sheet], check=True)
            if not filecmp.cmp(sheet, os.path.join(repo, "docs", name), shallow=False):
                failures.append(f"docs/{name} differs from a fresh one")
    print(f"regenerated {len(made)} assets and {len(SHEETS)} review sheets")
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
