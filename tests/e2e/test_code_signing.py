"""End-to-end: tools/release/sign.sh Authenticode-signs both programs with a
code-signing certificate made here, with a time-stamp made offline; the
signatures verify, and the signed Kestrel still finds and updates."""

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
from e2e_support import catalogue  # noqa: E402
from test_unattended import run  # noqa: E402


def openssl_certificate(folder, name, usage):
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
                    "-keyout", folder / f"{name}.key", "-out", folder / f"{name}.pem",
                    "-subj", f"/CN=Kestrel test {name}", "-addext", f"extendedKeyUsage={usage}"],
                   check=True, capture_output=True)
    return folder / f"{name}.pem", folder / f"{name}.key"


class CodeSigning(unittest.TestCase):
    def test_both_programs_signed_verified_and_kestrel_still_updates(self):
        with tempfile.TemporaryDirectory(prefix="signing-") as work:
            work = pathlib.Path(work)
            certificate, key = openssl_certificate(work, "signer", "codeSigning")
            tsa_certificate, tsa_key = openssl_certificate(work, "tsa", "critical,timeStamping")
            programs = [shutil.copy(BUILD_DIR / "bin" / name, work / name)
                        for name in ("Kestrel.exe", "KestrelCatalogue.exe")]
            subprocess.run([SOURCE_DIR / "tools/release/sign.sh", "--cert", certificate, "--key", key,
                            "--tsa-certs", tsa_certificate, "--tsa-key", tsa_key, *programs],
                           check=True, capture_output=True)
            for program in programs:
                verify = subprocess.run(["osslsigncode", "verify", "-CAfile", certificate, "-TSA-CAfile",
                                         tsa_certificate, "-in", program], capture_output=True, text=True)
                self.assertEqual(verify.returncode, 0, verify.stdout + verify.stderr)
                self.assertIn("Timestamp Server Signature verification: ok", verify.stdout)
                # verify does not look at the usage: the signer's certificate must be for code signing.
                signature = work / "signature.pem"
                subprocess.run(["osslsigncode", "extract-signature", "-pem", "-in", program, "-out", signature],
                               check=True, capture_output=True)
                signers = subprocess.run(["openssl", "pkcs7", "-print_certs", "-in", signature], check=True,
                                         capture_output=True).stdout
                usage = x509.load_pem_x509_certificates(signers)[0].extensions.get_extension_for_class(
                    x509.ExtendedKeyUsage).value
                self.assertIn(ExtendedKeyUsageOID.CODE_SIGNING, usage)
                signature.unlink()

            with Drives({"d": None}) as drives, maker_server() as server:
                copy = build_program(drives.path("d"), "Sample.exe", company="Corvel Software", version=(1, 0, 0, 0))
                entry = ("Sample.exe", "10/15/03", "2:30:00 PM", "1.2.0.7")
                server.put("Kestrel.ini", catalogue(entry))
                new = build_program(server.utils, "Sample.exe", company="Corvel Software", version=(1, 2, 0, 7))
                self.assertEqual(run(["/update"], server.proxy, executable=programs[0],
                                     install_folder="kestrel-authenticode")[0], 0)
                self.assertEqual(copy.read_bytes(), new.read_bytes())


if __name__ == "__main__":
    unittest.main()
