"""End-to-end: the administrator's mirror (the machine policy UpdateFolder)
on the signed Kestrel: used when valid, checked as the maker's own server,
refused when it is no valid address, and set by no user."""

import os
import pathlib
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from kestrel_harness import Drives, build_program, drive_c, maker_server, _wine_env  # noqa: E402
from e2e_support import SAMPLE, Snapshot, catalogue  # noqa: E402
from catalogue_signing import (KEY_FILE, checksum, expires_section, hashes_section, issued_section,  # noqa: E402
                               load_key, sign, sizes_section)
from test_unattended import events, run  # noqa: E402

VARIANT = pathlib.Path(os.environ.get("KESTREL_SIGNED_VARIANT", "build/win/signed-variant"))
SIGNED = {"executable": VARIANT / "bin" / "Kestrel.exe", "install_folder": "kestrel-signed"}
INVALID = "message: The update folder set by your administrator is not a valid address. (Kestrel)"


def set_policy(root, value):
    subprocess.run(["timeout", "60", "wine", "reg", "add", root + "\\Software\\Policies\\Corvel\\Kestrel", "/v",
                    "UpdateFolder", "/d", value, "/f"], env=_wine_env(), check=True, capture_output=True)


class Mirror(unittest.TestCase):
    def test_mirror_used_checked_and_refused_when_invalid(self):
        log = drive_c() / "mirror.log"
        args = ["/update", "/log", "C:\\mirror.log"]
        with Drives({"d": None}) as drives, maker_server() as maker, maker_server() as mirror:
            copy = build_program(drives.path("d") / "Apps", "Sample.exe", company="Corvel Software",
                                 version=(1, 2, 0, 6))
            new = build_program(maker.utils, "Sample.exe", company="Corvel Software", version=(1, 2, 0, 7))
            signed = sign(load_key(VARIANT / KEY_FILE),
                          catalogue(SAMPLE) + hashes_section({"Sample.exe": checksum(new)})
                          + sizes_section({"Sample.exe": new.stat().st_size}) + issued_section()
                          + expires_section(1))
            maker.put("Kestrel.ini", signed)
            mirror.put("Kestrel.ini", signed)
            # The mirror's program is the right name and version, not the maker's bytes.
            build_program(mirror.utils, "Sample.exe", company="Corvel Software", version=(1, 2, 0, 7), padding=16)
            before = Snapshot([copy])

            # A user's own policy key is not looked at: the maker's server is used.
            set_policy("HKCU", f"http://127.0.0.1:{mirror.port}/Utils/")
            self.assertEqual(run(["/check", "/log", "C:\\mirror.log"], maker.proxy, **SIGNED)[0], 10)
            self.assertEqual(mirror.requests(), [])

            for value in ("ftp://127.0.0.1/Utils/", f"http://127.0.0.1:{mirror.port}/Utils",
                          f"http://127.0.0.1:{mirror.port}/Utils/" + "x" * 20 + "/"):
                set_policy("HKLM", value)
                self.assertEqual(run(args, maker.proxy, **SIGNED)[0], 2, value)
                self.assertEqual(events(log)[-2:], [INVALID, "run ended, exit code 2"], value)
            self.assertEqual(mirror.requests(), [])

            # Without a proxy the maker's server cannot be reached: all comes from the mirror.
            set_policy("HKLM", f"http://127.0.0.1:{mirror.port}/Utils/")
            self.assertEqual(run(args, **SIGNED)[0], 1)
            self.assertIn("message: The downloaded file is not the expected program. "
                          f"(http://127.0.0.1:{mirror.port}/Utils/Sample.exe)", events(log))
            self.assertTrue(before.unchanged(copy))

            mirror.put("Sample.exe", new.read_bytes())
            self.assertEqual(run(args, **SIGNED)[0], 0)
            self.assertEqual(copy.read_bytes(), new.read_bytes())
            self.assertRegex(events(log)[-4], rf"^catalogue used: http://127\.0\.0\.1:{mirror.port}/Utils/"
                                              r"Kestrel\.ini, issued \d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ, 1 programs$")
            self.assertEqual(sum("Sample.exe" in request for request in mirror.requests()), 2)


if __name__ == "__main__":
    unittest.main()
