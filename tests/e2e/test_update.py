"""End-to-end: Update after a scan, on the real Kestrel.exe under Wine."""

import getpass
import os
import re
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from kestrel_harness import Drives, Kestrel, build_program, maker_server, temp_folder  # noqa: E402
from kestrel_harness import drive_c  # noqa: E402
from catalogue_signing import sizes_section  # noqa: E402
from e2e_support import (SAMPLE, Snapshot, answer_boxes_until, catalogue, file_holder,  # noqa: E402
                         folder_names, running_program, stamped_time, start_and_update,
                         stop_serving, tamperer, version_tuple)

OTHER = ("Other Tool.exe", "1-5-04", "9:05:00 AM", "2.0.0.1")
CLOCK = ("Corvel Clock.exe", "7/1/05", "11:00:00 AM", "3.1.0.0")
WRONG = ("Wrong.exe", "2/29/00", "12:00:00 PM", "4.0.0.0")
# A '%' in a name is the name's own: sent bare, "%41" would fetch "CorvelA.exe".
PERCENT = ("Corvel%41.exe", "3/3/06", "8:00:00 AM", "5.0.0.0")
CANT_REPLACE = "Can't replace this file"
IN_USE = "\n\nThe program is in use. Close it, then start Kestrel again."
READ_ONLY = "\n\nThe file is read-only."
# The folder an Update keeps its downloads in, under the temporary folder.
RUN_FOLDER = re.compile(r"k[0-9]+", re.IGNORECASE)


def served(folder, entry, version=None):
    name, _, _, catalogue_version = entry
    return build_program(folder, name, company="Corvel Software",
                         version=version_tuple(version or catalogue_version))


