"""End-to-end: a catalogue that lists Kestrel.exe updates the running Kestrel."""

import os
import re
import shutil
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from kestrel_harness import (KESTREL_EXE, Drives, Kestrel, build_program, drive_c, maker_server,  # noqa: E402
                             temp_folder)
from e2e_support import catalogue, messages, version_tuple  # noqa: E402

# The build's Kestrel.exe is 1.1.4.0 by "Corvel Freeware".
KESTREL = ("Kestrel.exe", "6/1/05", "10:00:00 AM", "1.2.0.0")
UPDATED = ("Kestrel has been updated. The new version runs from its next start.", "Kestrel")
FOLDER = "selfupdate"


def other_kestrels_on_c():
    """Copies of Kestrel.exe that earlier tests installed on C:; the scan would
    list them too. The harness installs them again when they are missing."""
    for root, _folders, files in os.walk(drive_c()):
        for name in files:
            if name.lower() == "kestrel.exe" and os.path.basename(root) != FOLDER:
                yield os.path.join(root, name)


class KestrelUpdatesItself(unittest.TestCase):
    def setUp(self):
        self.folder = drive_c() / FOLDER
        shutil.rmtree(self.folder, ignore_errors=True)
        for path in other_kestrels_on_c():
            os.remove(path)
        self.addCleanup(shutil.rmtree, self.folder, True)

    def test_the_running_copy_is_moved_aside_replaced_and_the_next_start_removes_it(self):
        running = self.folder / "Kestrel.exe"
        with Drives({"d": None}) as drives:
            other = drives.path("d") / "Tools" / "Kestrel.exe"
            other.parent.mkdir()
            shutil.copy(KESTREL_EXE, other)
            with maker_server(files={"Kestrel.ini": catalogue(KESTREL)}) as server:
                new = build_program(server.utils, "Kestrel.exe", company="Corvel Freeware",
                                    version=version_tuple(KESTREL[3])).read_bytes()
                with Kestrel(proxy=server.proxy, install_folder=FOLDER) as app:
                    app.wait_ready()
                    app.click("&Start")
                    app.wait_for(lambda s: s["status"][0] == "Ready to update", 300, "the scan")
                    self.assertEqual(app.state()["list"], [f"C:\\{FOLDER}\\Kestrel.exe", "D:\\Tools\\Kestrel.exe"])
                    app.click("&Update")
                    # No warning comes first: the box after "Done" is the first one.
                    state = app.wait_for(messages, 300, "the box after the update")
                    self.assertEqual(messages(state), [UPDATED])
                    self.assertEqual(state["status"][0], "Done")
                    self.assertEqual(state["list"], [])
                    # The downloads and the Update's folder went before "Done" and the box.
                    self.assertEqual([p for p in temp_folder().iterdir() if re.fullmatch(r"K[0-9]+", p.name)], [])
                    app.box_ok()
                    app.wait_for(lambda s: not messages(s), 60, "the box to close")
                    # The old program runs on from its new name.
                    self.assertEqual(running.read_bytes(), new)
                    self.assertEqual((self.folder / "Kestrel.exe.old").read_bytes(), KESTREL_EXE.read_bytes())
                    app.close()
                    self.assertEqual(app.wait_exit(), 0)
            # Another copy is replaced as any program, with nothing left beside it.
            self.assertEqual(other.read_bytes(), new)
            self.assertEqual(sorted(p.name for p in other.parent.iterdir()), ["Kestrel.exe"])
        self.assertEqual(sorted(p.name for p in self.folder.iterdir()), ["Kestrel.exe", "Kestrel.exe.old"])

        # The next start of a Kestrel there deletes its old-program names, and
        # only those, silently.
        shutil.copy2(KESTREL_EXE, running)
        for name in ("Kestrel.exe.old3", "Kestrel.exe.old9", "Kestrel.exe.old10", "Kestrel.exe.older"):
            (self.folder / name).write_bytes(b"leftover")
        with Kestrel(install_folder=FOLDER) as app:
            state = app.wait_ready()
            self.assertEqual(messages(state), [])
            app.close()
            self.assertEqual(app.wait_exit(), 0)
        self.assertEqual(sorted(p.name for p in self.folder.iterdir()),
                         ["Kestrel.exe", "Kestrel.exe.old10", "Kestrel.exe.older"])


if __name__ == "__main__":
    unittest.main()
