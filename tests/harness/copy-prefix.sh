#!/usr/bin/env bash
# copy-prefix.sh FROM TO: a copy of a booted Wine prefix that no server runs on.
# Wine's own program files, nearly all of a prefix's 700 MB, are shared as
# hard links: nothing writes them. Everything else is copied; the registry
# files above all, which Wine's server writes in place when they have more
# than one link.
set -eu
from=$1
to=$2
shared=(drive_c/windows/system32 drive_c/windows/syswow64 drive_c/windows/winsxs)
mkdir "$to"
tar -C "$from" --xattrs --xattrs-include='*' "${shared[@]/#/--exclude=}" -cf - . |
  tar -C "$to" --xattrs --xattrs-include='*' -xpf -
for folder in "${shared[@]}"; do
  [ ! -d "$from/$folder" ] || cp -al "$from/$folder" "$to/$folder"
done
# The name of the source's server folder: the copy's server makes its own.
rm -f "$to/wineserver"
