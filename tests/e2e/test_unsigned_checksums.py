"""End-to-end: the build's own Kestrel.exe, built without a key, reads
catalogues as before, signature section and all, but still holds an expiry
date and a well-formed checksum where the catalogue gives them."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from kestrel_harness import Drives, Kestrel, build_program, maker_server  # noqa: E402
from e2e_support import (CATALOGUE_URL, SAMPLE, Snapshot, catalogue, scan_expecting_boxes,  # noqa: E402
                         start_and_update, version_tuple)
from catalogue_signing import checksum, expires_section, hashes_section  # noqa: E402

OTHER = ("Other Tool.exe", "1-5-04", "9:05:00 AM", "2.0.0.1")
CLOCK = ("Corvel Clock.exe", "7/1/05", "11:00:00 AM", "3.1.0.0")
EXPIRED = "The catalogue has expired."
BASE = CATALOGUE_URL.rsplit("/", 1)[0] + "/"


class UnsignedBuild(unittest.TestCase):
    def test_expiry_and_checksums_hold_and_a_signature_section_is_ignored(self):
        with Drives({"d": None}) as drives:
            d = drives.path("d")
            installed = {entry[0]: build_program(d / "Apps", entry[0], company="Corvel Software",
                                                 version=(1, 0, 0, 0)) for entry in (SAMPLE, OTHER, CLOCK)}
            before = Snapshot(installed.values())
            with maker_server() as server:
                new = {entry[0]: build_program(server.utils, entry[0], company="Corvel Software",
                                               version=version_tuple(entry[3])).read_bytes()
                       for entry in (SAMPLE, OTHER, CLOCK)}
                sums = {"Sample.exe": checksum(new["Sample.exe"]),
                        "Other Tool.exe": checksum(b"another build"),
                        # A malformed line counts as none.
                        "Corvel Clock.exe": checksum(b"another build").upper()}
                # Clock's entry follows the signature section: read as before.
                text = (catalogue(SAMPLE, OTHER) + hashes_section(sums) + expires_section(1)
                        + "[Signature]\r\nnot a signature\r\n[U]\r\n"
                        + "{}|0|{}|{}|-|{}\r\n".format(*CLOCK))

                with Kestrel(proxy=server.proxy) as app:
                    app.wait_ready()
                    for what, expiry in (("expired yesterday", expires_section(-1)),
                                         ("a date that does not parse", "[Expires]\r\n12/8/2027\r\n")):
                        with self.subTest(what):
                            server.put("Kestrel.ini", catalogue(SAMPLE) + expiry)
                            boxes, state = scan_expecting_boxes(app, 1)
                            self.assertEqual(boxes, [(EXPIRED, CATALOGUE_URL)])
                            self.assertEqual(state["list"], [])

                    server.put("Kestrel.ini", text)
                    boxes, _ = start_and_update(app, lambda state: self.assertEqual(state["list"], [
                        "D:\\Apps\\Corvel Clock.exe", "D:\\Apps\\Other Tool.exe", "D:\\Apps\\Sample.exe"]))
                    self.assertEqual(boxes, [("The downloaded file is not the expected program.",
                                              BASE + "Other Tool.exe"),
                                             ("Can't replace this file", "D:\\Apps\\Other Tool.exe")])
                    app.close()
                    self.assertEqual(app.wait_exit(), 0)

            self.assertEqual(installed["Sample.exe"].read_bytes(), new["Sample.exe"])
            self.assertEqual(installed["Corvel Clock.exe"].read_bytes(), new["Corvel Clock.exe"])
            self.assertTrue(before.unchanged(installed["Other Tool.exe"]))


if __name__ == "__main__":
    unittest.main()
