"""End-to-end: the maker's tool KestrelCatalogue.exe under Wine, its signatures
checked against an independent ECDSA implementation (Python cryptography)."""

import base64
import datetime
import hashlib
import os
import pathlib
import re
import sys
import unittest
import zoneinfo

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from kestrel_harness import Drives, build_program, run_driver  # noqa: E402
from maker_tool import catalogue_tool, key_bytes  # noqa: E402

from cryptography.exceptions import InvalidSignature  # noqa: E402
from cryptography.hazmat.primitives import hashes  # noqa: E402
from cryptography.hazmat.primitives.asymmetric import ec  # noqa: E402
from cryptography.hazmat.primitives.asymmetric.utils import decode_dss_signature, encode_dss_signature  # noqa: E402

NOT_CHECKED = "warning: the signature was not checked"


def reported_lines(errors, prefix):
    """The line numbers of the messages about prefix; 0 for one of no line.
    The warning of a check without a key is left out."""
    lines = []
    for message in errors:
        if NOT_CHECKED in message:
            continue
        found = re.match(re.escape(prefix) + r"(?::(\d+))?: ", message)
        assert found, f"message not about {prefix}: {message!r}"
        lines.append(int(found.group(1) or 0))
    return sorted(lines)


def private_from_key_file(path):
    raw = base64.b64decode(pathlib.Path(path).read_text().strip(), validate=True)
    assert len(raw) == 96
    return ec.derive_private_key(int.from_bytes(raw[64:], "big"), ec.SECP256R1()), raw


def public_text(private):
    return base64.b64encode(key_bytes(private)[:64]).decode()


def python_signature(private, data):
    r, s = decode_dss_signature(private.sign(data, ec.ECDSA(hashes.SHA256())))
    return base64.b64encode(r.to_bytes(32, "big") + s.to_bytes(32, "big")).decode()


def verifies(public_key_text, catalogue_bytes):
    """True when the catalogue's signature holds for every byte before its header."""
    head, _, tail = catalogue_bytes.partition(b"[Signature]\r\n")
    raw = base64.b64decode(tail.split(b"\r\n")[0], validate=True)
    xy = base64.b64decode(public_key_text)
    public = ec.EllipticCurvePublicNumbers(int.from_bytes(xy[:32], "big"), int.from_bytes(xy[32:], "big"),
                                           ec.SECP256R1()).public_key()
    signature = encode_dss_signature(int.from_bytes(raw[:32], "big"), int.from_bytes(raw[32:], "big"))
    try:
        public.verify(signature, head, ec.ECDSA(hashes.SHA256()))
        return True
    except InvalidSignature:
        return False


def date_text(day):
    return f"{day.month}/{day.day}/{day.year % 100:02d}"


TODAY = datetime.date.today()
ISSUED = datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%dT%H:%M:%SZ")
NEXT_YEAR = date_text(TODAY + datetime.timedelta(days=365))


def sha256(path):
    return hashlib.sha256(pathlib.Path(path).read_bytes()).hexdigest()


class ReleaseFolder:
    """Drive D: holding a release folder D:\\rel with two of the maker's
    programs and one of another maker's."""

    def __enter__(self):
        self.drives = Drives({"d": None}).__enter__()
        self.root = self.drives.path("d")
        self.rel = self.root / "rel"
        self.alpha = build_program(self.rel, "Alpha.exe", company="Corvel Software", version=(1, 2, 0, 7))
        self.beta = build_program(self.rel, "Beta Tool.exe", company="Corvel Freeware", version=(2, 0, 0, 1),
                                  padding=100)
        self.acme = build_program(self.root / "other", "Acme.exe", company="Acme", version=(1, 0, 0, 0))
        return self

    def __exit__(self, *exc):
        return self.drives.__exit__(*exc)

    def lines(self):
        """A good catalogue of the two programs, line 1 first."""
        return ["[L]", "&7(2?KwT", "[U]",
                "Alpha.exe|0|10/15/03|2:30:00 PM|-|1.2.0.7",
                "Beta Tool.exe|0|1-5-04|9:05:00 AM|-|2.0.0.1",
                "[Hashes]",
                f"Alpha.exe|{sha256(self.alpha)}",
                f"Beta Tool.exe|{sha256(self.beta)}",
                "[Sizes]",
                f"Alpha.exe|{self.alpha.stat().st_size}",
                f"Beta Tool.exe|{self.beta.stat().st_size}",
                "[Issued]", ISSUED,
                "[Expires]", NEXT_YEAR]

    def write(self, name, text):
        data = text.encode("cp1252") if isinstance(text, str) else text
        (self.root / name).write_bytes(data)
        return "D:\\" + name


