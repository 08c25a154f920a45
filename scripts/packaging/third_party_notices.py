#!/usr/bin/env python3
"""THIRD-PARTY-NOTICES.txt for the Windows programs, from what the linker really put in.

The programs are linked statically, so every library they use travels inside them and its
licence must travel with them. Which ones those are is not kept in a list here: the linker
map of each program (written by the Windows build beside the program) names every object
file and library member that went in, and the build's dependency records name the headers
each of our own objects included (header-only libraries such as nlohmann/json leave no
other trace). Each file outside our tree is then traced to the Debian package it came
from: files of the MinGW dependency prefix through the origin records that
scripts/build-mingw-deps.sh writes beside them, system files (the MinGW-w64 runtime,
libstdc++, libgcc, winpthreads, zlib) through dpkg. The notice for each source package is
that package's own copyright file. A file that cannot be traced stops the build, so a new
library cannot ship without its notice.

    third_party_notices.py TITLE OUTPUT BUILD_DIR MAP...
"""
import os
import re
import subprocess
import sys
from dataclasses import dataclass, field

import script_main
from windows_text import write_windows_text

ORIGIN_DIR = os.path.join("share", "orvo-origin")
COMMON_LICENCES = "/usr/share/common-licenses/"


class NoticeError(Exception):
    pass


@dataclass
class Component:
    source: str                 # the Debian source package
    version: str                # its version
    copyright_file: str
    shown_version: str = ""     # the version a reader knows the library by
    programs: list = field(default_factory=list)
    parts: set = field(default_factory=set)   # the linked files, by name

    def add_use(self, programs: list[str], part: str) -> None:
        self.programs += [p for p in programs if p not in self.programs]
        self.parts.add(part)


# ---- what went into a program ---------------------------------------------------------

_MEMBER = re.compile(r"^(\S.*?\.a)\((.+?)\)(?:\s|$)")


def linked_inputs(map_text: str) -> tuple[list[str], list[tuple[str, str]]]:
    """(whole object files, (archive, member) pairs) that a GNU ld map says were linked."""
    objects, members = [], []
    in_members = False
    for line in map_text.splitlines():
        if line.startswith("Archive member included"):
            in_members = True
            continue
        if in_members and line and not line[0].isspace():
            m = _MEMBER.match(line)
            if m:
                members.append((m.group(1), m.group(2)))
                continue
            in_members = False
        if line.startswith("LOAD "):
            path = line[5:].strip()
            if not path.endswith(".a"):
                objects.append(path)
    if not objects and not members:
        raise NoticeError("the linker map names no input files")
    return objects, members


def header_dependencies(build_dir: str) -> dict[str, list[str]]:
    """Object file (relative to the build folder) -> the files its compilation read."""
    return parse_ninja_deps(subprocess.run(["ninja", "-C", build_dir, "-t", "deps"], check=True,
                                           capture_output=True, text=True).stdout)


def parse_ninja_deps(out: str) -> dict[str, list[str]]:
    deps: dict[str, list[str]] = {}
    current = None
    for line in out.splitlines():
        if not line.strip():
            current = None
        elif not line[0].isspace():
            current = line.split(": #deps", 1)[0]
            deps[current] = []
        elif current is not None:
            deps[current].append(line.strip())
    return deps


def archive_members(deps: dict) -> dict[tuple[str, str], list[str]]:
    """(CMake target folder, object name) -> dependency-record keys, for finding the objects
    behind a library archive's members (src/x/liborvo_x.a holds the objects of
    src/x/CMakeFiles/orvo_x.dir/, under their bare names)."""
    index: dict[tuple[str, str], list[str]] = {}
    for key in deps:
        m = re.match(r"^(.*?CMakeFiles/[^/]+\.dir/)(?:.*/)?([^/]+)$", key)
        if m:
            index.setdefault((m.group(1), m.group(2)), []).append(key)
    return index


def our_objects_for(build_dir: str, path: str, member: str | None, deps: dict, index: dict) -> list[str]:
    """Dependency-record keys of a linked object of ours: the object itself, or the objects
    of a library archive with the member's name."""
    rel = os.path.relpath(path, build_dir).replace(os.sep, "/")
    if member is None:
        return [rel] if rel in deps else []
    folder, _, archive = rel.rpartition("/")
    target = re.sub(r"^lib(.*)\.a$", r"\1", archive)
    return index.get(((folder + "/" if folder else "") + f"CMakeFiles/{target}.dir/", member), [])


