#!/usr/bin/env python3
"""The version resource of a Windows executable, read on Linux.

The package's version, name and maker come from the program it ships, so the one place to
change them is the program's version resource (CMakeLists.txt's project VERSION and
resources/version.rc.in). The installer test also uses --set to make a copy of the program
that claims a higher version, as the next release would.

    pe_version.py FILE                 the file version, as "1.2.3.4"
    pe_version.py FILE --string NAME   a string of the resource, e.g. ProductName
    pe_version.py FILE --set 1.2.3.5   rewrite the fixed file and product version in place
"""
import struct
import sys

import script_main

RT_VERSION = 16
FIXED_SIGNATURE = 0xFEEF04BD


class NotVersioned(Exception):
    pass


def _u16(data: bytes, off: int) -> int:
    if off < 0 or off + 2 > len(data):
        raise NotVersioned("truncated")
    return struct.unpack_from("<H", data, off)[0]


def _u32(data: bytes, off: int) -> int:
    if off < 0 or off + 4 > len(data):
        raise NotVersioned("truncated")
    return struct.unpack_from("<I", data, off)[0]


def _version_resource(data: bytes) -> tuple[int, int]:
    """(file offset, size) of the first RT_VERSION resource."""
    if data[:2] != b"MZ":
        raise NotVersioned("not a Windows executable")
    pe = _u32(data, 0x3C)
    if data[pe:pe + 4] != b"PE\0\0":
        raise NotVersioned("not a Windows executable")
    coff = pe + 4
    sections = _u16(data, coff + 2)
    optional = coff + 20
    magic = _u16(data, optional)
    directories = optional + (112 if magic == 0x20B else 96)
    resource_rva = _u32(data, directories + 2 * 8)
    if resource_rva == 0:
        raise NotVersioned("no resources")
    table = optional + _u16(data, coff + 16)

    def offset_of(rva: int) -> int:
        for i in range(sections):
            s = table + 40 * i
            virtual_size, address = _u32(data, s + 8), _u32(data, s + 12)
            raw_size, raw = _u32(data, s + 16), _u32(data, s + 20)
            if address <= rva < address + max(virtual_size, raw_size):
                return raw + rva - address
        raise NotVersioned("resource outside every section")

    root = offset_of(resource_rva)

    def entry(directory: int, wanted: int | None) -> int:
        named, numbered = _u16(data, directory + 12), _u16(data, directory + 14)
        for i in range(named + numbered):
            e = directory + 16 + 8 * i
            if wanted is None or _u32(data, e) == wanted:
                return _u32(data, e + 4)
        raise NotVersioned("no version resource")

    node = entry(root, RT_VERSION)
    for _ in range(2):  # the first name, then its first language
        if not node & 0x80000000:
            raise NotVersioned("malformed resource directory")
        node = entry(root + (node & 0x7FFFFFFF), None)
    leaf = root + node
    return offset_of(_u32(data, leaf)), _u32(data, leaf + 4)


def _blocks(data: bytes, start: int, end: int):
    """The VS_VERSIONINFO-style blocks between start and end: (key, value offset, value
    length in bytes, children start, block end)."""
    off = start
    while off + 6 <= end:
        length, value_length, kind = _u16(data, off), _u16(data, off + 2), _u16(data, off + 4)
        if length < 6 or off + length > end:
            return
        key_end = off + 6
        while key_end + 2 <= off + length and data[key_end:key_end + 2] != b"\0\0":
            key_end += 2
        key = data[off + 6:key_end].decode("utf-16-le", "replace")
        value = (key_end + 2 + 3) & ~3
        value_bytes = value_length * 2 if kind == 1 else value_length
        children = (value + value_bytes + 3) & ~3
        yield key, value, value_bytes, children, off + length
        off = (off + length + 3) & ~3


def _fixed_info(data: bytes) -> int:
    start, size = _version_resource(data)
    for key, value, value_bytes, _, _ in _blocks(data, start, start + size):
        if key == "VS_VERSION_INFO" and value_bytes >= 52 and _u32(data, value) == FIXED_SIGNATURE:
            return value
    raise NotVersioned("no fixed version record")


def file_version(data: bytes) -> str:
    fixed = _fixed_info(data)
    ms, ls = _u32(data, fixed + 8), _u32(data, fixed + 12)
    return f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"


def string_value(data: bytes, name: str) -> str:
    start, size = _version_resource(data)
    for key, _, _, children, end in _blocks(data, start, start + size):
        for info_key, _, _, tables, info_end in _blocks(data, children, end):
            if info_key != "StringFileInfo":
                continue
            for _, _, _, strings, table_end in _blocks(data, tables, info_end):
                for string_key, value, value_bytes, _, _ in _blocks(data, strings, table_end):
                    if string_key == name:
                        text = data[value:value + value_bytes].decode("utf-16-le", "replace")
                        return text.split("\0", 1)[0]
    raise NotVersioned(f"no {name} in the version resource")


def parse_version(text: str) -> tuple[int, int, int, int]:
    parts = text.split(".")
    if len(parts) != 4 or not all(p.isdigit() and int(p) <= 0xFFFF for p in parts):
        raise ValueError(f"not a four-part version: {text!r}")
    return tuple(int(p) for p in parts)  # type: ignore[return-value]


def set_version(data: bytearray, text: str) -> None:
    a, b, c, d = parse_version(text)
    fixed = _fixed_info(bytes(data))
    struct.pack_into("<IIII", data, fixed + 8, (a << 16) | b, (c << 16) | d, (a << 16) | b, (c << 16) | d)


def main(argv: list[str]) -> int:
    def act() -> None:
        with open(argv[1], "rb") as f:
            data = bytearray(f.read())
        if len(argv) == 2:
            print(file_version(bytes(data)))
        elif argv[2] == "--string":
            print(string_value(bytes(data), argv[3]))
        else:
            set_version(data, argv[3])
            with open(argv[1], "wb") as f:
                f.write(data)
    arguments_ok = len(argv) == 2 or len(argv) == 4 and argv[2] in ("--string", "--set")
    return script_main.run(__doc__, argv, arguments_ok, act, (OSError, NotVersioned, ValueError),
                           subject=argv[1] if len(argv) > 1 else None)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
