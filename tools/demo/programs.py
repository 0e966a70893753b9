"""Builds stand-ins for the maker's programs: tiny Windows programs whose
version resource says who made them and which version they are.

Used by the demo (tools/demo.sh) and the end-to-end tests, which need program
files of chosen versions on the fixture drives and on the maker's server.
Needs the MinGW-w64 cross compiler and windres.

Every program built here understands "--wait N": it then keeps running for N
seconds, so a test can have an installed program in use. The file holder
(build_holder) opens a file without sharing and keeps it open until it is
ended, as another program holding the file would.
"""

import hashlib
import os
import shutil
import subprocess
import tempfile

CC = "x86_64-w64-mingw32-gcc"
WINDRES = "x86_64-w64-mingw32-windres"

PROGRAM_SOURCE = r"""
#include <stdlib.h>
#include <string.h>
#include <windows.h>

int main(int argc, char **argv)
{
    if (argc >= 3 && strcmp(argv[1], "--wait") == 0)
        Sleep((DWORD)atoi(argv[2]) * 1000u);
    return 0;
}
"""

HOLDER_SOURCE = r"""
#include <stdio.h>
#include <windows.h>

/* holder PATH READY-FILE: opens PATH without sharing, then creates READY-FILE
   and sleeps until it is ended. */
int main(int argc, char **argv)
{
    if (argc < 3)
        return 2;
    HANDLE held = CreateFileA(argv[1], GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (held == INVALID_HANDLE_VALUE)
        return 1;
    FILE *ready = fopen(argv[2], "w");
    if (ready)
        fclose(ready);
    Sleep(INFINITE);
    return 0;
}
"""

VERSION_RC = """1 VERSIONINFO
FILEVERSION {commas}
PRODUCTVERSION {commas}
BEGIN
  BLOCK "StringFileInfo"
  BEGIN
    BLOCK "040904E4"
    BEGIN
{strings}    END
  END
  BLOCK "VarFileInfo"
  BEGIN
    VALUE "Translation", 0x409, 1252
  END
END
"""

_CACHE = os.path.join(tempfile.gettempdir(), "kestrel-programs-cache")


def _rc_text(value):
    return value.replace('"', '""')


def _compile(source, rc_text, out_path):
    key = hashlib.sha256((source + "\0" + (rc_text or "")).encode()).hexdigest()[:24]
    cached = os.path.join(_CACHE, key + ".exe")
    if not os.path.exists(cached):
        os.makedirs(_CACHE, exist_ok=True)
        with tempfile.TemporaryDirectory() as work:
            c_file = os.path.join(work, "program.c")
            with open(c_file, "w") as f:
                f.write(source)
            inputs = [c_file]
            if rc_text is not None:
                rc_file = os.path.join(work, "version.rc")
                with open(rc_file, "w", encoding="cp1252") as f:
                    f.write(rc_text)
                res = os.path.join(work, "version.o")
                subprocess.run([WINDRES, rc_file, "-O", "coff", "-o", res], check=True)
                inputs.append(res)
            exe = os.path.join(work, "program.exe")
            subprocess.run([CC, "-O1", "-s", "-o", exe] + inputs, check=True)
            partial = cached + ".%d" % os.getpid()
            shutil.copyfile(exe, partial)
            os.replace(partial, cached)
    os.makedirs(os.path.dirname(os.path.abspath(out_path)), exist_ok=True)
    shutil.copyfile(cached, out_path)
    return out_path


def build_program(out_path, version, company="Corvel Software", description=None):
    """A program file with the fixed file version `version` ("a.b.c.d") and,
    unless company is None, that CompanyName in block 040904E4."""
    parts = [int(p) for p in version.split(".")]
    strings = ""
    if company is not None:
        strings += '      VALUE "CompanyName", "%s\\0"\n' % _rc_text(company)
    strings += '      VALUE "FileVersion", "%s\\0"\n' % version
    if description:
        strings += '      VALUE "FileDescription", "%s\\0"\n' % _rc_text(description)
    rc = VERSION_RC.format(commas=",".join(str(p) for p in parts), strings=strings)
    return _compile(PROGRAM_SOURCE, rc, out_path)


def build_holder(out_path):
    """The file holder program (see the module's description)."""
    return _compile(HOLDER_SOURCE, None, out_path)
