"""End-to-end: unattended runs (/check, /update) on the real Kestrel.exe under
Wine: their exit codes, their log, and that no box waits for anyone."""

import os
import re
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from kestrel_harness import Drives, Kestrel, build_program, drive_c, maker_server  # noqa: E402
from e2e_support import (CATALOGUE_URL, SAMPLE, Snapshot, catalogue, running_program, stop_serving,  # noqa: E402
                         version_tuple)

OTHER = ("Other Tool.exe", "1-5-04", "9:05:00 AM", "2.0.0.1")
LINE = re.compile(r"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ (.*)")


def run(args, proxy=None, **kestrel):
    """Runs Kestrel with args to its end; its exit code and seconds taken."""
    started = time.monotonic()
    with Kestrel(proxy=proxy, args=args, **kestrel) as app:
        code = app.wait_exit(120)
    return code, time.monotonic() - started


def events(path):
    """The events of a log, each line checked for its UTC time."""
    lines = path.read_bytes().decode("utf-8").splitlines()
    assert all(LINE.fullmatch(line) for line in lines), lines
    return [LINE.fullmatch(line).group(1) for line in lines]


def usual_log():
    return next(iter(drive_c().glob("users/*/AppData/Local/Corvel/Kestrel/Kestrel.log")), None)


class UnattendedRuns(unittest.TestCase):
    def test_check_update_and_each_failure(self):
        with Drives({"d": None}) as drives:
            d = drives.path("d")
            copies = [build_program(d / "Apps", "Sample.exe", company="Corvel Software", version=(1, 2, 0, 6)),
                      build_program(d / "Apps", "Other Tool.exe", company="Corvel Software", version=(2, 0, 0, 0)),
                      build_program(d / "Running", "Sample.exe", company="Corvel Software", version=(1, 2, 0, 5))]
            with maker_server(files={"Kestrel.ini": catalogue(SAMPLE, OTHER)}) as server:
                for entry in (SAMPLE, OTHER):
                    build_program(server.utils, entry[0], company="Corvel Software",
                                  version=version_tuple(entry[3]))
                before = Snapshot(copies)
                self.assertEqual(run(["/check", "-LOG", "C:\\check.log"], server.proxy)[0], 10)
                self.assertTrue(all(before.unchanged(copy) for copy in copies))
                log = events(drive_c() / "check.log")
                self.assertRegex(log[0], r"^Kestrel 1\.14 started: .*Kestrel\.exe.* /check -LOG C:\\check\.log$")
                self.assertEqual(log[1:], [
                    f"catalogue used: {CATALOGUE_URL}, issued none, 2 programs",
                    "outdated: D:\\Apps\\Other Tool.exe, version 2.0.0.0, catalogue's 2.0.0.1",
                    "outdated: D:\\Apps\\Sample.exe, version 1.2.0.6, catalogue's 1.2.0.7",
                    "outdated: D:\\Running\\Sample.exe, version 1.2.0.5, catalogue's 1.2.0.7",
                    "run ended, exit code 10"])
                self.assertIsNone(usual_log())

                # A copy in use: the others are replaced, it keeps its box's text and reason.
                with running_program("D:\\Running\\Sample.exe", None):
                    self.assertEqual(run(["-Update"], server.proxy)[0], 1)
                log = events(usual_log())
                self.assertIn("replaced: D:\\Apps\\Sample.exe", log)
                self.assertIn("replaced: D:\\Apps\\Other Tool.exe", log)
                self.assertIn("message: Can't replace this file The program is in use. Close it, then start "
                              "Kestrel again. (D:\\Running\\Sample.exe)", log)
                self.assertEqual(log[-1], "run ended, exit code 1")

                code, seconds = run(["/UPDATE"], server.proxy)
                self.assertEqual((code, events(usual_log())[-2:]),
                                 (0, ["replaced: D:\\Running\\Sample.exe", "run ended, exit code 0"]))
                self.assertLess(seconds, 60)
                self.assertEqual(run(["/check"], server.proxy)[0], 0)
                stop_serving(server)
                for args, code, event in (
                        (["/check"], 2, "message: Failed to retrieve version information (Kestrel)"),
                        (["/check", "/bogus"], 3, "not understood: /bogus"),
                        (["/update", "/log"], 3, "not understood: /log without a file name")):
                    self.assertEqual(run(args, server.proxy)[0], code, args)
                    self.assertIn(event, events(usual_log())[-3:], args)
                # A log that cannot be written changes nothing else.
                self.assertEqual(run(["/update", "/log", "C:\\no such folder\\k.log"], server.proxy)[0], 2)

    def test_one_kestrel_at_a_time_and_the_roll_over(self):
        with Drives({"d": None}) as drives:
            build_program(drives.path("d") / "Apps", "Sample.exe", company="Corvel Software", version=(1, 2, 0, 6))
            with maker_server(files={"Kestrel.ini": catalogue(SAMPLE)}) as server:
                build_program(server.utils, "Sample.exe", company="Corvel Software", version=(1, 2, 0, 7))
                old = b"x" * (1024 * 1024) + b"\r\n"
                (drive_c() / "big.log").write_bytes(old)
                server.behave({"Kestrel.ini": {"delay": 20}})
                with Kestrel(proxy=server.proxy, args=["/update", "/log", "C:\\first.log"]) as first:
                    deadline = time.monotonic() + 60
                    while not server.requests() and time.monotonic() < deadline:
                        time.sleep(0.2)
                    self.assertEqual(run(["/update", "/log", "C:\\big.log"], server.proxy)[0], 4)
                    self.assertEqual(first.wait_exit(120), 0)
                self.assertEqual((drive_c() / "big.log.1").read_bytes(), old)
                log = events(drive_c() / "big.log")
                self.assertEqual(log[1:], ["another Kestrel is running for this user; nothing done",
                                           "run ended, exit code 4"])
                self.assertIn("replaced: D:\\Apps\\Sample.exe", events(drive_c() / "first.log"))


if __name__ == "__main__":
    unittest.main()