def joined(lines):
    return "".join(line + "\r\n" for line in lines)


def replaced(lines, number, text):
    lines = list(lines)
    lines[number - 1] = text
    return lines


def inserted(lines, number, *texts):
    lines = list(lines)
    lines[number - 1:number - 1] = texts
    return lines


def signed(private, text):
    data = text.encode("cp1252")
    return data + f"[Signature]\r\n{python_signature(private, data)}\r\n".encode()


class CheckReportsEachProblemOnItsLine(unittest.TestCase):
    def test_broken_catalogues(self):
        yesterday = date_text(TODAY - datetime.timedelta(days=1))
        zeros = "0" * 64
        with ReleaseFolder() as release:
            good = release.lines()
            alpha_hash = good[6].split("|")[1]
            alpha_size = good[9].split("|")[1]
            many = ([f"P{i:03}.exe|0|1/1/05|1:00:00 AM|-|1.0.0.0" for i in range(99)],
                    [f"P{i:03}.exe|{zeros}" for i in range(98)], [f"P{i:03}.exe|1" for i in range(98)])
            cases = [
                ("wrong token", replaced(good, 2, "&7(2?KwT "), [1]),
                ("no token section", good[2:], [0]),
                # one problem for the long line, and the lines after it keep their numbers
                ("line of 200 characters", replaced(inserted(good, 3, "x" * 200), 6,
                                                     "Beta Tool.exe|0|2/30/04|9:05:00 AM|-|2.0.0.1"), [3, 6]),
                ("entry line of 150 characters",
                 replaced(good, 5, "Beta Tool.exe|0|1-5-04|9:05:00 AM|" + "n" * 116 + "|2.0.0.1"), [5]),
                ("101 entries", inserted(inserted(inserted(good, 12, *many[2]), 9, *many[1]), 6, *many[0]), [104]),
                ("bad date", replaced(good, 4, "Alpha.exe|0|13/15/03|2:30:00 PM|-|1.2.0.7"), [4]),
                ("time without marker", replaced(good, 5, "Beta Tool.exe|0|1-5-04|9:05:00|-|2.0.0.1"), [5]),
                ("name of 59 characters", replaced(replaced(replaced(
                    good, 4, "A" * 55 + ".exe|0|10/15/03|2:30:00 PM|-|1.2.0.7"), 7, "A" * 55 + ".exe|" + alpha_hash),
                    10, "A" * 55 + ".exe|" + alpha_size), [4, 4, 4, 7, 10]),
                ("name with a folder", replaced(replaced(replaced(
                    good, 4, "Sub\\Alpha.exe|0|10/15/03|2:30:00 PM|-|1.2.0.7"), 7, "Sub\\Alpha.exe|" + alpha_hash),
                    10, "Sub\\Alpha.exe|" + alpha_size), [4]),
                ("name listed twice", inserted(good, 6, "ALPHA.exe|0|10/15/03|2:30:00 PM|-|1.2.0.8"), [6]),
                # Kestrel takes it for a header: the entries after it, and
                # the checksum and size lines of both, name no program.
                ("program line read as a header", replaced(good, 4, "[Alpha].exe|0|10/15/03|2:30:00 PM|-|1.2.0.7"),
                 [4, 7, 8, 10, 11]),
                ("three-part version", replaced(good, 4, "Alpha.exe|0|10/15/03|2:30:00 PM|-|1.2.0"), [4]),
                ("version part above 65535", replaced(good, 4, "Alpha.exe|0|10/15/03|2:30:00 PM|-|1.2.0.65536"), [4]),
                ("no checksum", good[:6] + good[7:], [4]),
                ("capital hex digits", replaced(good, 7, "Alpha.exe|" + alpha_hash.upper()), [7]),
                ("checksum for no entry", inserted(good, 9, "Gamma.exe|" + zeros), [9]),
                ("no size", good[:9] + good[10:], [4]),
                ("size with a thousands separator", replaced(good, 10, "Alpha.exe|1,024"), [10]),
                ("size for no entry", inserted(good, 12, "Gamma.exe|5"), [12]),
                ("no issue time", good[:11] + good[13:], [0]),
                ("issue time with an offset", replaced(good, 13, ISSUED[:-1] + "+01:00"), [13]),
                # Issued today, after its last day: refused by Kestrel too.
                ("expired", replaced(good, 15, yesterday), [13, 15]),
                ("no expiry", good[:13], [0]),
                ("unreadable expiry", replaced(good, 15, "2/30/27"), [15]),
            ]
            for name, lines, expected in cases:
                with self.subTest(name):
                    path = release.write("cat.ini", joined(lines))
                    code, out, errors = catalogue_tool("check", path)
                    self.assertEqual(reported_lines(errors, path), expected, errors)
                    self.assertEqual(code, 1, out)

    def test_against_the_release_folder(self):
        with ReleaseFolder() as release:
            good = release.lines()
            cases = [
                ("program file missing", inserted(good, 6, "Gamma.exe|0|1/1/05|1:00:00 AM|-|1.0.0.0"), [6, 6, 6]),
                ("version differs", replaced(good, 4, "Alpha.exe|0|10/15/03|2:30:00 PM|-|1.2.0.8"), [4]),
                ("checksum differs", replaced(good, 8, "Beta Tool.exe|" + good[6].split("|")[1]), [8]),
                ("size differs", replaced(good, 11, f"Beta Tool.exe|{release.beta.stat().st_size + 1}"), [11]),
                ("another maker's program", inserted(inserted(inserted(
                    good, 12, f"Acme.exe|{release.acme.stat().st_size}"), 9, f"Acme.exe|{sha256(release.acme)}"), 6,
                    "Acme.exe|0|1/1/05|1:00:00 AM|-|1.0.0.0"), [6]),
            ]
            (release.rel / "Acme.exe").write_bytes(release.acme.read_bytes())
            for name, lines, expected in cases:
                with self.subTest(name):
                    path = release.write("cat.ini", joined(lines))
                    code, _, errors = catalogue_tool("check", path, "--folder", "D:\\rel")
                    self.assertEqual(reported_lines(errors, path), expected, errors)
                    self.assertEqual(code, 1)

    def test_signatures(self):
        maker, stranger = ec.generate_private_key(ec.SECP256R1()), ec.generate_private_key(ec.SECP256R1())
        with ReleaseFolder() as release:
            text = joined(release.lines())
            good = signed(maker, text)
            cases = [
                ("no signature", text.encode(), [0]),
                ("one byte changed", good.replace(b"1.2.0.7", b"1.2.0.8"), [17]),
                ("signed by another key", signed(stranger, text), [17]),
                ("entry after the signature", good + b"Alpha.exe|0|10/15/03|2:30:00 PM|-|1.2.0.9\r\n", [18]),
                ("signature line cut", good[:-10] + b"\r\n", [17]),
                ("a line starting with NUL after the signature", good + b"\0[U]\r\n", [18]),
            ]
            for name, data, expected in cases:
                with self.subTest(name):
                    path = release.write("cat.ini", data)
                    code, _, errors = catalogue_tool("check", path, "--key", public_text(maker))
                    self.assertEqual(reported_lines(errors, path), expected, errors)
                    self.assertEqual(code, 1)

    def test_clean_catalogues_pass(self):
        maker = ec.generate_private_key(ec.SECP256R1())
        soon = date_text(TODAY + datetime.timedelta(days=10))
        with ReleaseFolder() as release:
            good = release.lines()
            cases = [
                ("as written", joined(good).encode(), [], [0]),
                ("LF line ends, signed in Python", signed(maker, "\n".join(good) + "\n"),
                 ["--key", public_text(maker), "--folder", "D:\\rel"], []),
                ("line of exactly 127 characters", joined(inserted(good, 3, "x" * 127)).encode(), [], [0]),
                ("expires in 10 days", joined(replaced(good, 15, soon)).encode(), [], [0, 15]),
                ("second checksum line", joined(inserted(good, 9, good[6])).encode(), [], [0, 9]),
                ("a name without .exe", joined([line.replace("Tool.exe|", "Tool.com|") for line in good]).encode(),
                 [], [0, 5]),
                ("a name beyond ASCII", joined([line.replace("Beta Tool", "Béta Tool") for line in good]).encode(),
                 [], [0, 5]),
            ]
            for name, data, arguments, warned in cases:
                with self.subTest(name):
                    path = release.write("cat.ini", data)
                    code, out, errors = catalogue_tool("check", path, *arguments)
                    self.assertEqual(reported_lines(errors, path), [n for n in warned if n != 0], errors)
                    # Without a key the check says it did not check the signature.
                    self.assertEqual([e for e in errors if NOT_CHECKED in e],
                                     [f"{path}: {NOT_CHECKED}; give --key or --key-file to check it"] * (0 in warned))
                    self.assertTrue(all(": warning: " in e for e in errors), errors)
                    self.assertEqual(code, 0, errors)
                    self.assertRegex(out, r"(^|\n)2 programs, 0 problems, %d warnings?, expires \d+/\d+/\d\d\r?\n$"
                                     % len(warned) if warned else r"\n2 programs, 0 problems, expires")


