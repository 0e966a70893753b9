#!/usr/bin/env python3
"""Builds the demo's sample data: the maker's server folder and a drive that
holds outdated copies of the maker's programs.

    make_demo.py SERVER_ROOT DRIVE_ROOT

SERVER_ROOT/Utils/ receives the current program files, ready for the maker's
tool to write their catalogue there (KestrelCatalogue build) and for
tools/maker_server.py --root SERVER_ROOT to serve them. DRIVE_ROOT becomes the demo's
drive D: with, besides a few unrelated files,

    Program Files/Corvel/Sample.exe       1.2.0.6   outdated: listed
    Program Files/Corvel/Other Tool.exe   2.0.0.0   outdated: listed
    Tools/SAMPLE.EXE                      1.1.0.0   outdated, name in capitals: listed
    Tools/Corvel Clock.exe                3.1.0.0   current: not listed
    Games/Sample.exe                      another maker's program: not listed
"""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "e2e"))
from kestrel_harness import build_program  # noqa: E402

SERVED = [("Sample.exe", (1, 2, 0, 7)), ("Other Tool.exe", (2, 0, 0, 1)), ("Corvel Clock.exe", (3, 1, 0, 0))]

INSTALLED = [
    ("Program Files/Corvel", "Sample.exe", (1, 2, 0, 6), "Corvel Software"),
    ("Program Files/Corvel", "Other Tool.exe", (2, 0, 0, 0), "Corvel Software"),
    ("Tools", "SAMPLE.EXE", (1, 1, 0, 0), "Corvel Freeware"),
    ("Tools", "Corvel Clock.exe", (3, 1, 0, 0), "Corvel Software"),
    ("Games", "Sample.exe", (1, 0, 0, 0), "Acme Games"),
]


def make(server_root, drive_root):
    utils = os.path.join(server_root, "Utils")
    os.makedirs(utils, exist_ok=True)
    for name, version in SERVED:
        build_program(utils, name, company="Corvel Software", version=version,
                      strings={"FileDescription": name})
    for folder, name, version, company in INSTALLED:
        build_program(os.path.join(drive_root, *folder.split("/")), name, company=company,
                      version=version, strings={"FileDescription": name})
    with open(os.path.join(drive_root, "Tools", "readme.txt"), "w") as f:
        f.write("Not a program: the scan only looks at *.exe files.\n")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    make(sys.argv[1], sys.argv[2])