class UpdateReplacesOutdatedCopies(unittest.TestCase):
    def test_scan_then_update_over_two_drives(self):
        with Drives({"d": None, "f": None}) as drives:
            d, f = drives.path("d"), drives.path("f")
            copies = {
                "D:\\Apps\\Sample.exe": build_program(d / "Apps", "Sample.exe", company="Corvel Software",
                                                      version=(1, 2, 0, 6)),
                "F:\\Backup\\Sample.exe": build_program(f / "Backup", "Sample.exe", company="CORVEL",
                                                        version=(1, 1, 0, 0)),
                "F:\\Tools\\OTHER TOOL.EXE": build_program(f / "Tools", "OTHER TOOL.EXE",
                                                           company="Corvel Freeware", version=(2, 0, 0, 0)),
                "D:\\Clock\\Corvel Clock.exe": build_program(d / "Clock", "Corvel Clock.exe",
                                                             company="Corvel Software", version=(3, 0, 0, 0)),
                "D:\\Wrong\\Wrong.exe": build_program(d / "Wrong", "Wrong.exe", company="Corvel Software",
                                                      version=(3, 9, 0, 0)),
                "D:\\Percent\\Corvel%41.exe": build_program(d / "Percent", "Corvel%41.exe",
                                                            company="Corvel Software", version=(4, 0, 0, 0)),
            }
            refused = {
                "D:\\Locked\\Sample.exe": build_program(d / "Locked", "Sample.exe", company="Corvel Software",
                                                        version=(1, 2, 0, 5)),
                "D:\\ReadOnly\\Sample.exe": build_program(d / "ReadOnly", "Sample.exe",
                                                          company="Corvel Software", version=(1, 2, 0, 4)),
                "D:\\Running\\Sample.exe": build_program(d / "Running", "Sample.exe", company="Corvel Software",
                                                         version=(1, 2, 0, 3)),
            }
            current = build_program(d / "Current", "Sample.exe", company="Corvel Software", version=(1, 2, 0, 7))
            stranger = build_program(f / "Games", "Corvel Clock.exe", company="Acme", version=(1, 0, 0, 0))
            refused["D:\\ReadOnly\\Sample.exe"].chmod(0o444)
            # Folder links (Wine lists them as reparse points): a second way into
            # D:\Apps, a loop back to D:'s root, a way from F: into D:\Clock. Each
            # copy is still listed and replaced once, where it lies.
            (d / "Alias").symlink_to(d / "Apps")
            (d / "Current" / "Loop").symlink_to(d)
            (f / "ToClock").symlink_to(d / "Clock")
            before = Snapshot(list(copies.values()) + list(refused.values()) + [current, stranger])

            with maker_server(files={"Kestrel.ini": catalogue(SAMPLE, OTHER, CLOCK, WRONG, PERCENT)}) as server:
                new = {entry[0]: served(server.utils, entry).read_bytes()
                       for entry in (SAMPLE, OTHER, CLOCK, PERCENT)}
                served(server.utils, WRONG, version="4.0.0.1")
                build_program(server.utils, "CorvelA.exe", company="Corvel Software", version=(5, 0, 0, 0))
                with running_program("D:\\Running\\Sample.exe", None), Kestrel(proxy=server.proxy) as app:
                    app.wait_ready()
                    app.click("&Start")
                    app.wait_for(lambda s: s["status"][0] == "Ready to update", 300, "the scan")
                    # The driver reads buttons, list and panes one after another: look
                    # again once the scan has ended.
                    state = app.state()
                    listed = sorted(list(copies) + list(refused), key=str.lower)
                    self.assertEqual(state["list"], listed)
                    self.assertEqual(state["status"][1], "9 files")
                    buttons = {b["label"]: b["enabled"] for b in state["buttons"]}
                    self.assertEqual((buttons["&Start"], buttons["&Update"]), (False, True))

                    # Start is disabled now: its accelerator does nothing.
                    app.key("alt+s")
                    self.assertEqual(app.state()["list"], listed)

                    # Held open only now: the scan could not have read its version.
                    with file_holder("D:\\Locked\\Sample.exe"):
                        app.key("alt+u")
                        boxes, state = answer_boxes_until(app, lambda s: s["status"][0] == "Done", "the update")
                    self.assertEqual(boxes, [
                        (CANT_REPLACE + IN_USE, "D:\\Locked\\Sample.exe"),
                        (CANT_REPLACE + READ_ONLY, "D:\\ReadOnly\\Sample.exe"),
                        (CANT_REPLACE + IN_USE, "D:\\Running\\Sample.exe"),
                        # Found on the copy beside it, before it is moved in.
                        ("The downloaded file is not the expected program.",
                         "http://updates.corvel.example/Utils/Wrong.exe"),
                        (CANT_REPLACE, "D:\\Wrong\\Wrong.exe"),
                    ])
                    self.assertEqual(state["list"], [])
                    self.assertEqual(state["status"], ["Done", "9 files"])
                    self.assertFalse(any(b["enabled"] for b in state["buttons"]
                                         if b["label"] in ("&Start", "&Update")))
                    requests = [r for r in server.requests() if "/Utils/" in r]
                    self.assertEqual(sorted(r.split()[1].rsplit("/", 1)[1] for r in requests),
                                     sorted(["Kestrel.ini", "Sample.exe", "Other%20Tool.exe", "Corvel%20Clock.exe",
                                             "Wrong.exe", "Corvel%2541.exe"]))
                    app.close()
                    self.assertEqual(app.wait_exit(), 0)
            # A run with no command line writes no log.
            self.assertEqual(list(drive_c().glob("users/*/AppData/Local/Corvel")), [])

            stamps = {entry[0].lower(): stamped_time(entry[1], entry[2]) for entry in (SAMPLE, OTHER, CLOCK, PERCENT)}
            for windows_path, path in copies.items():
                with self.subTest(replaced=windows_path):
                    if path.name == "Wrong.exe":
                        self.assertTrue(before.unchanged(path))
                        continue
                    source = next(v for k, v in new.items() if k.lower() == path.name.lower())
                    self.assertEqual(path.read_bytes(), source)
                    self.assertEqual(int(path.stat().st_mtime), stamps[path.name.lower()])
            for windows_path, path in refused.items():
                with self.subTest(refused=windows_path):
                    self.assertTrue(before.unchanged(path))
            self.assertTrue(before.unchanged(current))
            self.assertTrue(before.unchanged(stranger))
            for folder in ("Apps", "Clock", "Locked", "ReadOnly", "Running", "Wrong", "Percent"):
                self.assertEqual(len(folder_names(d / folder)), 1, folder)
            leftovers = {"kestrel.ini", "sample.exe", "other tool.exe", "corvel clock.exe", "wrong.exe", "corvel%41.exe"}
            self.assertEqual([n for n in folder_names(temp_folder())
                              if n.lower() in leftovers or RUN_FOLDER.fullmatch(n)], [])


