"""The version reader on Windows executables put together here byte by byte: what the
package takes its version, name and maker from, and what it must survive (any file can be
handed to it)."""
import os
import struct
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "scripts", "packaging"))
import pe_version  # noqa: E402


def _pad4(data: bytes) -> bytes:
    return data + b"\0" * (-len(data) % 4)


def block(key: str, value: bytes = b"", children: bytes = b"", text: bool = False) -> bytes:
    head_key = _pad4(struct.pack("<HHH", 0, 0, 0) + (key + "\0").encode("utf-16-le"))
    body = head_key + _pad4(value) + children
    value_length = len(value) // 2 if text else len(value)
    return struct.pack("<HHH", len(body), value_length, 1 if text else 0) + body[6:]


def version_info(ms: int, ls: int, strings: dict) -> bytes:
    fixed = struct.pack("<13I", 0xFEEF04BD, 0x10000, ms, ls, ms, ls, 0x3F, 0, 4, 1, 0, 0, 0)
    table = b"".join(_pad4(block(k, (v + "\0").encode("utf-16-le"), text=True)) for k, v in strings.items())
    string_info = block("StringFileInfo", children=block("040904b0", children=table))
    return block("VS_VERSION_INFO", fixed, _pad4(string_info))


def executable(resource: bytes) -> bytes:
    """A PE32+ image with one section, .rsrc, holding one RT_VERSION resource."""
    rva, raw = 0x1000, 0x200
    tree = struct.pack("<IIHHHH", 0, 0, 0, 0, 0, 1) + struct.pack("<II", 16, 0x80000018)
    tree += struct.pack("<IIHHHH", 0, 0, 0, 0, 0, 1) + struct.pack("<II", 1, 0x80000030)
    tree += struct.pack("<IIHHHH", 0, 0, 0, 0, 0, 1) + struct.pack("<II", 0x409, 0x48)
    tree += struct.pack("<IIII", rva + 0x58, len(resource), 0, 0) + resource
    optional = bytearray(240)
    struct.pack_into("<H", optional, 0, 0x20B)
    struct.pack_into("<II", optional, 112 + 16, rva, len(tree))
    header = bytearray(b"MZ" + b"\0" * 0x3E)
    struct.pack_into("<I", header, 0x3C, 0x40)
    header += b"PE\0\0" + struct.pack("<HHIIIHH", 0x8664, 1, 0, 0, 0, 240, 0x22) + optional
    header += b".rsrc\0\0\0" + struct.pack("<IIII", len(tree), rva, len(tree), raw) + b"\0" * 16
    return bytes(header + b"\0" * (raw - len(header)) + tree)


PROGRAM = executable(version_info((1 << 16) | 1, (1 << 16) | 11,
                                  {"CompanyName": "Orvo", "ProductName": "Orvo Plug-in Manager",
                                   "FileVersion": "1.1.1.11"}))


class ReadsTheProgramsOwnRecord(unittest.TestCase):
    def test_version_and_strings(self):
        self.assertEqual(pe_version.file_version(PROGRAM), "1.1.1.11")
        self.assertEqual(pe_version.string_value(PROGRAM, "ProductName"), "Orvo Plug-in Manager")
        self.assertEqual(pe_version.string_value(PROGRAM, "CompanyName"), "Orvo")
        with self.assertRaises(pe_version.NotVersioned):
            pe_version.string_value(PROGRAM, "LegalCopyright")

    def test_set_changes_only_the_numbers(self):
        data = bytearray(PROGRAM)
        pe_version.set_version(data, "2.0.65535.7")
        self.assertEqual(pe_version.file_version(bytes(data)), "2.0.65535.7")
        self.assertEqual(pe_version.string_value(bytes(data), "ProductName"), "Orvo Plug-in Manager")
        self.assertEqual(len(data), len(PROGRAM))
        for bad in ("1.2.3", "1.2.3.65536", "1.2.3.x", ""):
            with self.assertRaises(ValueError):
                pe_version.set_version(bytearray(PROGRAM), bad)


class SurvivesWhatIsNotAProgram(unittest.TestCase):
    def test_not_an_executable_or_no_version(self):
        for data in (b"", b"MZ", b"hello world" * 10, PROGRAM[:0x150], executable(b"")):
            with self.assertRaises(pe_version.NotVersioned):
                pe_version.file_version(data)

    def test_every_truncation_fails_cleanly(self):
        for end in range(0, len(PROGRAM), 7):
            try:
                pe_version.file_version(PROGRAM[:end])
            except pe_version.NotVersioned:
                pass

    def test_headers_that_point_outside_the_file(self):
        for offset, value in ((0x3C, 0xFFFFFFF0), (0x40 + 24 + 112 + 16, 0x7FFF0000)):
            data = bytearray(PROGRAM)
            struct.pack_into("<I", data, offset, value)
            with self.assertRaises(pe_version.NotVersioned):
                pe_version.file_version(bytes(data))

    def test_command_line_reports_a_bad_file(self):
        path = os.path.join(os.environ.get("TMPDIR", "/tmp"), f"pe-version-test-{os.getpid()}.exe")
        with open(path, "wb") as f:
            f.write(b"not a program")
        try:
            self.assertEqual(pe_version.main(["pe_version.py", path]), 1)
            self.assertEqual(pe_version.main(["pe_version.py", path + ".missing"]), 1)
        finally:
            os.remove(path)


if __name__ == "__main__":
    unittest.main()
