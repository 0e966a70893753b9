"""Runs the maker's tool KestrelCatalogue.exe under Wine for the end-to-end
tests, and writes keys in the form of its key files."""

import subprocess
import tempfile
import time

from kestrel_harness import BUILD_DIR, _install, _wine_env

TOOL = BUILD_DIR / "bin" / "KestrelCatalogue.exe"


def catalogue_tool(*args):
    """Runs the tool; (exit code, standard output, standard error lines)."""
    program = _install(TOOL)
    # Every run of the tool prints something. On a loaded machine Wine now
    # and then fails to start a program at all: nothing was printed, so
    # nothing was done, and the run is tried again.
    for _attempt in range(3):
        code, out, errors = _run_tool_once(program, args)
        if out or errors:
            break
        time.sleep(1)
    return code, out, errors


def _run_tool_once(program, args):
    # Wine's helper processes may outlive the tool and hold a pipe open.
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        result = subprocess.run(["timeout", "120", "wine", program, *args], env=_wine_env(),
                                stdout=out, stderr=err, stdin=subprocess.DEVNULL)
        out.seek(0)
        err.seek(0)
        return (result.returncode, out.read().decode("cp1252"),
                err.read().decode("cp1252").replace("\r", "").splitlines())


def key_bytes(private):
    """A key file's bytes for a key of Python cryptography: X, Y (the public
    key) and d, 32 bytes each, big-endian."""
    numbers = private.private_numbers()
    public = numbers.public_numbers
    return b"".join(n.to_bytes(32, "big") for n in (public.x, public.y, numbers.private_value))
