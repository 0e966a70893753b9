#!/usr/bin/env python3
"""Generates a folder tree for the scan benchmark.

    scan_tree.py <target> <top folders> <fan-out> <levels> <files per folder> <maker program> [<current program>]

Every folder gets the same mix of files (two of five are *.exe, none of them in
the catalogue); a handful of folders also get copies of the maker's programs
under catalogue names, so the finder reads some version information too.
"""
import os
import shutil
import sys

EXTENSIONS = [".exe", ".dll", ".txt", ".exe", ".dat"]


def main():
    target, top, fan_out, levels, per_folder = sys.argv[1], *map(int, sys.argv[2:6])
    maker_program = sys.argv[6]
    current_program = sys.argv[7] if len(sys.argv) > 7 else maker_program
    folders = files = 0
    shutil.rmtree(target, ignore_errors=True)
    os.makedirs(target)
    pending = [(target, 0, top)]
    all_folders = [target]
    while pending:
        path, level, count = pending.pop()
        for i in range(count):
            sub = os.path.join(path, "dir%02d" % i)
            os.mkdir(sub)
            folders += 1
            all_folders.append(sub)
            if level + 1 < levels:
                pending.append((sub, level + 1, fan_out))
    for path in all_folders:
        for j in range(per_folder):
            open(os.path.join(path, "file%d%s" % (j, EXTENSIONS[j % len(EXTENSIONS)])), "wb").close()
            files += 1
    step = max(1, len(all_folders) // 5)
    for n, path in enumerate(all_folders[step::step][:5]):
        shutil.copyfile(maker_program, os.path.join(path, "Sample.exe"))
        shutil.copyfile(current_program, os.path.join(path, "Tool.exe"))
        files += 2
    print("%s: %d folders below the root, %d files" % (target, folders, files))


main()
