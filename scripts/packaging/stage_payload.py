#!/usr/bin/env python3
"""Copies the files a release ships from the build's bin folder into a clean staging
folder, following packaging/payload.txt, so the installer and the portable zip are made
from one and the same set of files.

    stage_payload.py BIN_DIR PAYLOAD_LIST STAGE_DIR

A pattern that matches nothing, or that would reach outside BIN_DIR, is an error: the
package must never quietly lose a file or pick up one from elsewhere.
"""
import glob
import os
import shutil
import sys

import script_main


class PayloadError(Exception):
    pass


def read_patterns(list_file: str) -> list[str]:
    with open(list_file, encoding="utf-8") as f:
        lines = [line.strip() for line in f]
    return [line for line in lines if line and not line.startswith("#")]


def select(bin_dir: str, patterns: list[str]) -> list[str]:
    """The files the patterns name, as sorted paths relative to bin_dir with "/"."""
    root = os.path.realpath(bin_dir)
    chosen: set[str] = set()
    for pattern in patterns:
        if os.path.isabs(pattern) or "\\" in pattern or ".." in pattern.split("/"):
            raise PayloadError(f"pattern {pattern!r} must be a relative path inside the bin folder")
        matches = [m for m in glob.glob(os.path.join(glob.escape(root), pattern), recursive=True) if os.path.isfile(m)]
        if not matches:
            raise PayloadError(f"nothing in {bin_dir} matches {pattern!r}")
        for match in matches:
            real = os.path.realpath(match)
            if os.path.commonpath([root, real]) != root:
                raise PayloadError(f"{match} leads outside {bin_dir}")
            chosen.add(os.path.relpath(match, root).replace(os.sep, "/"))
    return sorted(chosen)


def stage(bin_dir: str, patterns: list[str], stage_dir: str) -> list[str]:
    files = select(bin_dir, patterns)
    if os.path.exists(stage_dir):
        shutil.rmtree(stage_dir)
    for rel in files:
        target = os.path.join(stage_dir, rel)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copy2(os.path.join(bin_dir, rel), target)
    return files


def main(argv: list[str]) -> int:
    return script_main.run(__doc__, argv, len(argv) == 4,
                           lambda: print("\n".join(stage(argv[1], read_patterns(argv[2]), argv[3]))),
                           (OSError, PayloadError))


if __name__ == "__main__":
    sys.exit(main(sys.argv))
