"""End-to-end: a Kestrel built with the maker's two keys (made at test time,
tests/e2e/catalogue_signing.py) accepts only catalogues signed with either, by
an independent implementation of ECDSA, and installs only files whose checksum
the signed catalogue gives.

One launch walks through the refusals, since each leaves Start enabled and
searches nothing, then an LF catalogue signed with the second key that finds
nothing to update, then a CR LF catalogue signed with the first key whose
update replaces one program and refuses another whose served file differs from
its checksum."""

import os
import pathlib
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from kestrel_harness import Drives, Kestrel, build_program, maker_server, temp_folder  # noqa: E402
from e2e_support import (CATALOGUE_URL, SAMPLE, Snapshot, buttons, catalogue, folder_names,  # noqa: E402
                         scan_expecting_boxes, start_and_update, version_tuple)
from catalogue_signing import (KEY_FILE, NEXT_KEY_FILE, checksum, expires_section, hashes_section,  # noqa: E402
                               issued_section, load_key, new_key, sign, sizes_section)

VARIANT = pathlib.Path(os.environ.get("KESTREL_SIGNED_VARIANT", "build/win/signed-variant"))
SIGNED_KESTREL = VARIANT / "bin" / "Kestrel.exe"

OTHER = ("Other Tool.exe", "1-5-04", "9:05:00 AM", "2.0.0.1")
ABSENT = ("Absent.exe", "1/1/20", "1:00:00 PM", "1.0.0.0")

NOT_SIGNED = "The catalogue is not signed by the maker."
NO_CHECKSUM = "The catalogue has no checksum for this program."
NO_SIZE = "The catalogue has no size for this program."
NOT_PROMISED = "The downloaded file is not the expected program."
BASE = CATALOGUE_URL.rsplit("/", 1)[0] + "/"


def served(folder, entry):
    return build_program(folder, entry[0], company="Corvel Software", version=version_tuple(entry[3]))


