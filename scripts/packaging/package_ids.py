#!/usr/bin/env python3
"""Identifiers of the Windows Installer package that must stay the same from build to
build: the product code of a version and the GUID of each component.

Windows Installer ties a component's GUID to the place its key path file goes, for the
product's whole life: two packages that give the same file different GUIDs (or one GUID to
two places) break upgrades and leave files behind. So the GUIDs are not kept in a list
someone must remember to extend; they are name-based UUIDs of the file's place in the
install folder, under the product's upgrade code. The product code is derived the same
way from the version, so rebuilding a version gives the same code and every new version a
new one, which a major upgrade needs.

    package_ids.py product-code UPGRADE_CODE VERSION
    package_ids.py component-guid UPGRADE_CODE INSTALL_FOLDER RELATIVE_PATH
"""
import sys
import uuid

import script_main


def _braced(u: uuid.UUID) -> str:
    return "{" + str(u).upper() + "}"


def product_code(upgrade_code: str, version: str, arch: str = "x64") -> str:
    return _braced(uuid.uuid5(uuid.UUID(upgrade_code), f"product:{arch}:{version}"))


def component_guid(upgrade_code: str, install_folder: str, relative_path: str) -> str:
    """relative_path uses "/" or "\\"; Windows paths ignore case, so the name does too."""
    place = install_folder + "\\" + relative_path.replace("/", "\\")
    return _braced(uuid.uuid5(uuid.UUID(upgrade_code), "component:" + place.lower()))


def main(argv: list[str]) -> int:
    def act() -> None:
        if argv[1] == "product-code":
            print(product_code(argv[2], argv[3]))
        else:
            print(component_guid(argv[2], argv[3], argv[4]))
    return script_main.run(__doc__, argv, argv[1:2] == ["product-code"] and len(argv) == 4 or
                           argv[1:2] == ["component-guid"] and len(argv) == 5, act)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