# ---- where a file came from -----------------------------------------------------------

def origin_root(path: str) -> str | None:
    folder = os.path.dirname(path)
    while folder and folder != os.path.dirname(folder):
        if os.path.isdir(os.path.join(folder, ORIGIN_DIR)):
            return folder
        folder = os.path.dirname(folder)
    return None


def prefix_origins(root: str) -> dict[str, Component]:
    """Relative path -> component, from the records beside a MinGW dependency prefix."""
    records = os.path.join(root, ORIGIN_DIR)
    table = {}
    for name in sorted(os.listdir(records)):
        if not name.endswith(".files"):
            continue
        source = name[:-len(".files")]
        with open(os.path.join(records, source + ".version"), encoding="utf-8") as f:
            component = Component(source, f.read().strip(), os.path.join(records, source + ".copyright"))
        with open(os.path.join(records, name), encoding="utf-8") as f:
            for rel in f.read().splitlines():
                table[rel] = component
    return table


def dpkg_owners(paths: list[str]) -> dict[str, str]:
    """Path -> the installed binary package that holds it, for the paths dpkg knows."""
    owners: dict[str, str] = {}
    for i in range(0, len(paths), 2000):
        result = subprocess.run(["dpkg-query", "-S", *paths[i:i + 2000]], capture_output=True, text=True)
        for line in result.stdout.splitlines():
            if line.startswith("diversion ") or ": " not in line:
                continue
            packages, path = line.split(": ", 1)
            owners[path] = packages.split(",")[0].strip().split(":")[0]
    return owners


def system_components(paths: set[str]) -> tuple[dict[str, Component], list[str]]:
    """Resolves system files through dpkg (as written, then with links resolved)."""
    owners = dpkg_owners(sorted(paths))
    linked = {p: os.path.realpath(p) for p in paths if p not in owners}
    owners.update(dpkg_owners(sorted(set(linked.values()) - set(owners))))
    binary_of = {p: owners.get(p) or owners.get(linked.get(p, "")) for p in paths}
    binary_of = {p: b for p, b in binary_of.items() if b}
    components: dict[str, Component] = {}
    packages = sorted(set(binary_of.values()))
    if packages:
        out = subprocess.run(["dpkg-query", "-W", "-f",
                              "${Package}\t${Version}\t${source:Package}\t${source:Version}\n", *packages],
                             check=True, capture_output=True, text=True).stdout
        for line in out.splitlines():
            binary, binary_version, source, version = line.split("\t")
            # A binary package's version can say more than its source's (gcc-mingw-w64
            # 25.2 builds GCC 12.2.0), so the reader is shown the binary's.
            components[binary] = Component(source, version, f"/usr/share/doc/{binary}/copyright",
                                           shown_version=binary_version)
    resolved = {p: components[b] for p, b in binary_of.items() if b in components}
    return resolved, sorted(p for p in paths if p not in resolved)


def gather(build_dir: str, maps: list[str]) -> list[Component]:
    build_dir = os.path.realpath(build_dir)
    trees = tuple(tree + os.sep for tree in (build_dir, source_root(build_dir)))
    deps = header_dependencies(build_dir)
    index = archive_members(deps)
    outside: dict[str, tuple[list[str], str]] = {}  # path -> (programs, part)

    def ours(path: str) -> bool:
        return path.startswith(trees)

    def note(path: str, program: str, part: str) -> None:
        programs = outside.setdefault(path, ([], part))[0]
        if program not in programs:
            programs.append(program)

    for map_file in maps:
        program = os.path.basename(map_file)[:-len(".map")]
        with open(map_file, encoding="utf-8", errors="replace") as f:
            objects, members = linked_inputs(f.read())
        headers: set[str] = set()
        for path, member in [(o, None) for o in objects] + members:
            full = os.path.normpath(os.path.join(build_dir, path))
            if not ours(full):
                note(full, program, os.path.basename(full))
                continue
            for key in our_objects_for(build_dir, full, member, deps, index):
                headers.update(deps[key])
        for header in headers:
            header = os.path.normpath(os.path.join(build_dir, header))
            if not ours(header):
                note(header, program, "header files")

    components: dict[str, Component] = {}
    untraced, system = [], set()
    origins: dict[str, dict[str, Component]] = {}
    for path, (programs, part) in outside.items():
        root = origin_root(path)
        if root is None:
            system.add(path)
            continue
        if root not in origins:
            origins[root] = prefix_origins(root)
        component = (origins[root].get(os.path.relpath(path, root)) or
                     origins[root].get(os.path.relpath(os.path.realpath(path), os.path.realpath(root))))
        if component is None:
            untraced.append(path)
            continue
        components.setdefault(component.source, component).add_use(programs, part)
    resolved, unknown = system_components(system)
    for path, component in resolved.items():
        programs, part = outside[path]
        components.setdefault(component.source, component).add_use(programs, part)
    untraced += unknown
    if untraced:
        raise NoticeError("no Debian package is known for these linked files (a dependency built "
                          "without origin records, or not from a Debian package?):\n  " + "\n  ".join(sorted(untraced)))
    order = [os.path.basename(m)[:-len(".map")] for m in maps]
    for component in components.values():
        component.programs.sort(key=order.index)
    return sorted(components.values(), key=lambda c: c.source)


