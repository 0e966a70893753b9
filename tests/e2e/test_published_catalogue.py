"""End-to-end: the maker publishes with KestrelCatalogue (build --key with the
key the signed Kestrel was built with), and that Kestrel lists and replaces
the outdated copies, stamping each with the maker's own file time."""

import base64
import os
import pathlib
import shutil
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from kestrel_harness import Drives, Kestrel, build_program, maker_server  # noqa: E402
from e2e_support import Snapshot  # noqa: E402
from catalogue_signing import KEY_FILE, load_key  # noqa: E402
from maker_tool import catalogue_tool, key_bytes  # noqa: E402

VARIANT = pathlib.Path(os.environ.get("KESTREL_SIGNED_VARIANT", "build/win/signed-variant"))
SIGNED_KESTREL = VARIANT / "bin" / "Kestrel.exe"


class PublishedCatalogue(unittest.TestCase):
    def test_signed_kestrel_updates_from_the_tools_catalogue(self):
        with tempfile.TemporaryDirectory(prefix="release-") as work:
            release = pathlib.Path(work, "rel")
            new = {"Sample.exe": build_program(release, "Sample.exe", company="Corvel Software",
                                               version=(1, 2, 0, 7)),
                   "Other Tool.exe": build_program(release, "Other Tool.exe", company="Corvel Freeware",
                                                   version=(2, 0, 0, 1), padding=200)}
            # A winter and a summer time, with odd seconds and a fraction: the
            # copies must carry the release file's time to the second, whatever
            # daylight saving time does.
            for path, stamp in zip(new.values(), (1_100_000_017.75, 1_121_000_017.75)):
                os.utime(path, (stamp, stamp))
            pathlib.Path(work, "maker.key").write_text(
                base64.b64encode(key_bytes(load_key(VARIANT / KEY_FILE))).decode() + "\r\n")
            with Drives({"m": work}):
                code, out, errors = catalogue_tool("build", "M:\\rel", "--key", "M:\\maker.key")
            self.assertEqual((code, errors), (0, []), out)

            with Drives({"d": None}) as drives, maker_server() as server:
                d = drives.path("d")
                outdated = [build_program(d / "Apps", "Sample.exe", company="Corvel Software", version=(1, 2, 0, 6)),
                            build_program(d / "Apps", "Other Tool.exe", company="Corvel Software",
                                          version=(2, 0, 0, 0)),
                            build_program(d / "Old", "SAMPLE.EXE", company="CORVEL", version=(1, 0, 0, 0))]
                current = build_program(d / "Keep", "Sample.exe", company="Corvel Software", version=(1, 2, 0, 7))
                kept = Snapshot([current])
                for name in ("Kestrel.ini", *new):
                    shutil.copy2(release / name, server.utils / name)

                with Kestrel(proxy=server.proxy, executable=SIGNED_KESTREL, install_folder="kestrel-signed") as app:
                    app.wait_ready()
                    app.click("&Start")
                    state = app.wait_for(lambda s: s["status"][0] in ("Ready to update", "Nothing to update.")
                                         or s["dialogs"], timeout=300, what="the scan")
                    self.assertEqual(state["dialogs"], [])
                    self.assertEqual(state["list"], ["D:\\Apps\\Other Tool.exe", "D:\\Apps\\Sample.exe",
                                                     "D:\\Old\\SAMPLE.EXE"])
                    app.click("&Update")
                    state = app.wait_for(lambda s: s["status"][0] == "Done" or s["dialogs"], timeout=300,
                                         what="the update")
                    self.assertEqual(state["dialogs"], [])
                    app.close()
                    self.assertEqual(app.wait_exit(), 0)

                for copy in outdated:
                    source = new["Other Tool.exe" if copy.name == "Other Tool.exe" else "Sample.exe"]
                    self.assertEqual(copy.read_bytes(), source.read_bytes(), copy)
                    self.assertEqual(int(copy.stat().st_mtime), int(source.stat().st_mtime), copy)
                self.assertTrue(kept.unchanged(current))


if __name__ == "__main__":
    unittest.main()
