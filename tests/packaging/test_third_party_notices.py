"""Third-party notices from what a program really linked: the linker map and dependency
records read as GNU ld and ninja write them, files traced through origin records and dpkg,
and a linked file of unknown origin stopping the build."""
import os
import shutil
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "scripts", "packaging"))
import third_party_notices as tpn  # noqa: E402

MAP = """Archive member included to satisfy reference by file (symbol)

src/shell/liborvo_shell.a(startup.cpp.obj)
                              src/app/CMakeFiles/OrvoPM.dir/program_main.cpp.obj (orvo::RunProgram())
{prefix}/lib/libpng.a(png.c.obj)  src/shell/liborvo_shell.a(startup.cpp.obj) (png_create)
{system}(some member.o)
                              src/shell/liborvo_shell.a(startup.cpp.obj) (x)

Discarded input sections

 .text          0x0000000000000000        0x0 src/app/CMakeFiles/OrvoPM.dir/program_main.cpp.obj

Linker script and memory map

LOAD src/app/CMakeFiles/OrvoPM.dir/program_main.cpp.obj
LOAD src/app/CMakeFiles/OrvoPM.dir/__/__/generated/version.rc.res
LOAD src/shell/liborvo_shell.a
LOAD {prefix}/lib/libsqlite3.a
LOAD {prefix}/lib/libpng.a
"""

DEPS = """src/shell/CMakeFiles/orvo_shell.dir/startup.cpp.obj: #deps 3, deps mtime 1 (VALID)
    ../../src/shell/startup.cpp
    {prefix}/include/nlohmann/json.hpp
    generated/version.h

src/shell/CMakeFiles/orvo_shell.dir/unused.cpp.obj: #deps 1, deps mtime 1 (VALID)
    {prefix}/include/httplib.h

src/app/CMakeFiles/OrvoPM.dir/program_main.cpp.obj: #deps 1, deps mtime 1 (VALID)
    ../../src/app/program_main.cpp
"""


class MapAndDeps(unittest.TestCase):
    def test_map_names_linked_members_and_whole_objects_only(self):
        objects, members = tpn.linked_inputs(MAP.format(prefix="/p", system="/usr/lib/x/libz.a"))
        self.assertEqual(objects, ["src/app/CMakeFiles/OrvoPM.dir/program_main.cpp.obj",
                                   "src/app/CMakeFiles/OrvoPM.dir/__/__/generated/version.rc.res"])
        self.assertEqual(members, [("src/shell/liborvo_shell.a", "startup.cpp.obj"),
                                   ("/p/lib/libpng.a", "png.c.obj"),
                                   ("/usr/lib/x/libz.a", "some member.o")])
        with self.assertRaises(tpn.NoticeError):
            tpn.linked_inputs("not a map\n")

    def test_deps_records(self):
        deps = tpn.parse_ninja_deps(DEPS.format(prefix="/p"))
        self.assertEqual(deps["src/app/CMakeFiles/OrvoPM.dir/program_main.cpp.obj"], ["../../src/app/program_main.cpp"])
        index = tpn.archive_members(deps)
        self.assertEqual(tpn.our_objects_for("/b", "/b/src/shell/liborvo_shell.a", "startup.cpp.obj", deps, index),
                         ["src/shell/CMakeFiles/orvo_shell.dir/startup.cpp.obj"])
        self.assertEqual(tpn.our_objects_for("/b", "/b/src/shell/liborvo_shell.a", "gone.cpp.obj", deps, index), [])

    def test_versions_as_readers_know_them(self):
        self.assertEqual(tpn.upstream_version("1:2.1.5-2"), "2.1.5")
        self.assertEqual(tpn.upstream_version("0.11.4+ds-1+deb12u1"), "0.11.4")
        self.assertEqual(tpn.upstream_version("1.2.13+dfsg-1"), "1.2.13")
        self.assertEqual(tpn.upstream_version("3.11.2-2"), "3.11.2")


SYSTEM_ZLIB = "/usr/x86_64-w64-mingw32/lib/libz.a"