class BuildWritesWhatCheckAccepts(unittest.TestCase):
    def test_refuses_each_bad_program_and_writes_nothing(self):
        long_name = "N" * 55 + ".exe"
        cases = [
            ("another maker", "Acme.exe", dict(company="Acme"), None),
            ("no version resource", "Bare.exe", dict(no_version=True), None),
            ("name of 59 characters", long_name, dict(company="Corvel Software"), None),
            ("written in 1975", "Old.exe", dict(company="Corvel Software"), datetime.datetime(1975, 6, 1, 12)),
            ("written in 2051", "Late.exe", dict(company="Corvel Software"), datetime.datetime(2051, 6, 1, 12)),
            # Kestrel would read its line as a header and lose the entries after it.
            ("name starting with a bracket", "[Beta].exe", dict(company="Corvel Software"), None),
        ]
        with Drives({"d": None}) as drives:
            for number, (name, program, options, written) in enumerate(cases):
                with self.subTest(name):
                    folder = drives.path("d") / f"rel{number}"
                    build_program(folder, "Good.exe", company="Corvel Software", version=(1, 0, 0, 0))
                    bad = build_program(folder, program, version=(1, 0, 0, 0), **options)
                    if written:
                        os.utime(bad, (written.timestamp(), written.timestamp()))
                    code, out, errors = catalogue_tool("build", f"D:\\rel{number}", "--unsigned")
                    self.assertEqual(code, 1, errors)
                    self.assertEqual(len(errors), 1, errors)
                    self.assertTrue(errors[0].startswith(f"D:\\rel{number}\\{program}: "), errors)
                    self.assertIn("nothing written", out)
                    self.assertFalse((folder / "Kestrel.ini").exists())

    def test_usage_and_file_errors(self):
        with Drives({"d": None}) as drives:
            build_program(drives.path("d") / "rel", "Alpha.exe", company="Corvel Software")
            (drives.path("d") / "key.txt").write_text("taken\n")
            one, other = (key_bytes(ec.generate_private_key(ec.SECP256R1())) for _ in range(2))
            (drives.path("d") / "mixed.key").write_text(base64.b64encode(one[:64] + other[64:]).decode())
            past = date_text(TODAY - datetime.timedelta(days=1))
            too_far = date_text(TODAY + datetime.timedelta(days=367))
            cases = [
                ((), 2),
                (("--help",), 0),
                (("sign", "D:\\rel"), 2),
                (("keygen", "D:\\key.txt"), 2),
                (("build", "D:\\missing"), 2),
                (("build", "D:\\rel"), 2),
                (("build", "D:\\rel", "--unsigned", "--key", "D:\\mixed.key"), 2),
                (("build", "D:\\rel", "--unsigned", "--unsigned"), 2),
                (("build", "D:\\rel", "--unsigned", "--expires", past), 2),
                (("build", "D:\\rel", "--unsigned", "--expires", too_far), 2),
                (("build", "D:\\rel", "--key", "D:\\key.txt"), 2),
                (("build", "D:\\rel", "--key", "D:\\mixed.key"), 2),
                (("check", "D:\\missing.ini"), 2),
                (("check", "D:\\rel\\Kestrel.ini", "--key", "short"), 2),
            ]
            for arguments, expected in cases:
                with self.subTest(arguments):
                    code, out, errors = catalogue_tool(*arguments)
                    self.assertEqual(code, expected, errors)
                    self.assertEqual(expected == 0, "Usage:" in out)
            self.assertEqual((drives.path("d") / "key.txt").read_text(), "taken\n")
            self.assertFalse((drives.path("d") / "rel" / "Kestrel.ini").exists())

    def test_signed_build_passes_check_and_verifies_in_python(self):
        with ReleaseFolder() as release:
            code, out, _ = catalogue_tool("keygen", "D:\\maker.key")
            self.assertEqual(code, 0)
            printed = re.fullmatch(r"KESTREL_CATALOGUE_KEY=([A-Za-z0-9+/]{86}==)\r?\n", out)
            self.assertTrue(printed, out)
            # Only this account may open the private key; the system may add
            # SYSTEM and Administrators, never Everyone, Users or Authenticated Users.
            access = run_driver("access-list", "D:\\maker.key")
            self.assertIn(access["user"], access["allowed"])
            self.assertLessEqual(set(access["allowed"]), {access["user"], "S-1-5-18", "S-1-5-32-544"})
            private, raw = private_from_key_file(release.root / "maker.key")
            self.assertEqual(key_bytes(private), raw)
            self.assertEqual(public_text(private), printed.group(1))

            foreign = ec.generate_private_key(ec.SECP256R1())
            (release.root / "foreign.key").write_text(base64.b64encode(key_bytes(foreign)).decode() + "\n")
            expires = date_text(TODAY + datetime.timedelta(days=90))
            for key, private in (("D:\\maker.key", private), ("D:\\foreign.key", foreign)):
                with self.subTest(key):
                    code, out, errors = catalogue_tool("build", "D:\\rel", "--key", key, "--expires", expires)
                    self.assertEqual((code, errors), (0, []))
                    used = f"key used: KESTREL_CATALOGUE_KEY={public_text(private)}"
                    self.assertEqual(out.splitlines()[0], used)
                    self.assertEqual(sorted(p.name for p in release.rel.iterdir()),
                                     ["Alpha.exe", "Beta Tool.exe", "Kestrel.ini"])
                    data = (release.rel / "Kestrel.ini").read_bytes()
                    self.assertTrue(verifies(public_text(private), data))
                    self.assertIn(f"[Expires]\r\n{expires}\r\n[Signature]\r\n".encode(), data)
                    self.assertEqual(data.count(b"\r\n"), data.count(b"\n"))
                    code, out, errors = catalogue_tool("check", "D:\\rel\\Kestrel.ini", "--folder", "D:\\rel",
                                                       "--key-file", key)
                    self.assertEqual((code, errors), (0, []))
                    self.assertEqual(out.splitlines(), [used, f"2 programs, 0 problems, expires {expires}"])

    def test_entries_carry_the_file_versions_and_local_times(self):
        with ReleaseFolder() as release:
            # 14 July 2003, 10:20:30 UTC: 12:20:30 PM in Berlin in summer, but
            # Kestrel applies today's offset whatever the date, and so must build.
            stamp = datetime.datetime(2003, 7, 14, 10, 20, 30, 900000, tzinfo=datetime.timezone.utc)
            os.utime(release.alpha, (stamp.timestamp(), stamp.timestamp()))
            # Name order ignores letter case: alpha2 comes before Beta.
            (release.rel / "alpha2.exe").write_bytes(release.alpha.read_bytes())
            os.utime(release.rel / "alpha2.exe", (stamp.timestamp(), stamp.timestamp()))
            # Found by "*.exe" through its short name ALPHA2~1.EXE, but no program.
            (release.rel / "alpha2.exe_old").write_bytes(release.alpha.read_bytes())
            code, out, errors = catalogue_tool("build", "D:\\rel", "--unsigned", "--out", "D:\\out.ini")
            self.assertEqual((code, errors), (0, []))
            lines = (release.root / "out.ini").read_text().splitlines()
            offset = datetime.datetime.now(zoneinfo.ZoneInfo(os.environ.get("TZ", "Europe/Berlin"))).utcoffset()
            local = (stamp + offset).replace(microsecond=0)
            when = f"{date_text(local)}|{local.strftime('%I:%M:%S %p').lstrip('0')}"
            self.assertEqual(lines[3:5], [f"Alpha.exe|0|{when}|-|1.2.0.7", f"alpha2.exe|0|{when}|-|1.2.0.7"])
            self.assertRegex(lines[5], r"^Beta Tool\.exe\|0\|\d+/\d+/\d\d\|\d+:\d\d:\d\d [AP]M\|-\|2\.0\.0\.1$")
            self.assertEqual(lines[6:10], ["[Hashes]", f"Alpha.exe|{sha256(release.alpha)}",
                                           f"alpha2.exe|{sha256(release.alpha)}", f"Beta Tool.exe|{sha256(release.beta)}"])
            sizes = [path.stat().st_size for path in (release.alpha, release.beta)]
            self.assertEqual(lines[10:14], ["[Sizes]", f"Alpha.exe|{sizes[0]}", f"alpha2.exe|{sizes[0]}",
                                            f"Beta Tool.exe|{sizes[1]}"])
            # Issued now, in UTC; without --expires a catalogue lasts 90 days.
            self.assertEqual(lines[14], "[Issued]")
            issued = datetime.datetime.strptime(lines[15], "%Y-%m-%dT%H:%M:%SZ").replace(tzinfo=datetime.timezone.utc)
            self.assertLess(abs(issued - datetime.datetime.now(datetime.timezone.utc)), datetime.timedelta(minutes=5))
            self.assertEqual(lines[16:], ["[Expires]", date_text(TODAY + datetime.timedelta(days=90))])

    def test_never_writes_a_catalogue_older_than_the_one_it_replaces(self):
        with ReleaseFolder() as release:
            out = release.root / "out.ini"
            newer = b"[L]\r\n&7(2?KwT\r\n[Issued]\r\n2049-01-01T00:00:00Z\r\n"
            out.write_bytes(newer)
            code, stdout, errors = catalogue_tool("build", "D:\\rel", "--unsigned", "--out", "D:\\out.ini")
            self.assertEqual((code, errors), (1, ["D:\\out.ini: the new catalogue would be older than the one it "
                                                  "replaces"]), stdout)
            self.assertEqual(out.read_bytes(), newer)
            out.write_bytes(newer.replace(b"2049", b"2001"))
            code, _, errors = catalogue_tool("build", "D:\\rel", "--unsigned", "--out", "D:\\out.ini")
            self.assertEqual((code, errors), (0, []))
            self.assertIn(f"[Issued]\r\n{datetime.datetime.now(datetime.timezone.utc):%Y}-".encode(), out.read_bytes())
            self.assertFalse((release.rel / "Kestrel.ini").exists())


if __name__ == "__main__":
    unittest.main()
