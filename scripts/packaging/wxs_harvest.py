#!/usr/bin/env python3
"""Writes the WiX fragment that installs every file of the staged program folder: one
component per file (the file is its key path), folders as they are, all in one component
group. Nothing is listed by hand, so a new language file or program file ships by being
staged; the component GUIDs come from package_ids.py, so a file keeps its GUID for as long
as it keeps its place.

    wxs_harvest.py STAGE_DIR UPGRADE_CODE INSTALL_FOLDER OUTPUT.wxs

The fragment refers to the folder INSTALLDIR and defines the component group
ProgramFiles. Its source paths are relative to the current folder, the one wixl must run
in (wixl cannot open files by absolute paths). A file's identifier is its path with "_"
for characters identifiers cannot hold (OrvoPM.exe stays "OrvoPM.exe"), which
packaging/OrvoPM.wxs relies on.
"""
import hashlib
import os
import re
import sys
import xml.etree.ElementTree as ET

import script_main
from package_ids import component_guid

MAX_ID = 72  # Windows Installer's limit for identifiers


class HarvestError(Exception):
    pass


def identifier(prefix: str, relative_path: str) -> str:
    """A Windows Installer identifier (letters, digits, "_" and "."; not starting with a
    digit or ".") readable as the path, or a hash of the path when that is too long."""
    name = prefix + re.sub(r"[^A-Za-z0-9_.]", "_", relative_path)
    if not re.match(r"[A-Za-z_]", name):
        name = "_" + name
    if len(name) > MAX_ID:
        name = prefix + "h" + hashlib.sha1(relative_path.lower().encode()).hexdigest()[:32]
    return name


def staged_files(stage_dir: str) -> list[str]:
    found = []
    for folder, dirs, files in os.walk(stage_dir):
        dirs.sort()
        for name in sorted(files):
            found.append(os.path.relpath(os.path.join(folder, name), stage_dir).replace(os.sep, "/"))
    if not found:
        raise HarvestError(f"{stage_dir} holds no files")
    return found


def fragment(stage_dir: str, upgrade_code: str, install_folder: str) -> ET.Element:
    root = ET.Element("Wix", xmlns="http://schemas.microsoft.com/wix/2006/wi")
    directory_ref = ET.SubElement(ET.SubElement(root, "Fragment"), "DirectoryRef", Id="INSTALLDIR")
    group = ET.SubElement(ET.SubElement(root, "Fragment"), "ComponentGroup", Id="ProgramFiles")
    folders: dict[str, ET.Element] = {"": directory_ref}
    seen: dict[str, str] = {}

    def claim(element_id: str, path: str) -> str:
        # Windows names ignore case, so two paths that differ only in case collide too.
        if element_id.lower() in seen:
            raise HarvestError(f"{path} and {seen[element_id.lower()]} would share the identifier {element_id}")
        seen[element_id.lower()] = path
        return element_id

    def folder_element(path: str) -> ET.Element:
        if path not in folders:
            parent, _, name = path.rpartition("/")
            folders[path] = ET.SubElement(folder_element(parent), "Directory",
                                          Id=claim(identifier("dir_", path), path + "/"), Name=name)
        return folders[path]

    for rel in staged_files(stage_dir):
        file_id = claim(identifier("", rel), rel)
        parent, _, name = rel.rpartition("/")
        component = ET.SubElement(folder_element(parent), "Component", Id=file_id,
                                  Guid=component_guid(upgrade_code, install_folder, rel), Win64="yes")
        ET.SubElement(component, "File", Id=file_id, Name=name, KeyPath="yes",
                      Source=os.path.relpath(os.path.join(stage_dir, rel)))
        ET.SubElement(group, "ComponentRef", Id=file_id)
    return root


def main(argv: list[str]) -> int:
    def act() -> None:
        tree = ET.ElementTree(fragment(argv[1], argv[2], argv[3]))
        ET.indent(tree)
        tree.write(argv[4], encoding="utf-8", xml_declaration=True)
    return script_main.run(__doc__, argv, len(argv) == 5, act, (OSError, HarvestError, ValueError))


if __name__ == "__main__":
    sys.exit(main(sys.argv))