@unittest.skipUnless(shutil.which("dpkg-query") and os.path.exists(SYSTEM_ZLIB), "needs dpkg and MinGW's zlib")
class Gather(unittest.TestCase):
    """A build folder, a dependency prefix with origin records and a system library (MinGW's
    zlib, which dpkg knows), as the Windows build and build-mingw-deps.sh leave them."""

    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        root = self.dir.name
        self.build = os.path.join(root, "source", "build", "windows")
        self.prefix = os.path.join(root, "deps")
        origin = os.path.join(self.prefix, "share", "orvo-origin")
        os.makedirs(origin)
        os.makedirs(os.path.join(self.build, "bin"))
        with open(os.path.join(self.build, "CMakeCache.txt"), "w") as f:
            f.write(f"CMAKE_HOME_DIRECTORY:INTERNAL={root}/source\n")
        for source, version, files in (("libpng1.6", "1.6.39-2", ["lib/libpng16.a", "lib/libpng.a"]),
                                       ("nlohmann-json3", "3.11.2-2", ["include/nlohmann/json.hpp"]),
                                       ("cpp-httplib", "0.11.4+ds-1", ["include/httplib.h"]),
                                       ("sqlite3", "3.40.1-2", ["lib/libsqlite3.a"])):
            with open(os.path.join(origin, source + ".files"), "w") as f:
                f.write("\n".join(files) + "\n")
            with open(os.path.join(origin, source + ".version"), "w") as f:
                f.write(version + "\n")
            with open(os.path.join(origin, source + ".copyright"), "w") as f:
                f.write(f"Upstream-Name: {source}-upstream\n\nLicense: see /usr/share/common-licenses/GPL.\n"
                        "and /usr/share/common-licenses/GPL-3\n")
        self.map = os.path.join(self.build, "bin", "OrvoPM.exe.map")
        self.write_map(SYSTEM_ZLIB)
        deps = tpn.parse_ninja_deps(DEPS.format(prefix=self.prefix))
        self.saved = tpn.header_dependencies
        tpn.header_dependencies = lambda build_dir: deps

    def tearDown(self):
        tpn.header_dependencies = self.saved
        self.dir.cleanup()

    def write_map(self, system_file: str) -> None:
        with open(self.map, "w") as f:
            f.write(MAP.format(prefix=self.prefix, system=system_file))

    def test_only_what_linked_gets_a_notice(self):
        components = {c.source: c for c in tpn.gather(self.build, [self.map])}
        # libpng through a member (by a link name), nlohmann through a header of a linked
        # object, zlib through dpkg; httplib (header of an object not linked) and sqlite
        # (loaded, nothing taken) are not in the program.
        self.assertEqual(set(components), {"libpng1.6", "nlohmann-json3", "libz-mingw-w64"})
        self.assertEqual(components["libpng1.6"].parts, {"libpng.a"})
        self.assertEqual(components["nlohmann-json3"].parts, {"header files"})
        self.assertEqual(components["libz-mingw-w64"].programs, ["OrvoPM.exe"])
        self.assertTrue(os.path.isfile(components["libz-mingw-w64"].copyright_file))

        text = tpn.notices_text("Orvo Plug-in Manager 1.1.1.11", sorted(components.values(), key=lambda c: c.source))
        self.assertIn("libpng1.6-upstream 1.6.39", text)
        self.assertIn("Built from: Debian source package libpng1.6, version 1.6.39-2", text)
        # GPL is a link to GPL-3: its text appears once, under both names.
        if os.path.realpath("/usr/share/common-licenses/GPL") == "/usr/share/common-licenses/GPL-3":
            self.assertEqual(text.count("/usr/share/common-licenses/GPL = /usr/share/common-licenses/GPL-3"), 1)
            self.assertEqual(text.count("GNU GENERAL PUBLIC LICENSE\n                       Version 3"), 1)

    def test_a_file_of_unknown_origin_stops_the_build(self):
        stray = os.path.join(self.dir.name, "libstray.a")
        open(stray, "w").close()
        self.write_map(stray)
        with self.assertRaisesRegex(tpn.NoticeError, "libstray.a"):
            tpn.gather(self.build, [self.map])
        os.remove(os.path.join(self.prefix, "share", "orvo-origin", "libpng1.6.files"))
        self.write_map(SYSTEM_ZLIB)
        with self.assertRaisesRegex(tpn.NoticeError, "libpng.a"):
            tpn.gather(self.build, [self.map])


if __name__ == "__main__":
    unittest.main()
