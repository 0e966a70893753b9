"""End-to-end: a Kestrel built for https://localhost:PORT/Utils/ (a variant
built here for the port the TLS server got) fetches, without a proxy, only
from a server whose certificate the prefix trusts (a test authority,
tls_authority.py, added by KestrelTrustRoot.exe), is valid today and names
the host; Wine checks DNS names only, hence "localhost".

An expired certificate, one for another host and one from an authority
nobody trusts are refused at the catalogue, an untrusted one at the program
(nothing replaced); a second launch with the trusted one replaces the copy.
Every request carries "Pragma: no-cache"."""

import os
import pathlib
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from kestrel_harness import BUILD_DIR, Drives, Kestrel, _install, _wine_env, build_program, maker_server  # noqa: E402
from e2e_support import SAMPLE, Snapshot, catalogue, scan_expecting_boxes, start_and_update  # noqa: E402
from catalogue_signing import _CARRIED, _cache  # noqa: E402
from tls_authority import HOST, Authority  # noqa: E402

VARIANT = BUILD_DIR / "https-variant"
TRUST_ROOT_EXE = BUILD_DIR / "bin" / "KestrelTrustRoot.exe"
INSECURE = "The secure connection to the server failed."
NO_CATALOGUE = ("Failed to retrieve version information", "Kestrel")


def make_https_variant(port):
    """Kestrel.exe built for https://localhost:port/Utils/ from the sources, with
    the build's toolchain and settings (an unsigned catalogue, on purpose)."""
    cache = _cache(BUILD_DIR)
    settings = [f"-D{name}={cache[name]}" for name in _CARRIED
                if cache.get(name) and name != "KESTREL_UPDATE_FOLDER_URL"]
    subprocess.run(["cmake", "-S", cache["CMAKE_HOME_DIRECTORY"], "-B", str(VARIANT),
                    "-G", cache.get("CMAKE_GENERATOR", "Ninja"), *settings,
                    f"-DKESTREL_UPDATE_FOLDER_URL=https://{HOST}:{port}/Utils/",
                    "-DKESTREL_ALLOW_UNSIGNED_CATALOGUE=ON"], check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", str(VARIANT), "--target", "Kestrel", "-j2"], check=True,
                   stdout=subprocess.DEVNULL)
    return VARIANT / "bin" / "Kestrel.exe"


def trust(authority, drives, letter):
    """Adds the authority to the trusted roots of the prefix's user, through a
    file on the given drive."""
    (drives.path(letter) / "authority.der").write_bytes(authority.der())
    program = _install(TRUST_ROOT_EXE)
    with tempfile.TemporaryFile() as out:  # Wine's helpers would hold a pipe open
        result = subprocess.run(["timeout", "120", "wine", program, drives.windows(letter, "authority.der")],
                                env=_wine_env(), stdout=out, stderr=subprocess.STDOUT)
        out.seek(0)
        assert result.returncode == 0, out.read().decode(errors="replace")


class Https(unittest.TestCase):
    def test_only_a_trusted_certificate_for_the_host_serves_the_update(self):
        trusted, stranger = Authority("Kestrel test authority"), Authority("Unknown authority")
        with tempfile.TemporaryDirectory(prefix="tls-") as keys, Drives({"d": None, "k": None}) as drives:
            good = trusted.issue(keys, "good")
            refused = [("expired", trusted.issue(keys, "expired", valid_days=(-10, -2))),
                       ("another host", trusted.issue(keys, "other", host="other.example")),
                       ("untrusted authority", stranger.issue(keys, "stranger"))]
            copy = build_program(drives.path("d") / "Apps", "Sample.exe", company="Corvel Software",
                                 version=(1, 2, 0, 6))
            before = Snapshot([copy])

            with maker_server(certificate=good) as server:
                program = make_https_variant(server.port)
                trust(trusted, drives, "k")
                new_sample = build_program(server.utils, "Sample.exe", company="Corvel Software",
                                           version=(1, 2, 0, 7)).read_bytes()
                server.put("Kestrel.ini", catalogue(SAMPLE))
                base = f"https://{HOST}:{server.port}/Utils/"

                with Kestrel(executable=program, install_folder="kestrel-https", timeout=900) as app:
                    app.wait_ready()
                    for what, certificate in refused:
                        with self.subTest(what):
                            server.use_certificate(*certificate)
                            boxes, state = scan_expecting_boxes(app, 2)
                            self.assertEqual(boxes, [(INSECURE, base + "Kestrel.ini"), NO_CATALOGUE])
                            self.assertEqual(state["list"], [])
                    self.assertEqual(server.requests(), [])

                    server.use_certificate(*good)
                    def after_scan(state):
                        self.assertEqual(state["list"], ["D:\\Apps\\Sample.exe"])
                        server.use_certificate(*refused[2][1])
                    boxes, _ = start_and_update(app, after_scan, "the refused update")
                    self.assertEqual(boxes, [(INSECURE, base + "Sample.exe"),
                                             ("Can't replace this file", "D:\\Apps\\Sample.exe")])
                    self.assertTrue(before.unchanged(copy))

                    app.close()
                    self.assertEqual(app.wait_exit(), 0)

                # After an Update only a new launch starts again.
                server.use_certificate(*good)
                with Kestrel(executable=program, install_folder="kestrel-https") as app:
                    app.wait_ready()
                    boxes, _ = start_and_update(app)
                    self.assertEqual(boxes, [])
                    app.close()
                    self.assertEqual(app.wait_exit(), 0)

                self.assertEqual(copy.read_bytes(), new_sample)
                requests = server.request_headers()
                self.assertEqual([line for line, _ in requests],
                                 ["GET /Utils/Kestrel.ini HTTP/1.0", "GET /Utils/Kestrel.ini HTTP/1.0",
                                  "GET /Utils/Sample.exe HTTP/1.0"])
                for line, headers in requests:
                    self.assertIn(("Pragma", "no-cache"), headers, line)


if __name__ == "__main__":
    unittest.main()
