#!/usr/bin/env python3
"""Checks that every include of the source tree points down a layer, never up or sideways.

  check_includes.py [ROOT]

Layers, lowest first (ROOT defaults to the tree this script lies in):

  the core            board/ < view/ < entry/ < control/: each includes itself and those below
  the COM base        runtime/com_base/: interface pointers and IUnknown, for every Windows layer
  platforms, toolkit  platform/headless/, platform/qt/, platform/win32/, runtime/com/: siblings,
                      each includes itself and the layers below, never another sibling
  products            products/<name>/: siblings over everything below

tests/, bench/ and fuzz/ (and cmake/'s support for the test framework) stand above every
layer and may include anything. A quoted include is looked for beside the file,
then from the root, then in the include folders the build adds; the build's generated headers
belong to the product that generates them. An include found nowhere, and a source file in no
layer, are reported too, so the table below has to follow the tree. Prints one line per fault;
the exit status is 1 when there is any. A root that cannot be read or lacks a core folder is
refused with exit status 2: an empty walk would pass.
"""
import os
import re
import sys

# The core's folders, each above the ones before it.
CORE = ["board", "view", "entry", "control"]
COM_BASE = "runtime/com_base"
PLATFORMS = ["platform/headless", "platform/qt", "platform/win32", "runtime/com"]
PRODUCTS = "products"
# Folders whose files may include anything: tests, benchmarks, the fuzzer and the build's own
# support for the test framework. Above every layer.
UNCHECKED = ["tests", "bench", "fuzz", "cmake"]
# Include folders the build adds besides the root, and the folder each one belongs to.
INCLUDE_FOLDERS = {"platform/qt/include": "platform/qt"}
# Headers the build generates, by name, and the folder whose build makes them.
GENERATED = {"Project1.h": "products/ocx", "project_data.h": "products/ocx"}

SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".cc", ".inc")
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')


def under(path, folder):
    return path == folder or path.startswith(folder + "/")


def unit_of(path):
    """The unit a file belongs to (a core folder, a platform, a product), or None."""
    for folder, owner in INCLUDE_FOLDERS.items():
        if under(path, folder):
            return owner
    for folder in CORE + [COM_BASE] + PLATFORMS + UNCHECKED:
        if under(path, folder):
            return folder
    parts = path.split("/")
    if parts[0] == PRODUCTS and len(parts) > 2:
        return "/".join(parts[:2])
    return None


def rank_of(unit):
    """Where a unit stands: units of a lower rank may be included, of the same rank only itself."""
    if unit in CORE:
        return CORE.index(unit)
    if unit == COM_BASE:
        return len(CORE)
    if unit in PLATFORMS:
        return len(CORE) + 1
    if unit in UNCHECKED:
        return len(CORE) + 3
    return len(CORE) + 2  # a product


def may_include(unit, target):
    if unit == target:
        return True
    # Core folders are ranked one above the other, so a lower one is always allowed; every
    # other rank holds siblings.
    return rank_of(target) < rank_of(unit)


def resolve(root, path, included):
    """The tree path an include names, or None when it is nowhere in the tree or the build."""
    beside = os.path.normpath(os.path.join(os.path.dirname(path), included))
    for candidate in [beside, os.path.normpath(included)] + [
            os.path.normpath(os.path.join(folder, included)) for folder in INCLUDE_FOLDERS]:
        if not candidate.startswith("..") and os.path.isfile(os.path.join(root, candidate)):
            return candidate.replace(os.sep, "/")
    if included in GENERATED:
        return os.path.join(GENERATED[included], included)
    return None


def source_files(root):
    for folder, directories, files in os.walk(root):
        relative = os.path.relpath(folder, root).replace(os.sep, "/")
        # Build folders and hidden ones hold no sources of the tree.
        directories[:] = sorted(d for d in directories
                                if not d.startswith(".") and not (relative == "." and
                                                                  d.startswith("build")))
        for name in sorted(files):
            if name.endswith(SOURCE_SUFFIXES):
                yield name if relative == "." else f"{relative}/{name}"


def faults_of(root):
    faults = []
    for path in source_files(root):
        if any(under(path, folder) for folder in UNCHECKED):
            continue
        unit = unit_of(path)
        if unit is None:
            faults.append(f"{path}: in no layer")
            continue
        with open(os.path.join(root, path), encoding="utf-8") as source:
            for number, line in enumerate(source, 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                included = match.group(1)
                target_path = resolve(root, path, included)
                target = unit_of(target_path) if target_path else None
                where = f"{path}:{number}: {unit} includes \"{included}\""
                if target is None:
                    faults.append(f"{where}, which is in no layer")
                elif not may_include(unit, target):
                    direction = "sideways" if rank_of(target) == rank_of(unit) else "up"
                    faults.append(f"{where} ({target}): points {direction}")
    return faults


def root_problem(root):
    """Why `root` is not a source tree to check, or None when it is one."""
    if not os.path.isdir(root) or not os.access(root, os.R_OK | os.X_OK):
        return f"{root}: not a folder that can be read"
    missing = [folder for folder in CORE if not os.path.isdir(os.path.join(root, folder))]
    if missing:
        return f"{root}: not a source tree, it lacks {', '.join(f + '/' for f in missing)}"
    return None


def main(argv):
    root = os.path.abspath(argv[1] if len(argv) > 1 else
                           os.path.join(os.path.dirname(__file__), ".."))
    problem = root_problem(root)
    if problem:
        print(f"includes: {problem}", file=sys.stderr)
        return 2
    faults = faults_of(root)
    for fault in faults:
        print(fault)
    print(f"includes: {len(faults)} pointing the wrong way" if faults else
          "includes: every one points down a layer")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
