"""End-to-end: a Kestrel built with the maker's key keeps the issue time of
the newest catalogue it has used (HKEY_CURRENT_USER\\Software\\Corvel\\Kestrel,
value CatalogueIssued, and elevated, as under Wine, the same under
HKEY_LOCAL_MACHINE) and refuses an older signed catalogue served again,
before it searches any drive."""

import datetime
import os
import pathlib
import re
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from kestrel_harness import KEPT_MACHINE_KEY, KEPT_STATE_KEY, Drives, Kestrel, _wine_env, maker_server  # noqa: E402
from e2e_support import CATALOGUE_URL, buttons, catalogue, scan_expecting_boxes  # noqa: E402
from catalogue_signing import (KEY_FILE, checksum, expires_section, hashes_section, issued_section,  # noqa: E402
                               load_key, sign, sizes_section)

VARIANT = pathlib.Path(os.environ.get("KESTREL_SIGNED_VARIANT", "build/win/signed-variant"))
SIGNED_KESTREL = VARIANT / "bin" / "Kestrel.exe"

ABSENT = ("Absent.exe", "1/1/20", "1:00:00 PM", "1.0.0.0")
OLDER = "The catalogue is older than one Kestrel has already used."
NEEDS_UPDATE = "Your version of Kestrel needs to be updated.\nGo to the Internet and get the latest version."


def reg(*args):
    return subprocess.run(["timeout", "60", "wine", "reg", *args], env=_wine_env(), capture_output=True,
                          stdin=subprocess.DEVNULL, text=True, errors="replace")


def kept_time():
    """The kept value's text, or None when there is none."""
    found = re.search(r"CatalogueIssued\s+REG_SZ\s+(\S*)", reg("query", KEPT_STATE_KEY, "/v", "CatalogueIssued").stdout)
    return found.group(1) if found else None


def when(hours_ago):
    moment = datetime.datetime.now(datetime.timezone.utc) - datetime.timedelta(hours=hours_ago)
    return moment.strftime("%Y-%m-%dT%H:%M:%SZ")


class ReplayedCatalogue(unittest.TestCase):
    def test_an_older_catalogue_than_one_used_is_refused(self):
        key = load_key(VARIANT / KEY_FILE)

        def signed(issued, token=True, expires=expires_section(1)):
            # Lists a program that is on no drive, so an accepted scan ends
            # with "Nothing to update." and Start stays enabled.
            return sign(key, catalogue(ABSENT, token=token) + hashes_section({"Absent.exe": checksum(b"absent")})
                        + sizes_section({"Absent.exe": 6}) + issued_section(issued) + expires)

        newer, older = when(1), when(25)
        with Drives({"d": None}), maker_server() as server:
            with Kestrel(proxy=server.proxy, executable=SIGNED_KESTREL, install_folder="kestrel-signed") as app:
                app.wait_ready()

                def scan(data, boxes):
                    server.put("Kestrel.ini", data)
                    if boxes:
                        seen, state = scan_expecting_boxes(app, len(boxes))
                        self.assertEqual(seen, boxes)
                        # The list is emptied at Start; a search would end with its outcome there.
                        self.assertEqual(state["list"], [])
                        return
                    # The list is emptied before the catalogue is asked for,
                    # so once it is asked for, the outcome is this scan's.
                    asked = len(server.requests())
                    app.click("&Start")
                    app.wait_for(lambda s: len(server.requests()) > asked and s["list"] == ["Nothing to update."]
                                 and buttons(s)["&Start"], 300, "the scan")

                with self.subTest("a newer catalogue that fails its token check changes nothing"):
                    scan(signed(newer, token=False), [(NEEDS_UPDATE, "Kestrel")])
                    self.assertIsNone(kept_time())
                with self.subTest("a catalogue that passes every check is kept, and accepted again"):
                    scan(signed(newer), [])
                    self.assertEqual(kept_time(), newer)
                    scan(signed(newer), [])
                with self.subTest("an older one is refused before any drive is searched"):
                    scan(signed(older), [(OLDER, CATALOGUE_URL)])
                    self.assertEqual(kept_time(), newer)
                with self.subTest("the machine's time, kept by an elevated run, refuses it without the user's"):
                    reg("delete", KEPT_STATE_KEY, "/v", "CatalogueIssued", "/f")
                    scan(signed(older), [(OLDER, CATALOGUE_URL)])
                with self.subTest("a damaged kept value counts as none"):
                    for kept in (KEPT_STATE_KEY, KEPT_MACHINE_KEY):
                        reg("add", kept, "/v", "CatalogueIssued", "/t", "REG_SZ", "/d", newer[:-1], "/f")
                    scan(signed(older), [])
                    self.assertEqual(kept_time(), older)
                with self.subTest("one issued in 2049 is accepted but not kept: one issued now passes after it"):
                    scan(signed("2049-06-01T00:00:00Z", expires="[Expires]\r\n12/31/49\r\n"), [])
                    self.assertEqual(kept_time(), older)
                    scan(signed(newer), [])
                app.close()
                self.assertEqual(app.wait_exit(), 0)


if __name__ == "__main__":
    unittest.main()
