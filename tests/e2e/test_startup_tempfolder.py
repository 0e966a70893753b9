"""A temporary folder Kestrel cannot work in: Start says so and does nothing else."""

import contextlib
import subprocess
import tempfile
import time
import unittest

from kestrel_harness import Drives, Kestrel, drive_c, maker_server

MESSAGE = "The temporary folder cannot be used."


def set_user_variable(name, value):
    # On a loaded machine Wine now and then fails to start a program at all;
    # setting the value again does no harm. (Errors go through a file: a Wine
    # helper process could hold a pipe open.)
    for _attempt in range(3):
        with tempfile.TemporaryFile() as errors:
            result = subprocess.run(["timeout", "60", "wine", "reg", "add", "HKCU\\Environment", "/v", name,
                                     "/t", "REG_SZ", "/d", value, "/f"],
                                    stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=errors)
            if result.returncode == 0:
                return
            errors.seek(0)
            text = errors.read().decode("utf-8", "replace")[-500:]
        time.sleep(1)
    raise AssertionError(f"reg add {name}={value} failed ({result.returncode}): {text}")


@contextlib.contextmanager
def temporary_folder(windows_path):
    """Points TMP and TEMP of the prefix's user at windows_path for a while."""
    for name in ("TMP", "TEMP"):
        set_user_variable(name, windows_path)
    try:
        yield
    finally:
        for name in ("TMP", "TEMP"):
            set_user_variable(name, "C:\\users\\root\\Temp")


def long_folder(length):
    """A folder under C:\\ whose Windows path (with its final backslash) has `length` characters."""
    parts, remaining = [], length - len("C:\\")
    while remaining > 0:
        size = min(remaining - 1, 120)
        parts.append("t" * size)
        remaining -= size + 1
    folder = drive_c().joinpath(*parts)
    folder.mkdir(parents=True, exist_ok=True)
    return "C:\\" + "\\".join(parts) + "\\"


class UnusableTemporaryFolder(unittest.TestCase):
    def test_start_warns_and_asks_nothing_of_the_server(self):
        cases = [
            ("too long for a file name", 222),   # fits MAX_PATH, not with a 58-character name
            ("beyond the path limit", 300),      # GetTempPathA cannot return it
        ]
        bystander = drive_c() / "kestrel" / "Kestrel.ini"
        for name, length in cases:
            folder = long_folder(length)
            bystander.parent.mkdir(exist_ok=True)
            bystander.write_text("[Kestrel]\n")
            self.assertEqual(len(folder), length)
            with self.subTest(name), temporary_folder(folder.rstrip("\\")), Drives({}), \
                    maker_server(files={"Kestrel.ini": "[Kestrel]\n"}) as server, \
                    Kestrel(proxy=server.proxy) as app:
                before = app.wait_ready()
                app.key("alt+s")
                box = app.wait_box()
                self.assertEqual((box["caption"], box["text"]), ("Kestrel", MESSAGE))
                app.box_ok()
                after = app.wait_for(lambda s: not s["dialogs"], what="the box to close")
                self.assertEqual(after["list"], before["list"])
                self.assertEqual(after["buttons"], before["buttons"])
                self.assertEqual(server.requests(), [])
                app.key("alt+x")
                self.assertEqual(app.wait_exit(), 0)
                # With no working path, the clean-up at exit must not fall back
                # on a bare "Kestrel.ini" in the current folder.
                self.assertTrue(bystander.exists())

    def test_a_folder_with_room_for_the_longest_name_works(self):
        folder = long_folder(221)
        with temporary_folder(folder.rstrip("\\")), Drives({}), \
                maker_server(files={"Kestrel.ini": "not a catalogue\n"}) as server, \
                Kestrel(proxy=server.proxy) as app:
            app.wait_ready()
            app.key("alt+s")
            # The catalogue is only asked for once the folder has been accepted.
            app.wait_for(lambda s: server.requests(), what="the catalogue request")
            self.assertNotIn(MESSAGE, [box["text"] for box in app.state()["dialogs"]])
            app.close()
            self.assertEqual(app.wait_exit(), 0)


    def tearDown(self):
        (drive_c() / "kestrel" / "Kestrel.ini").unlink(missing_ok=True)


if __name__ == "__main__":
    unittest.main(verbosity=2)
