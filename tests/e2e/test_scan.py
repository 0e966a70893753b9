"""End-to-end: the Scan command on the real Kestrel.exe under Wine.

One launch walks through the outcomes a scan can have, since every failed or
empty scan leaves Start enabled for the next: a catalogue without its token,
one with a bad date, one that finds nothing, then no server at all."""

import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from kestrel_harness import Drives, Kestrel, build_program, maker_server, temp_folder  # noqa: E402
from e2e_support import CATALOGUE_URL, SAMPLE, buttons, catalogue, scan_expecting_boxes, stop_serving  # noqa: E402

TOKEN_MESSAGE = ("Your version of Kestrel needs to be updated.\n"
                 "Go to the Internet and get the latest version.")


class ScanOutcomes(unittest.TestCase):
    def test_failed_and_empty_scans_leave_start_enabled(self):
        with Drives({"d": None}) as drives:
            build_program(drives.path("d") / "Tools", "Sample.exe", company="Corvel Software",
                          version=(1, 2, 0, 7))
            with maker_server(files={"Kestrel.ini": catalogue(SAMPLE, token=False)}) as server, \
                    Kestrel(proxy=server.proxy) as app:
                start = app.wait_ready()

                # Update is disabled before any scan: Alt+U does nothing.
                app.key("alt+u")
                self.assertEqual(app.state()["list"], start["list"])
                self.assertEqual(server.requests(), [])

                boxes, state = scan_expecting_boxes(app, 1, start=lambda app: app.key("alt+s"))
                self.assertEqual(boxes, [(TOKEN_MESSAGE, "Kestrel")])
                self.assertEqual(state["list"], [])
                self.assertEqual(state["status"], ["", ""])
                self.assertFalse(buttons(state)["&Update"])

                server.put("Kestrel.ini", catalogue(SAMPLE, ("Other.exe", "2/30/04", "1:00:00 PM", "1.0.0.0")))
                boxes, state = scan_expecting_boxes(app, 1)
                self.assertEqual(boxes, [("Can't convert date / time.", "Other.exe")])
                self.assertEqual(state["list"], [])

                server.put("Kestrel.ini", catalogue(SAMPLE))
                app.click("&Start")
                app.wait_for(lambda s: s["status"][0] == "Nothing to update.", 300, "an empty scan")
                state = app.state()
                self.assertEqual(state["list"], ["Nothing to update."])
                self.assertEqual(state["status"][1], "0 files")
                self.assertEqual((buttons(state)["&Start"], buttons(state)["&Update"]), (True, False))
                self.assertTrue((temp_folder() / "Kestrel.ini").exists())

                stop_serving(server)
                boxes, state = scan_expecting_boxes(app, 2)
                self.assertEqual(boxes, [("SendRequest failed", CATALOGUE_URL),
                                         ("Failed to retrieve version information", "Kestrel")])
                self.assertEqual(state["list"], [])
                self.assertEqual((buttons(state)["&Start"], buttons(state)["&Update"]), (True, False))

                app.key("alt+x")
                self.assertEqual(app.wait_exit(), 0)
            self.assertFalse((temp_folder() / "Kestrel.ini").exists())


class ClosingDuringTheScan(unittest.TestCase):
    def test_ends_quietly_and_leaves_no_catalogue(self):
        # About 190 KB at 3000 bytes a second: the download outlasts the commands
        # below by a wide margin even on a loaded machine, so they all arrive
        # while the first scan runs. The window is closed long before the end.
        slow = catalogue(SAMPLE) + "[N]\r\n" + "".join("note %04d: a long catalogue, fetched slowly\r\n" % i for i in range(4000))
        with Drives({"d": None}), \
                maker_server(files={"Kestrel.ini": slow}, behaviour={"Kestrel.ini": {"trickle": 3000}}) as server, \
                Kestrel(proxy=server.proxy) as app:
            app.wait_ready()
            app.click("&Start")
            partial = temp_folder() / "Kestrel.ini"
            # Watched on disk: asking the window would wait for each slow block.
            deadline = time.monotonic() + 120
            while not (partial.exists() and partial.stat().st_size > 0):
                self.assertLess(time.monotonic(), deadline, "the catalogue did not start to arrive")
                time.sleep(0.1)

            # Start again while the first scan runs: it must not begin a second one.
            app.command(40002)
            app.command(40003)
            app.close()
            self.assertEqual(app.wait_exit(), 0)
            self.assertEqual(len([r for r in server.requests() if "Kestrel.ini" in r]), 1)
        self.assertFalse(partial.exists())


if __name__ == "__main__":
    unittest.main()