class SignedCatalogue(unittest.TestCase):
    def test_only_what_the_maker_signed_is_installed(self):
        key = load_key(VARIANT / KEY_FILE)
        with Drives({"d": None}) as drives:
            d = drives.path("d")
            samples = [build_program(d / folder, "Sample.exe", company="Corvel Software", version=(1, 2, 0, 6))
                       for folder in ("Apps", "Backup")]
            others = [build_program(d / folder, "Other Tool.exe", company="Corvel Software", version=(2, 0, 0, 0))
                      for folder in ("Apps", "Backup")]
            before = Snapshot([*samples, *others])

            with maker_server() as server:
                new_sample = served(server.utils, SAMPLE).read_bytes()
                # The right program and version, but not the file the maker hashed.
                other_size = served(server.utils, OTHER).stat().st_size
                sums = {"Sample.exe": checksum(new_sample), "Other Tool.exe": checksum(b"the maker's own build")}
                entries = catalogue(SAMPLE, OTHER)
                # One issue time for every catalogue of the test, so none is older than another.
                issued = issued_section()
                sizes = sizes_section({"Sample.exe": len(new_sample), "Other Tool.exe": other_size}) + issued
                body = entries + hashes_section(sums) + sizes + expires_section(1)
                signed = sign(key, body)
                refusals = [
                    ("no signature section", body.encode(), NOT_SIGNED, CATALOGUE_URL),
                    ("one byte of an entry changed", signed.replace(b"|1.2.0.7", b"|1.2.0.8"), NOT_SIGNED,
                     CATALOGUE_URL),
                    ("an entry appended after the signature",
                     signed + b"[U]\r\nAbsent.exe|0|1/1/20|1:00:00 PM|-|1.0.0.0\r\n", NOT_SIGNED, CATALOGUE_URL),
                    ("signed by a third key", sign(new_key(), body), NOT_SIGNED, CATALOGUE_URL),
                    ("no expiry section", sign(key, entries + hashes_section(sums) + sizes), NOT_SIGNED,
                     CATALOGUE_URL),
                    ("no issue time", sign(key, body.replace("[Issued]", "[Issue]")), NOT_SIGNED, CATALOGUE_URL),
                    ("an issue time without its Z", sign(key, body.replace("Z\r\n[Expires]", "\r\n[Expires]")),
                     NOT_SIGNED, CATALOGUE_URL),
                    ("issued after its expiry day",
                     sign(key, entries + hashes_section(sums) + sizes + expires_section(-1)), NOT_SIGNED,
                     CATALOGUE_URL),
                    ("an entry without a checksum",
                     sign(key, entries + hashes_section({"Sample.exe": sums["Sample.exe"]}) + sizes
                          + expires_section(1)), NO_CHECKSUM, "Other Tool.exe"),
                    ("a checksum in capitals",
                     sign(key, entries + hashes_section({**sums, "Sample.exe": sums["Sample.exe"].upper()}) + sizes
                          + expires_section(1)), NO_CHECKSUM, "Sample.exe"),
                    # Sizes are checked after every checksum; a size is decimal digits alone.
                    ("an entry without a size",
                     sign(key, entries + hashes_section(sums) + sizes_section({"Sample.exe": len(new_sample)})
                          + issued + expires_section(1)), NO_SIZE, "Other Tool.exe"),
                    ("a size with a sign",
                     sign(key, entries + hashes_section(sums) + sizes_section({"Sample.exe": f"+{len(new_sample)}",
                                                                              "Other Tool.exe": other_size})
                          + issued + expires_section(1)), NO_SIZE, "Sample.exe"),
                ]
                lf = sign(load_key(VARIANT / NEXT_KEY_FILE), catalogue(ABSENT).replace("\r\n", "\n")
                          + hashes_section({"Absent.exe": checksum(b"absent")}, "\n")
                          + sizes_section({"Absent.exe": 6}, "\n") + issued.replace("\r\n", "\n")
                          + expires_section(1, "\n"), newline="\n")

                with Kestrel(proxy=server.proxy, executable=SIGNED_KESTREL, install_folder="kestrel-signed") as app:
                    app.wait_ready()
                    for what, data, text, caption in refusals:
                        with self.subTest(what):
                            server.put("Kestrel.ini", data)
                            boxes, state = scan_expecting_boxes(app, 1)
                            self.assertEqual(boxes, [(text, caption)])
                            self.assertEqual(state["list"], [])
                            # Pane 0 would show the folders of a search.
                            self.assertEqual(state["status"], ["", ""])
                            self.assertFalse(buttons(state)["&Update"])

                    server.put("Kestrel.ini", lf)
                    app.click("&Start")
                    app.wait_for(lambda s: s["status"][0] == "Nothing to update.", 300, "the LF catalogue's scan")

                    server.put("Kestrel.ini", signed)
                    boxes, state = start_and_update(app, lambda state: self.assertEqual(state["list"], [
                        "D:\\Apps\\Other Tool.exe", "D:\\Apps\\Sample.exe",
                        "D:\\Backup\\Other Tool.exe", "D:\\Backup\\Sample.exe"]))
                    self.assertEqual(boxes, [(NOT_PROMISED, BASE + "Other Tool.exe"),
                                             ("Can't replace this file", "D:\\Apps\\Other Tool.exe"),
                                             ("Can't replace this file", "D:\\Backup\\Other Tool.exe")])
                    app.close()
                    self.assertEqual(app.wait_exit(), 0)
                fetched = [r.split()[1].rsplit("/", 1)[1] for r in server.requests() if "/Utils/" in r]
                self.assertEqual(fetched, ["Kestrel.ini"] * (len(refusals) + 2) + ["Sample.exe", "Other%20Tool.exe"])

            for path in samples:
                self.assertEqual(path.read_bytes(), new_sample, path)
            for path in others:
                self.assertTrue(before.unchanged(path), path)
            self.assertEqual([n for n in folder_names(temp_folder()) if n.lower().endswith(".exe")], [])


if __name__ == "__main__":
    unittest.main()
