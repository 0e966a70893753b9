"""End-to-end: tools/release/sign.sh Authenticode-signs both programs with a
code-signing certificate and a time-stamp made here; the signatures verify,
and the signed Kestrel still finds and updates."""

import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import unittest

from cryptography import x509
from cryptography.x509.oid import ExtendedKeyUsageOID

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from kestrel_harness import BUILD_DIR, SOURCE_DIR, Drives, build_program, maker_server  # noqa: E402
from e2e_support import SAMPLE, catalogue  # noqa: E402
from test_unattended import run  # noqa: E402


def output(*command):
    return subprocess.run(command, check=True, capture_output=True, text=True).stdout


class CodeSigning(unittest.TestCase):
    def test_both_programs_signed_verified_and_kestrel_still_updates(self):
        with tempfile.TemporaryDirectory(prefix="signing-") as work:
            work = pathlib.Path(work)
            for name, usage in (("signer", "codeSigning"), ("tsa", "critical,timeStamping")):
                output("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-keyout",
                       work / f"{name}.key", "-out", work / f"{name}.pem", "-subj", f"/CN=Kestrel test {name}",
                       "-addext", f"extendedKeyUsage={usage}")
            programs = [shutil.copy(BUILD_DIR / "bin" / name, work / name)
                        for name in ("Kestrel.exe", "KestrelCatalogue.exe")]
            output(SOURCE_DIR / "tools/release/sign.sh", "--cert", work / "signer.pem", "--key", work / "signer.key",
                   "--tsa-certs", work / "tsa.pem", "--tsa-key", work / "tsa.key", *programs)
            for program in programs:
                self.assertIn("Timestamp Server Signature verification: ok",
                              output("osslsigncode", "verify", "-CAfile", work / "signer.pem", "-TSA-CAfile",
                                     work / "tsa.pem", "-in", program))
                # verify does not look at the usage: the signer's certificate must be for code signing.
                output("osslsigncode", "extract-signature", "-pem", "-in", program, "-out", work / f"{program}.p7")
                signer = x509.load_pem_x509_certificates(
                    output("openssl", "pkcs7", "-print_certs", "-in", work / f"{program}.p7").encode())[0]
                self.assertIn(ExtendedKeyUsageOID.CODE_SIGNING,
                              signer.extensions.get_extension_for_class(x509.ExtendedKeyUsage).value)

            with Drives({"d": None}) as drives, maker_server() as server:
                copy = build_program(drives.path("d"), "Sample.exe", company="Corvel Software", version=(1, 0, 0, 0))
                server.put("Kestrel.ini", catalogue(SAMPLE))
                new = build_program(server.utils, "Sample.exe", company="Corvel Software", version=(1, 2, 0, 7))
                self.assertEqual(run(["/update"], server.proxy, executable=programs[0],
                                     install_folder="kestrel-authenticode")[0], 0)
                self.assertEqual(copy.read_bytes(), new.read_bytes())


if __name__ == "__main__":
    unittest.main()
