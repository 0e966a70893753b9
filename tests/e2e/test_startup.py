"""Kestrel's main window at start, and every way of ending the program."""

import unittest

from kestrel_harness import ABOUT, EXIT, START, UPDATE, Drives, Kestrel, cache_value, temp_folder

ADDRESS_LINE = "Internet source location:  " + cache_value("KESTREL_UPDATE_FOLDER_URL")


class StartUp(unittest.TestCase):
    def test_window_lists_fixed_drives_and_address(self):
        # A: is mapped too: whatever its type, a scan never covers A: or B:.
        cases = [
            ({}, "Drives to be scanned:  C "),
            ({"a": None, "d": None, "f": None}, "Drives to be scanned:  C D F "),
        ]
        for drives, drives_line in cases:
            with self.subTest(drives=sorted(drives)), Drives(drives), Kestrel() as app:
                state = app.wait_ready()
                self.assertEqual(state["title"], "Kestrel")
                self.assertEqual(state["list"], [drives_line, ADDRESS_LINE])
                self.assertEqual(state["status"], ["", ""])
                self.assertEqual([(b["label"], b["id"], b["enabled"]) for b in state["buttons"]],
                                 [("&Start", START, True), ("&Update", UPDATE, False),
                                  ("About", ABOUT, True), ("E&xit", EXIT, True)])
                self.assertEqual(state["dialogs"], [])
                app.key("alt+x")
                self.assertEqual(app.wait_exit(), 0)

    def test_window_is_centred_one_pixel_larger_than_default(self):
        with Drives({}), Kestrel() as app:
            state = app.wait_ready()
            left, top, right, bottom = state["rect"]
            width, height = right - left, bottom - top
            self.assertEqual([width, height], [state["defaultSize"][0] + 1, state["defaultSize"][1] + 1])
            screen_width, screen_height = state["fullScreen"]
            self.assertLessEqual(abs(left - (screen_width - width) / 2), 1)
            self.assertLessEqual(abs(top - (screen_height - height) / 2), 1)
            app.close()
            self.assertEqual(app.wait_exit(), 0)

    def test_resizing_keeps_bar_on_top_status_at_bottom_and_list_between(self):
        with Drives({}), Kestrel() as app:
            app.wait_ready()
            for width, height in [(500, 300), (900, 650), (320, 200)]:
                with self.subTest(size=(width, height)):
                    app.driver("resize", width, height)
                    state = app.wait_for(
                        lambda s: s["rect"][2] - s["rect"][0] == width and s["rect"][3] - s["rect"][1] == height,
                        what=f"the size {width}x{height}")
                    client_width, client_height = state["client"]
                    bar, listing, status = state["barRect"], state["listClient"], state["statusRect"]
                    self.assertEqual(bar[:3], [0, 0, client_width])
                    self.assertEqual([listing[0], listing[1], listing[2]], [0, bar[3], client_width])
                    self.assertEqual(listing[3], status[1])
                    self.assertEqual(status[3], client_height)
            app.close()
            self.assertEqual(app.wait_exit(), 0)

    def test_disabled_update_and_unknown_commands_do_nothing(self):
        with Drives({}), Kestrel() as app:
            before = app.wait_ready()
            app.key("alt+u")
            app.command(UPDATE)
            app.command(40005)
            app.command(0)
            after = app.state()
            for field in ("running", "visible", "enabled", "list", "status", "buttons", "dialogs"):
                self.assertEqual(after[field], before[field], field)
            app.close()
            self.assertEqual(app.wait_exit(), 0)


class Ending(unittest.TestCase):
    def test_every_way_of_ending_exits_0_and_leaves_files_this_run_did_not_make(self):
        ways = [
            ("Alt+X", lambda app: app.key("alt+x")),
            ("Exit button", lambda app: app.click("E&xit")),
            ("Exit command", lambda app: app.command(EXIT)),
            ("close box", lambda app: app.driver("close-box")),
            ("WM_CLOSE", lambda app: app.close()),
        ]
        temp = temp_folder()
        for name, end in ways:
            with self.subTest(name), Drives({}):
                # What an earlier run could have left behind. Only a catalogue this
                # run fetched, known by its identity, goes at exit.
                temp.mkdir(parents=True, exist_ok=True)
                (temp / "Kestrel.ini").write_text("[Kestrel]\n")
                (temp / "Sample.exe").write_bytes(b"MZ")
                try:
                    with Kestrel() as app:
                        app.wait_ready()
                        end(app)
                        self.assertEqual(app.wait_exit(), 0)
                    self.assertTrue((temp / "Kestrel.ini").exists())
                    self.assertTrue((temp / "Sample.exe").exists())
                finally:
                    for leftover in ("Kestrel.ini", "Sample.exe"):
                        (temp / leftover).unlink(missing_ok=True)


if __name__ == "__main__":
    unittest.main(verbosity=2)
