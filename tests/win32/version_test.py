#!/usr/bin/env python3
"""Both Windows programs say what they are: each carries a version resource
(product name, its own description, the project's version, a copyright line)
and the program's icon, read back from the built files with pefile.

Usage: version_test.py VERSION PROGRAM.exe...
"""
import sys

import pefile


def strings_of(pe):
    """The StringFileInfo values of the first string table, as text."""
    values = {}
    for info in getattr(pe, "FileInfo", []) or []:
        for entry in info:
            for table in getattr(entry, "StringTable", []):
                for key, value in table.entries.items():
                    values[key.decode()] = value.decode()
    return values


def icon_groups(pe):
    if not hasattr(pe, "DIRECTORY_ENTRY_RESOURCE"):
        return []
    for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if kind.id == pefile.RESOURCE_TYPE["RT_GROUP_ICON"]:
            return [entry.id for entry in kind.directory.entries]
    return []


def check(path, version, failures):
    name = path.rsplit("/", 1)[-1]
    pe = pefile.PE(path)
    fixed = pe.VS_FIXEDFILEINFO[0] if getattr(pe, "VS_FIXEDFILEINFO", None) else None
    if fixed is None:
        failures.append(f"{name}: no version resource")
        return
    numbers = [int(part) for part in version.split(".")] + [0]
    expected = (numbers[0] << 16 | numbers[1], numbers[2] << 16 | numbers[3])
    for label, got in (
        ("file", (fixed.FileVersionMS, fixed.FileVersionLS)),
        ("product", (fixed.ProductVersionMS, fixed.ProductVersionLS)),
    ):
        if got != expected:
            failures.append(f"{name}: {label} version {got}, expected {expected}")
    strings = strings_of(pe)
    print(f"{name}: {strings}")
    expected_strings = {
        "ProductName": "decagon",
        "FileVersion": version,
        "ProductVersion": version,
        "OriginalFilename": name,
    }
    for key, value in expected_strings.items():
        if strings.get(key) != value:
            failures.append(f"{name}: {key} is {strings.get(key)!r}, expected {value!r}")
    description = strings.get("FileDescription", "")
    if not description.startswith(name[: -len(".exe")] + ":"):
        failures.append(f"{name}: the description {description!r} does not name the program")
    if "Copyright" not in strings.get("LegalCopyright", ""):
        failures.append(f"{name}: no copyright line")
    if 1071 not in icon_groups(pe):
        failures.append(f"{name}: no program icon (group 1071): {icon_groups(pe)}")


def main():
    version, programs = sys.argv[1], sys.argv[2:]
    failures = []
    for path in programs:
        check(path, version, failures)
    for failure in failures:
        print("FAILED:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
