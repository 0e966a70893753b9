"""End-to-end: links planted by another program never redirect what Kestrel
writes, moves or deletes (Unix symbolic links, which Wine follows as Windows
follows junctions and file links)."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from kestrel_harness import Drives, Kestrel, build_program, drive_c, maker_server, temp_folder  # noqa: E402
from e2e_support import SAMPLE, Snapshot, catalogue, start_and_update, version_tuple  # noqa: E402

CHANGED = "Can't replace this file\n\nThe folder has changed since the search."


class LinksPlantedBetweenStartAndUpdate(unittest.TestCase):
    def test_a_swapped_folder_and_a_program_link_are_refused_and_what_they_point_at_untouched(self):
        with Drives({"d": None}) as drives:
            d = drives.path("d")
            old = dict(company="Corvel Software", version=(1, 2, 0, 6))
            swapped, linked, plain = (build_program(d / folder, "Sample.exe", **old)
                                      for folder in ("m/x", "Apps", "Plain"))
            # Only administrators may write there: a file of the listed name, and another one.
            (d / "Protected").mkdir()
            protected, victim = d / "Protected" / "Sample.exe", d / "Protected" / "Victim.dll"
            protected.write_bytes(b"protected")
            victim.write_bytes(b"victim")
            before = Snapshot([protected, victim])
            with maker_server(files={"Kestrel.ini": catalogue(SAMPLE)}) as server:
                new = build_program(server.utils, "Sample.exe", company="Corvel Software",
                                    version=version_tuple(SAMPLE[3])).read_bytes()
                with Kestrel(proxy=server.proxy) as app:
                    app.wait_ready()
                    def plant_links(_):
                        swapped.parent.rename(d / "m" / "moved")
                        swapped.parent.symlink_to(d / "Protected")
                        linked.unlink()
                        linked.symlink_to(victim)
                    boxes, _ = start_and_update(app, plant_links)
                    app.close()
                    self.assertEqual(app.wait_exit(), 0)
            self.assertEqual(boxes, [(CHANGED, "D:\\Apps\\Sample.exe"), (CHANGED, "D:\\m\\x\\Sample.exe")])
            self.assertTrue(before.unchanged(protected) and before.unchanged(victim))
            self.assertEqual(sorted(os.listdir(d / "Protected")), ["Sample.exe", "Victim.dll"])
            self.assertEqual(plain.read_bytes(), new)


class LinksInTheTemporaryFolder(unittest.TestCase):
    def test_a_link_named_like_the_catalogue_or_a_leftover_leaves_its_target_alone(self):
        with Drives({"d": None}) as drives:
            victim = drives.path("d") / "Victim.ini"
            victim.write_bytes(b"victim")
            before = Snapshot([victim])
            link = temp_folder() / "Kestrel.ini"
            link.unlink(missing_ok=True)
            link.symlink_to(victim)
            with maker_server(files={"Kestrel.ini": catalogue(SAMPLE)}) as server, \
                    Kestrel(proxy=server.proxy) as app:
                # A leftover name of the running program, beside its own file.
                leftover = drive_c() / "kestrel" / "Kestrel.exe.old2"
                leftover.unlink(missing_ok=True)
                leftover.symlink_to(victim)
                app.wait_ready()
                app.click("&Start")
                app.wait_for(lambda s: s["status"][0] == "Nothing to update.", 300, "the scan")
                self.assertTrue(before.unchanged(victim))
                self.assertFalse(link.is_symlink())
                app.close()
                self.assertEqual(app.wait_exit(), 0)
            self.assertTrue(before.unchanged(victim))
            self.assertFalse(link.exists())
            # The next start looks for leftovers beside its own file.
            with Kestrel() as app:
                app.wait_ready()
                app.close()
                self.assertEqual(app.wait_exit(), 0)
            self.assertTrue(before.unchanged(victim))
            leftover.unlink(missing_ok=True)


if __name__ == "__main__":
    unittest.main()
