#!/usr/bin/env python3
"""Times whole Updates of one large maker's program on the real Kestrel.exe
under Wine, from outside: from the program's request for the file reaching
the loopback maker's server to the installed copy having been replaced
(download, checksum, maker and version check, stamp, copy beside the target,
move). Run by tools/bench/download-bench.sh inside its Wine session; not a test.

    update_bench.py <program> <rounds> [<bare loop seconds>]

<program> is the new version (1.2.0.7 of a Corvel program) the server offers as
Big.exe; an older copy is put back on D: before each round and found by a scan.
With the bare WinINet loop's time for the same file, prints the ratio too.
"""
import pathlib
import shutil
import sys
import tempfile
import threading
import time

ROOT = pathlib.Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "tools"))
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
import maker_server as maker_module  # noqa: E402
from catalogue_signing import checksum, hashes_section  # noqa: E402
from e2e_support import catalogue  # noqa: E402
from kestrel_harness import Drives, Kestrel, build_program, maker_server  # noqa: E402

NAME = "Big.exe"
ENTRY = (NAME, "10/15/03", "2:30:00 PM", "1.2.0.7")

arrivals = []
_record = maker_module.MakerServer.record


def _timed_record(self, request_line):
    arrivals.append((time.monotonic(), request_line))
    _record(self, request_line)


maker_module.MakerServer.record = _timed_record


def replaced_at(path, before, result, deadline):
    """Polls path until it is another file than before (inode, size); the time seen."""
    while time.monotonic() < deadline:
        with_stat = path.stat() if path.exists() else None
        if with_stat and (with_stat.st_ino, with_stat.st_size) != before:
            result.append(time.monotonic())
            return
        time.sleep(0.001)


def main():
    program, rounds = pathlib.Path(sys.argv[1]), int(sys.argv[2])
    bare = float(sys.argv[3]) if len(sys.argv) > 3 else None
    new_bytes = program.read_bytes()
    with Drives({"d": None}) as drives, tempfile.TemporaryDirectory(prefix="update-bench-") as work:
        # Kept off the drive, where the scan would find it too.
        old = build_program(work, NAME, company="Corvel Software", version=(1, 2, 0, 6))
        target = drives.path("d") / "Apps" / NAME
        target.parent.mkdir()
        text = catalogue(ENTRY) + hashes_section({NAME: checksum(new_bytes)})
        times = []
        with maker_server(files={"Kestrel.ini": text, NAME: new_bytes}) as server, \
                Kestrel(proxy=server.proxy) as app:
            app.wait_ready()
            for round_number in range(rounds):
                shutil.copyfile(old, target)
                app.click("&Start")
                app.wait_for(lambda s: s["status"][0] == "Ready to update", 300, "the scan")
                stat = target.stat()
                seen = []
                watcher = threading.Thread(target=replaced_at,
                                           args=(target, (stat.st_ino, stat.st_size), seen, time.monotonic() + 600))
                watcher.start()
                asked = len(arrivals)
                app.click("&Update")
                watcher.join()
                app.wait_for(lambda s: s["status"][0] == "Done", 300, "the update")
                requested = [t for t, line in arrivals[asked:] if f"/Utils/{NAME}" in line]
                if not seen or not requested or target.read_bytes() != new_bytes:
                    sys.exit("the update did not replace the installed copy")
                times.append(seen[0] - requested[0])
                print(f"round {round_number + 1}: whole Update {times[-1]:.3f} s", flush=True)
            app.close()
            app.wait_exit()
    best = min(times)
    mib = len(new_bytes) / 1048576
    print(f"whole Update of one {mib:.1f} MiB program, best of {rounds}: {best:.3f} s  {mib / best:.1f} MiB/s")
    if bare:
        print(f"ratio (bare loop / whole Update): {bare / best:.2f}")


main()
