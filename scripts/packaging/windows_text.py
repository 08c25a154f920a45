#!/usr/bin/env python3
"""Text files for Windows readers: UTF-8 with a byte-order mark and CR LF line ends, so
Notepad on every supported Windows shows them as written (older Notepads guess the encoding
and run LF-only lines together).

    windows_text.py SOURCE TARGET
"""
import sys


def windows_text(text: str) -> bytes:
    lines = text.replace("\r\n", "\n").replace("\r", "\n").split("\n")
    return "\ufeff".encode() + "\r\n".join(lines).encode("utf-8")


def write_windows_text(path: str, text: str) -> None:
    with open(path, "wb") as f:
        f.write(windows_text(text))


def main(argv: list[str]) -> int:
    if len(argv) != 3:
        print(__doc__.split("\n\n")[1], file=sys.stderr)
        return 2
    try:
        with open(argv[1], encoding="utf-8") as f:
            write_windows_text(argv[2], f.read())
    except (OSError, UnicodeDecodeError) as e:
        print(f"windows_text: {e}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
