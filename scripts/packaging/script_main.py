"""The command-line frame the packaging scripts share: a script states how it is called in
the indented lines of its docstring and ends with 2 on wrong arguments, with 1 and one line
of message on a failure it expects (anything else is a bug and shows its traceback)."""
import os
import sys
from typing import Callable


def run(doc: str, argv: list[str], arguments_ok: bool, action: Callable[[], None],
        errors: tuple = (OSError,), subject: str | None = None) -> int:
    name = os.path.splitext(os.path.basename(argv[0]))[0]
    if not arguments_ok:
        usage = [line.strip() for line in doc.splitlines() if line.startswith("    ")]
        print("usage: " + "\n       ".join(usage), file=sys.stderr)
        return 2
    try:
        action()
    except errors as e:
        print(f"{name}: {subject + ': ' if subject else ''}{e}", file=sys.stderr)
        return 1
    return 0
