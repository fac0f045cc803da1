"""Runs every asset generator again into a temporary folder and demands the same bytes as the
committed files: the generators must not depend on time, machine or chance. The contact sheet
is remade from the committed assets and compared too."""

import filecmp
import os
import subprocess
import sys
import tempfile


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
        sheet = os.path.join(out, "contact_sheet.png")
        subprocess.run([sys.executable, os.path.join(tools, "contact_sheet.py"), sheet], check=True)
        if not filecmp.cmp(sheet, os.path.join(repo, "docs", "contact_sheet.png"), shallow=False):
            failures.append("docs/contact_sheet.png differs from a fresh one")
    print(f"regenerated {len(made)} assets and the contact sheet")
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
