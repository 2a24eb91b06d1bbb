#!/usr/bin/env python3
"""Checks that the source folders depend on each other only downward.

Every `#include "folder/..."` in src/ is an arrow from the including file's
folder to `folder`. The arrows must follow LAYERS below (a folder may include
its own files and those of the folders listed for it) and so can never form
a cycle. Run from anywhere; exits 1 and lists the offending includes.
"""
import pathlib
import re
import sys

# folder -> folders it may include (besides itself). Keep in step with
# docs/architecture.md.
LAYERS = {
    "document": set(),
    "history": {"document"},
    "format": {"document", "history"},
    "render": {"document", "history"},
    "io": {"document", "history", "format", "render"},
    "ui": {"document", "history", "format", "render", "io"},
    "batch": {"document", "history", "format", "render", "io"},
    "app": {"ui", "batch", "document", "history", "format", "render", "io"},
}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z_]+)/')


def main() -> int:
    root = pathlib.Path(__file__).resolve().parent.parent / "src"
    bad = []
    for path in sorted(root.rglob("*")):
        if path.suffix not in {".h", ".cpp"}:
            continue
        folder = path.relative_to(root).parts[0]
        if folder not in LAYERS:
            bad.append(f"{path.relative_to(root)}: folder '{folder}' has no place in the layers")
            continue
        for n, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            m = INCLUDE.match(line)
            if not m:
                continue
            target = m.group(1)
            if target != folder and target not in LAYERS[folder]:
                bad.append(f"{path.relative_to(root)}:{n}: {folder} may not include {target}")
    for b in bad:
        print(b)
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