def source_root(build_dir: str) -> str:
    """Our source tree: the CMake cache names it."""
    with open(os.path.join(build_dir, "CMakeCache.txt"), encoding="utf-8") as f:
        for line in f:
            if line.startswith("CMAKE_HOME_DIRECTORY:"):
                return os.path.realpath(line.split("=", 1)[1].strip())
    raise NoticeError(f"{build_dir} is not a CMake build folder")


# ---- the text -------------------------------------------------------------------------

def upstream_name(copyright_text: str, fallback: str) -> str:
    m = re.search(r"^Upstream-Name:\s*(.+)$", copyright_text.split("\n\n", 1)[0], re.M)
    return m.group(1).strip() if m else fallback


def upstream_version(debian_version: str) -> str:
    version = debian_version.split(":", 1)[-1].rsplit("-", 1)[0]
    return re.sub(r"[+~](ds|dfsg|repack)\d*$", "", version)


def notices_text(title: str, components: list[Component]) -> str:
    programs = [p for c in components for p in c.programs]
    programs = sorted(set(programs), key=programs.index)
    heading = f"Third-party software in {title}"
    parts = [heading, "=" * len(heading), "",
             f"The programs ({', '.join(programs)}) contain software written by others,",
             "linked into them. Each section names one such component, the programs that",
             "contain it, the files of it they were linked with and the Debian source package",
             "it was built from, followed by that package's copyright and licence statement.",
             f"Licence texts those statements refer to by a path under {COMMON_LICENCES}",
             "(where Debian keeps them) follow at the end.", ""]
    referred: set[str] = set()
    for number, component in enumerate(components, 1):
        with open(component.copyright_file, encoding="utf-8", errors="replace") as f:
            text = f.read().strip("\n")
        referred |= {m.rstrip(".") for m in re.findall(re.escape(COMMON_LICENCES) + r"([A-Za-z0-9][\w.+-]*)", text)}
        name = upstream_name(text, component.source)
        linked = sorted(component.parts - {"header files"}, key=str.lower)
        if "header files" in component.parts:
            linked.append("header files")
        parts += ["", f"{number}. {name} {upstream_version(component.shown_version or component.version)}",
                  f"   In: {', '.join(component.programs)}",
                  f"   Linked: {', '.join(linked)}",
                  f"   Built from: Debian source package {component.source}, version {component.version}",
                  "-" * 79, text, ""]
    # One text per file: GPL and LGPL are links to GPL-3 and LGPL-3.
    texts: dict[str, list[str]] = {}
    for name in sorted(referred):
        if os.path.isfile(COMMON_LICENCES + name):
            texts.setdefault(os.path.realpath(COMMON_LICENCES + name), []).append(name)
    if texts:
        parts += ["", "Licence texts referred to above", "=" * 31]
        for real, names in sorted(texts.items(), key=lambda item: item[1][0]):
            with open(real, encoding="utf-8", errors="replace") as f:
                parts += ["", " = ".join(COMMON_LICENCES + n for n in names), "-" * 79, f.read().strip("\n"), ""]
    return "\n".join(parts) + "\n"


def main(argv: list[str]) -> int:
    def act() -> None:
        write_windows_text(argv[2], notices_text(argv[1], gather(argv[3], argv[4:])))
    return script_main.run(__doc__, argv, len(argv) >= 5, act,
                           (OSError, NoticeError, subprocess.CalledProcessError))


if __name__ == "__main__":
    sys.exit(main(sys.argv))
