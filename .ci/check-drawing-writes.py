#!/usr/bin/env python3
"""Checks that the drawing changes in one place.

The drawing's fields (history/drawing.h) are private: everyone reads them
through the const accessors, and outside src/history/ the drawing changes
only through the actions of history/actions.h, the replay of history/play.h
(GoToStep, WalkToStep, LoadHistory, ...) and Drawing::Reset. The compiler
enforces most of it; this script guards the doors it cannot see:

- Writable and history/drawing_write.h are used only inside src/history/;
  tests and benchmarks that need a state no action makes (a damaged
  history, a figure list filled at random) go through the one door,
  tests/support/drawing_door.h, and say so by including it;
- no const_cast strips the const of what an accessor returns;
- no friend of Drawing or AppState is declared outside src/history/.

Run from anywhere; exits 1 and lists the offending lines.
"""
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
TEST_DOOR = pathlib.Path("tests/support/drawing_door.h")

ACCESSORS = r"(?:History|Figures|DeletedFigures|CurrentStep|ReplayedStep|BGFileName|ShownBGFileName|DataFileName)\s*\(\s*\)"
CHECKS = [
    (re.compile(r"\bWritable\s*\(|history/drawing_write\.h"), "writes the drawing's fields outside history/"),
    (re.compile(r"const_cast\s*<[^>]*>\s*\([^;]*(?:\.|->)" + ACCESSORS), "casts away the const of the drawing"),
    (re.compile(r"const_cast\s*<\s*(?:Drawing|AppState|HistoryList|FigureList)\b"), "casts away the const of the drawing"),
    (re.compile(r"\bfriend\b[^;]*\b(?:Drawing|AppState|Fields)\b"), "befriends the drawing outside history/"),
]


def code_of(line: str) -> str:
    """The line without its // comment and without string literals."""
    line = re.sub(r'"(?:\\.|[^"\\])*"', '""', line)
    return line.split("//", 1)[0]


def sources():
    for folder in ("src", "tests", "bench"):
        for path in sorted((ROOT / folder).rglob("*")):
            if path.suffix in {".h", ".cpp"}:
                yield path


def main() -> int:
    bad = []
    for path in sources():
        rel = path.relative_to(ROOT)
        if rel.parts[:2] == ("src", "history") or rel == TEST_DOOR:
            continue
        text = path.read_text(encoding="utf-8")
        through_door = rel.parts[0] != "src" and re.search(r'#include "[./a-z]*support/drawing_door\.h"', text)
        for n, line in enumerate(text.splitlines(), 1):
            # An include names its file in a string literal: check it whole.
            code = line if line.lstrip().startswith("#include") else code_of(line)
            for pattern, what in CHECKS:
                if through_door and pattern is CHECKS[0][0] and "drawing_write.h" not in code:
                    continue
                if pattern.search(code):
                    bad.append(f"{rel}:{n}: {what}: {line.strip()}")
                    break
    for b in bad:
        print(b)
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
