#!/usr/bin/env python3
"""Text files for Windows readers: UTF-8 with a byte-order mark and CR LF line ends, so
Notepad on every supported Windows shows them as written (older Notepads guess the encoding
and run LF-only lines together).

    windows_text.py SOURCE TARGET
"""
import sys

import script_main


def windows_text(text: str) -> bytes:
    lines = text.replace("\r\n", "\n").replace("\r", "\n").split("\n")
    return "\ufeff".encode() + "\r\n".join(lines).encode("utf-8")


def write_windows_text(path: str, text: str) -> None:
    with open(path, "wb") as f:
        f.write(windows_text(text))


def main(argv: list[str]) -> int:
    def act() -> None:
        with open(argv[1], encoding="utf-8") as f:
            write_windows_text(argv[2], f.read())
    return script_main.run(__doc__, argv, len(argv) == 3, act, (OSError, UnicodeDecodeError))


if __name__ == "__main__":
    sys.exit(main(sys.argv))
