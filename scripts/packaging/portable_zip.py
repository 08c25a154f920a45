#!/usr/bin/env python3
"""The portable edition: the staged program folder as a zip archive with one top folder,
for people who run the program from wherever they unpack it (it finds its language files
beside itself and keeps its settings in the user's profile, as when installed).

    portable_zip.py STAGE_DIR OUTPUT.zip TOP_FOLDER

Entries are sorted and carry the files' own times, so the same files give the same archive.
"""
import os
import sys
import zipfile

import script_main


def make_zip(stage_dir: str, output: str, top: str) -> int:
    entries = []
    for folder, dirs, files in os.walk(stage_dir):
        dirs.sort()
        entries += [os.path.join(folder, name) for name in sorted(files)]
    if not entries:
        raise OSError(f"{stage_dir} holds no files")
    temporary = output + ".tmp"
    with zipfile.ZipFile(temporary, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
        for path in entries:
            name = top + "/" + os.path.relpath(path, stage_dir).replace(os.sep, "/")
            archive.write(path, name)
    os.replace(temporary, output)
    return len(entries)


def main(argv: list[str]) -> int:
    return script_main.run(__doc__, argv, len(argv) == 4, lambda: make_zip(argv[1], argv[2], argv[3]))


if __name__ == "__main__":
    sys.exit(main(sys.argv))
