#!/usr/bin/env python3
"""Times whole Updates of one large maker's program on the real Kestrel.exe
under Wine, from outside: from the program's request for the file reaching
the loopback maker's server to the installed copy having been replaced
(download with its checksum, copy beside the target, maker and version check,
move). Run by tools/bench/download-bench.sh inside its Wine session, with the
server it started; not a test.

    update_bench.py <proxy> <served folder> <request log> <name> <rounds> [<bare loop seconds>]

The served folder holds <name>, version 1.2.0.7 of a Corvel program; the
catalogue offering it is written there. An older copy is put back on D:
before each round and found by a scan of a freshly started program. The
download's end is when the file in the Update's folder under the temporary
folder has its full size;
the rest is everything after it. With the bare WinINet loop's time for the
same file, prints the ratio too.
"""
import contextlib
import pathlib
import shutil
import sys
import tempfile
import threading
import time

ROOT = pathlib.Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
from catalogue_signing import checksum, hashes_section  # noqa: E402
from e2e_support import catalogue  # noqa: E402
from kestrel_harness import Drives, Kestrel, build_program, temp_folder  # noqa: E402

POLL_SECONDS = 0.001


def request_time(log, offset, wanted, deadline):
    """Polls the server's request log past offset for a line holding wanted; when it came."""
    while time.monotonic() < deadline:
        with open(log, "rb") as lines:
            lines.seek(offset)
            if wanted.encode() in lines.read():
                return time.monotonic()
        time.sleep(POLL_SECONDS)
    return None


def watch(log, offset, wanted, downloaded, downloaded_size, target, target_before, seen, deadline):
    """Polls until the request for wanted reaches the server, then until the
    download (downloaded() finds it) has its full size, then until target is
    another file than before (inode, size); appends the three times seen."""
    requested = request_time(log, offset, wanted, deadline)
    if requested is None:
        return
    seen.append(requested)
    for find, done in ((downloaded, lambda st: st.st_size == downloaded_size),
                       (lambda: target, lambda st: (st.st_ino, st.st_size) != target_before)):
        while time.monotonic() < deadline:
            with contextlib.suppress(FileNotFoundError, AttributeError):
                if done(find().stat()):
                    seen.append(time.monotonic())
                    break
            time.sleep(POLL_SECONDS)


def main():
    proxy, served, log, name = sys.argv[1], pathlib.Path(sys.argv[2]), pathlib.Path(sys.argv[3]), sys.argv[4]
    rounds = int(sys.argv[5])
    bare = float(sys.argv[6]) if len(sys.argv) > 6 else None
    new_bytes = (served / name).read_bytes()
    entry = (name, "10/15/03", "2:30:00 PM", "1.2.0.7")
    (served / "Kestrel.ini").write_text(catalogue(entry) + hashes_section({name: checksum(new_bytes)}))
    with Drives({"d": None}) as drives, tempfile.TemporaryDirectory(prefix="update-bench-") as work:
        # Kept off the drive, where the scan would find it too.
        old = build_program(work, name, company="Corvel Software", version=(1, 2, 0, 6))
        target = drives.path("d") / "Apps" / name
        target.parent.mkdir()
        rows = []
        for round_number in range(rounds):
            shutil.copyfile(old, target)
            # An Update leaves both commands disabled: a fresh program each round.
            with Kestrel(proxy=proxy) as app:
                app.wait_ready()
                app.click("&Start")
                app.wait_for(lambda s: s["status"][0] == "Ready to update", 300, "the scan")
                stat = target.stat()
                seen = []
                watcher = threading.Thread(target=watch, args=(
                    log, log.stat().st_size, f"/Utils/{name}",
                    lambda: next(temp_folder().glob(f"K*/{name}"), None), len(new_bytes),
                    target, (stat.st_ino, stat.st_size), seen, time.monotonic() + 600))
                watcher.start()
                # The accelerator through the X server, not the driver: starting a
                # Wine process beside the Update would slow it down.
                app.key("alt+u")
                watcher.join()
                app.wait_for(lambda s: s["status"][0] == "Done", 300, "the update")
                app.close()
                app.wait_exit()
            if len(seen) < 3 or target.read_bytes() != new_bytes:
                sys.exit("the update did not replace the installed copy")
            rows.append((seen[2] - seen[0], seen[1] - seen[0], seen[2] - seen[1]))
            print("round %d: whole Update %.3f s = download %.3f s + the rest %.3f s"
                  % (round_number + 1, *rows[-1]), flush=True)
    best = min(rows)
    mib = len(new_bytes) / 1048576
    print("whole Update of one %.1f MiB program, best of %d: %.3f s (download %.3f s, the rest %.3f s)"
          % (mib, rounds, *best))
    if bare:
        print(f"ratio (bare loop / whole Update): {bare / best[0]:.2f}")


main()
