#!/usr/bin/env bash
# Prints the size of Kestrel.exe and, from the linker's map, what each
# library and the largest object files put into it, and which members of the
# compiler's run-time libraries were pulled in and by whom.
#
#   tools/measure-size.sh [BUILD_DIR] [TOP]   default: build/win (a Release build), 15 lines
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/win}" && pwd)
top=${2:-15}

cmake --build "$build" -j2 --target Kestrel >/dev/null
size=$(stat -c %s "$build/bin/Kestrel.exe")
awk -v s="$size" 'BEGIN { printf "Kestrel.exe: %d bytes (%.1f KiB; goal at most 96 KiB, stretch 64 KiB)\n", s, s / 1024 }'
x86_64-w64-mingw32-objdump -h "$build/bin/Kestrel.exe" |
    while read -r _ name size _; do
        if [[ $name == .* ]]; then printf '  section %-8s %6d bytes\n' "$name" "$((16#$size))"; fi
    done

python3 - "$build/Kestrel.map" "$top" <<'PY'
import collections
import os
import re
import sys

map_path, top = sys.argv[1], int(sys.argv[2])
text = open(map_path, encoding="utf-8", errors="replace").read()
pulled_part, _, layout = text.partition("Linker script and memory map")
pulled_part = pulled_part.split("Archive member included to satisfy reference by file (symbol)", 1)[-1]
pulled_part = pulled_part.split("\n\n", 2)[1] if "\n\n" in pulled_part else pulled_part


def short(path):
    """libfoo.a(member.o) or the object's name, without folders."""
    match = re.match(r"(.*?)\((.*)\)$", path)
    if match:
        return f"{os.path.basename(match.group(1))}({match.group(2)})"
    return library(path) if ".ltrans" in path else os.path.basename(path)


def library(path):
    if ".ltrans" in path:
        return "Kestrel's own code (optimised as a whole at link time)"
    match = re.match(r"(.*?)\(", path)
    return os.path.basename(match.group(1)) if match else os.path.basename(path)


# Input sections placed in the output: " .text.name 0xADDR 0xSIZE file" (the
# name may stand alone on the line before). Discarded sections come before
# this part of the map and are not counted; debug sections are stripped.
by_library = collections.Counter()
by_object = collections.Counter()
pending = None
for line in layout.splitlines():
    fields = line.split()
    if len(fields) == 1 and line.startswith(" .") and not line.startswith(" .debug"):
        pending = fields[0]
        continue
    if pending and len(fields) >= 3 and fields[0].startswith("0x") and fields[1].startswith("0x"):
        section, address, size, path = pending, fields[0], fields[1], " ".join(fields[2:])
    elif len(fields) >= 4 and line.startswith(" .") and fields[1].startswith("0x") and fields[2].startswith("0x"):
        section, address, size, path = fields[0], fields[1], fields[2], " ".join(fields[3:])
    else:
        pending = None
        continue
    pending = None
    if section.startswith(".debug") or int(address, 16) == 0:
        continue
    by_library[library(path)] += int(size, 16)
    by_object[short(path)] += int(size, 16)

print("Bytes placed per library or object (before section alignment):")
for name, size in by_library.most_common(top):
    print(f"  {size:7d}  {name}")
print(f"Largest {top} object files:")
for name, size in by_object.most_common(top):
    print(f"  {size:7d}  {name}")

runtime = ("libstdc++", "libsupc++", "libgcc", "libwinpthread", "libpthread", "libmingwex")
print("Members of the compiler's run-time libraries and what pulled them:")
entries = re.findall(r"^(\S.*)\n\s+(\S.*)$", pulled_part, re.M)
for member, reason in entries:
    if os.path.basename(member).startswith(runtime):
        print(f"  {short(member)}  <-  {short(reason.split(' (')[0])} ({reason.split(' (', 1)[-1]}")
PY
