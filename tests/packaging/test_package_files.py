"""What goes into the package and under which identity: the payload patterns, the WiX
fragment with its component GUIDs, the zip and the Windows text files, on real folders."""
import os
import re
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "scripts", "packaging"))
import package_ids  # noqa: E402
import portable_zip  # noqa: E402
import stage_payload  # noqa: E402
import windows_text  # noqa: E402
import wxs_harvest  # noqa: E402

UPGRADE = "{48BE8F1A-64AA-40DD-AA14-6161DAF9F20F}"
GUID = re.compile(r"^\{[0-9A-F]{8}-[0-9A-F]{4}-5[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}\}$")


def make_tree(root: str, files: dict) -> None:
    for rel, data in files.items():
        path = os.path.join(root, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)


class Identities(unittest.TestCase):
    def test_product_code_follows_the_version(self):
        code = package_ids.product_code(UPGRADE, "1.1.1.11")
        self.assertRegex(code, GUID)
        self.assertEqual(code, package_ids.product_code(UPGRADE, "1.1.1.11"))
        self.assertNotEqual(code, package_ids.product_code(UPGRADE, "1.1.1.12"))
        self.assertNotEqual(code, package_ids.product_code(UPGRADE, "1.1.1.11", arch="x86"))

    def test_component_guid_follows_the_place_not_the_spelling(self):
        guid = package_ids.component_guid(UPGRADE, "Orvo Plug-in Manager", "Languages/English.ini")
        self.assertRegex(guid, GUID)
        for spelling in ("Languages\\English.ini", "languages/ENGLISH.INI"):
            self.assertEqual(guid, package_ids.component_guid(UPGRADE, "Orvo Plug-in Manager", spelling))
        self.assertNotEqual(guid, package_ids.component_guid(UPGRADE, "Orvo Plug-in Manager", "English.ini"))
        self.assertNotEqual(guid, package_ids.component_guid(UPGRADE, "Other Folder", "Languages/English.ini"))


class Payload(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.bin = os.path.join(self.dir.name, "bin")
        make_tree(self.bin, {"OrvoPM.exe": b"MZ1", "orvopm-cli.exe": b"MZ2", "catalogue_tests.exe": b"MZ3",
                             "Languages/English.ini": b"e", "Languages/German.ini": b"g",
                             "Languages/notes.txt": b"n", "skins/a/b.png": b"p"})

    def tearDown(self):
        self.dir.cleanup()

    def test_patterns_pick_exactly_the_named_files(self):
        files = stage_payload.select(self.bin, ["OrvoPM.exe", "orvopm-cli.exe", "Languages/*.ini", "skins/**/*.png"])
        self.assertEqual(files, ["Languages/English.ini", "Languages/German.ini", "OrvoPM.exe",
                                 "orvopm-cli.exe", "skins/a/b.png"])

    def test_a_pattern_matching_nothing_stops_the_build(self):
        with self.assertRaisesRegex(stage_payload.PayloadError, "Languages/\\*.lng"):
            stage_payload.select(self.bin, ["OrvoPM.exe", "Languages/*.lng"])

    def test_nothing_from_outside_the_bin_folder(self):
        make_tree(self.dir.name, {"secret.txt": b"s"})
        for pattern in ("../secret.txt", "/etc/hostname", "Languages\\English.ini"):
            with self.assertRaises(stage_payload.PayloadError):
                stage_payload.select(self.bin, [pattern])
        os.symlink(os.path.join(self.dir.name, "secret.txt"), os.path.join(self.bin, "link.txt"))
        with self.assertRaisesRegex(stage_payload.PayloadError, "outside"):
            stage_payload.select(self.bin, ["*.txt"])

    def test_staging_replaces_an_older_stage(self):
        stage = os.path.join(self.dir.name, "stage")
        make_tree(stage, {"old.exe": b"x"})
        stage_payload.stage(self.bin, ["OrvoPM.exe"], stage)
        self.assertEqual(sorted(os.listdir(stage)), ["OrvoPM.exe"])


class Fragment(unittest.TestCase):
    def harvest(self, files: dict) -> ET.Element:
        with tempfile.TemporaryDirectory() as stage:
            make_tree(stage, files)
            return wxs_harvest.fragment(stage, UPGRADE, "Orvo Plug-in Manager")

    def test_one_component_per_file_in_its_folder(self):
        root = self.harvest({"OrvoPM.exe": b"1", "orvopm-cli.exe": b"2", "Languages/English.ini": b"3"})
        components = {c.get("Id"): c for c in root.iter("Component")}
        self.assertEqual(set(components), {"OrvoPM.exe", "orvopm_cli.exe", "Languages_English.ini"})
        self.assertEqual(components["Languages_English.ini"].get("Guid"),
                         package_ids.component_guid(UPGRADE, "Orvo Plug-in Manager", "Languages/English.ini"))
        folder = next(d for d in root.iter("Directory") if d.get("Name") == "Languages")
        self.assertEqual([c.get("Id") for c in folder.iter("Component")], ["Languages_English.ini"])
        for component in components.values():
            self.assertEqual(component.get("Win64"), "yes")
            self.assertEqual(component.find("File").get("KeyPath"), "yes")
        refs = [r.get("Id") for r in root.iter("ComponentRef")]
        self.assertEqual(sorted(refs), sorted(components))

    def test_identifiers_stay_valid_and_unique(self):
        deep = "a" * 40 + "/" + "b" * 40 + "/9 file (1).dat"
        root = self.harvest({deep: b"x", "1.txt": b"y"})
        for element in list(root.iter("Component")) + list(root.iter("Directory")):
            self.assertRegex(element.get("Id"), r"^[A-Za-z_][A-Za-z0-9_.]{0,71}$")
        with self.assertRaisesRegex(wxs_harvest.HarvestError, "share the identifier"):
            self.harvest({"a-b.txt": b"1", "a_b.txt": b"2"})

    def test_empty_stage_is_an_error(self):
        with self.assertRaises(wxs_harvest.HarvestError):
            self.harvest({})


class WindowsFiles(unittest.TestCase):
    def test_text_gets_a_mark_and_crlf(self):
        self.assertEqual(windows_text.windows_text("a\nb\r\nc\rd"), b"\xef\xbb\xbfa\r\nb\r\nc\r\nd")
        self.assertEqual(windows_text.windows_text("Æ\n"), "\ufeffÆ\r\n".encode())

    def test_zip_holds_the_stage_under_one_folder(self):
        with tempfile.TemporaryDirectory() as d:
            stage = os.path.join(d, "stage")
            make_tree(stage, {"OrvoPM.exe": b"MZ" * 1000, "Languages/English.ini": b"\xff\xfee\0"})
            output = os.path.join(d, "p.zip")
            self.assertEqual(portable_zip.make_zip(stage, output, "OrvoPM-1.0.0.1"), 2)
            with zipfile.ZipFile(output) as archive:
                self.assertEqual(archive.namelist(), ["OrvoPM-1.0.0.1/OrvoPM.exe",
                                                      "OrvoPM-1.0.0.1/Languages/English.ini"])
                self.assertEqual(archive.read("OrvoPM-1.0.0.1/Languages/English.ini"), b"\xff\xfee\0")
            self.assertFalse(os.path.exists(output + ".tmp"))
            with self.assertRaises(OSError):
                portable_zip.make_zip(os.path.join(d, "empty"), output, "x")


if __name__ == "__main__":
    unittest.main()