class FirstOfThreeFetchesFails(unittest.TestCase):
    def test_nothing_is_replaced_and_the_list_empties(self):
        with Drives({"d": None}) as drives:
            d = drives.path("d")
            installed = [build_program(d / "Apps", entry[0], company="Corvel Software", version=(1, 0, 0, 0))
                         for entry in (SAMPLE, OTHER, CLOCK)]
            before = Snapshot(installed)
            with maker_server(files={"Kestrel.ini": catalogue(SAMPLE, OTHER, CLOCK)}) as server, \
                    Kestrel(proxy=server.proxy) as app:
                app.wait_ready()
                boxes, state = start_and_update(app, lambda _: stop_serving(server))
                base = "http://updates.corvel.example/Utils/"
                self.assertEqual(boxes, [
                    ("SendRequest failed", base + "Sample.exe"),
                    ("Could not connect to the Internet", base + "Other Tool.exe"),
                    ("Could not connect to the Internet", base + "Corvel Clock.exe"),
                    ("Can't replace this file", "D:\\Apps\\Corvel Clock.exe"),
                    ("Can't replace this file", "D:\\Apps\\Other Tool.exe"),
                    ("Can't replace this file", "D:\\Apps\\Sample.exe"),
                ])
                self.assertEqual(state["list"], [])
                self.assertEqual(state["status"], ["Done", "3 files"])
                app.close()
                self.assertEqual(app.wait_exit(), 0)
            for path in installed:
                self.assertTrue(before.unchanged(path), path)


class ClosingDuringTheUpdate(unittest.TestCase):
    def test_ends_quietly_copies_nothing_and_removes_its_downloads(self):
        with Drives({"d": None}) as drives:
            d = drives.path("d")
            installed = [build_program(d / "Apps", "Sample.exe", company="Corvel Software", version=(1, 0, 0, 0)),
                         build_program(d / "Apps", "Other Tool.exe", company="Corvel Software",
                                       version=(1, 0, 0, 0))]
            before = Snapshot(installed)
            with maker_server(files={"Kestrel.ini": catalogue(SAMPLE, OTHER)},
                              behaviour={"Other Tool.exe": {"trickle": 20000}}) as server:
                served(server.utils, SAMPLE)
                build_program(server.utils, "Other Tool.exe", company="Corvel Software",
                              version=version_tuple(OTHER[3]), padding=400000)
                with Kestrel(proxy=server.proxy) as app:
                    app.wait_ready()
                    app.click("&Start")
                    app.wait_for(lambda s: s["status"][0] == "Ready to update", 300, "the scan")
                    app.click("&Update")
                    def partial_exists(_state):
                        return any(p.stat().st_size > 0 for p in temp_folder().glob("K*/Other Tool.exe"))
                    app.wait_for(partial_exists, 120, "the second download to begin")
                    app.close()
                    self.assertEqual(app.wait_exit(), 0)
            for path in installed:
                self.assertTrue(before.unchanged(path), path)
            names = {n.lower() for n in folder_names(temp_folder())}
            self.assertEqual(names & {"kestrel.ini", "sample.exe", "other tool.exe"}, set())
            self.assertEqual([n for n in names if RUN_FOLDER.fullmatch(n)], [])


class TamperingWithTheDownload(unittest.TestCase):
    def test_the_held_download_cannot_be_changed_and_every_copy_is_the_served_file(self):
        with Drives({"d": None}) as drives:
            d = drives.path("d")
            installed = [build_program(d / folder, "Sample.exe", company="Corvel Software", version=(1, 0, 0, 0))
                         for folder in ("Apps", "Backup")]
            # Slow enough that the other program meets the file while it arrives.
            with maker_server(files={"Kestrel.ini": catalogue(SAMPLE)},
                              behaviour={"Sample.exe": {"trickle": 200000}}) as server:
                new = build_program(server.utils, "Sample.exe", company="Corvel Software",
                                    version=version_tuple(SAMPLE[3]), padding=600000).read_bytes()
                temp = f"C:\\users\\{getpass.getuser()}\\Temp"
                with tamperer(temp, "tamper.log"), Kestrel(proxy=server.proxy) as app:
                    app.wait_ready()
                    boxes, _ = start_and_update(app)
                    self.assertEqual(boxes, [])
                    seen, successes = read_tamper_log(drive_c() / "kestrel" / "tamper.log")
                    app.close()
                    self.assertEqual(app.wait_exit(), 0)
            self.assertGreater(seen, 0, "the other program never found the download")
            self.assertEqual(successes, 0)
            for path in installed:
                self.assertEqual(path.read_bytes(), new, path)


class SizeBound(unittest.TestCase):
    def test_a_program_sent_without_end_or_of_another_size_is_refused_and_leaves_nothing(self):
        """Two runs over one copy: the server sends the program without end,
        then whole but one byte shorter than the catalogue's size line."""
        with Drives({"d": None}) as drives:
            installed = build_program(drives.path("d") / "Apps", "Sample.exe", company="Corvel Software",
                                      version=(1, 0, 0, 0))
            before = Snapshot([installed])
            with maker_server() as server:
                size = len(served(server.utils, SAMPLE).read_bytes())
                for behaviour, catalogue_size in (({"Sample.exe": {"endless": True}}, size), ({}, size + 1)):
                    server.behave(behaviour)
                    server.put("Kestrel.ini", catalogue(SAMPLE) + sizes_section({"Sample.exe": catalogue_size}))
                    with self.subTest(behaviour=behaviour), Kestrel(proxy=server.proxy) as app:
                        app.wait_ready()
                        boxes, _ = start_and_update(app)
                        self.assertEqual(boxes, [("The downloaded file is not the expected program.",
                                                  "http://updates.corvel.example/Utils/Sample.exe"),
                                                 (CANT_REPLACE, "D:\\Apps\\Sample.exe")])
                        app.close()
                        self.assertEqual(app.wait_exit(), 0)
                    self.assertTrue(before.unchanged(installed))
                    self.assertEqual([p for p in temp_folder().rglob("*")
                                      if p.suffix.lower() == ".exe" or RUN_FOLDER.fullmatch(p.name)], [])


def read_tamper_log(log):
    """(files seen, successes) from the tamperer's log, which it rewrites all the time."""
    deadline = time.monotonic() + 10
    while True:
        fields = log.read_text().split() if log.exists() else []
        if len(fields) == 2:
            return int(fields[0]), int(fields[1])
        if time.monotonic() > deadline:
            raise AssertionError(f"unreadable {log}")
        time.sleep(0.05)


class FoldersNamedInAnyLanguage(unittest.TestCase):
    """Kestrel runs in UTF-8, so folders named in Cyrillic, Polish and Japanese
    are entered by their names and their copies listed and replaced by them.
    In code page 932 the second byte of "ソ" and of "表" is a backslash's."""

    def test_copies_are_listed_by_their_real_paths_and_replaced(self):
        with Drives({"d": None}) as drives:
            d = drives.path("d")
            folders = [("Дмитрий",), ("Łódź", "Tools"), ("ソフト", "表示")]
            copies = [build_program(d.joinpath(*folder), "Sample.exe", company="Corvel Software",
                                    version=(1, 2, 0, 4 + i)) for i, folder in enumerate(folders)]
            # A sibling after the Japanese folder is still searched.
            copies.append(build_program(d / "ソフト2", "Sample.exe", company="Corvel Software", version=(1, 0, 0, 0)))
            with maker_server(files={"Kestrel.ini": catalogue(SAMPLE)}) as server:
                new = served(server.utils, SAMPLE).read_bytes()
                with Kestrel(proxy=server.proxy) as app:
                    app.wait_ready()
                    app.click("&Start")
                    app.wait_for(lambda s: s["status"][0] in ("Ready to update", "Nothing to update."), 300,
                                 "the scan")
                    self.assertEqual(sorted(app.state()["list"]),
                                     sorted("D:\\" + "\\".join(folder) + "\\Sample.exe"
                                            for folder in folders + [("ソフト2",)]))
                    app.click("&Update")
                    boxes, state = answer_boxes_until(app, lambda s: s["status"][0] == "Done", "the update")
                    self.assertEqual(boxes, [])
                    self.assertEqual(state["list"], [])
                    app.close()
                    self.assertEqual(app.wait_exit(), 0)
            for path in copies:
                self.assertEqual(path.read_bytes(), new, path)
                self.assertEqual(folder_names(path.parent), ["Sample.exe"], path)


if __name__ == "__main__":
    unittest.main()
