"""Certificates for the end-to-end tests of HTTPS, made at test time with the
Python package "cryptography": a test authority, server certificates it
issues (valid, expired, for another host) and one from an authority nobody
trusts. Keys live in a temporary folder only; none is part of the sources.

Wine checks a certificate's DNS names but not its IP addresses, so the
server certificates name "localhost", the host the HTTPS variant of Kestrel
is built for."""

import datetime
import pathlib

from cryptography import x509
from cryptography.hazmat.primitives import hashes, serialization
from cryptography.hazmat.primitives.asymmetric import rsa
from cryptography.x509.oid import ExtendedKeyUsageOID, NameOID

HOST = "localhost"
_DAY = datetime.timedelta(days=1)


def _key():
    return rsa.generate_private_key(public_exponent=65537, key_size=2048)


def _name(common_name):
    return x509.Name([x509.NameAttribute(NameOID.ORGANIZATION_NAME, "Kestrel tests"),
                      x509.NameAttribute(NameOID.COMMON_NAME, common_name)])


class Authority:
    """A certificate authority of its own; trust it with its der() bytes."""

    def __init__(self, name):
        self.key = _key()
        now = datetime.datetime.now(datetime.timezone.utc)
        self.certificate = (
            x509.CertificateBuilder().subject_name(_name(name)).issuer_name(_name(name))
            .public_key(self.key.public_key()).serial_number(x509.random_serial_number())
            .not_valid_before(now - _DAY).not_valid_after(now + 30 * _DAY)
            .add_extension(x509.BasicConstraints(ca=True, path_length=None), critical=True)
            .add_extension(x509.KeyUsage(digital_signature=True, key_cert_sign=True, crl_sign=True,
                                         content_commitment=False, key_encipherment=False,
                                         data_encipherment=False, key_agreement=False, encipher_only=False,
                                         decipher_only=False), critical=True)
            .sign(self.key, hashes.SHA256()))

    def der(self):
        return self.certificate.public_bytes(serialization.Encoding.DER)

    def issue(self, folder, file_stem, host=HOST, valid_days=(-1, 30)):
        """A server certificate for host, valid from valid_days[0] to
        valid_days[1] days from now, written with its key to folder as
        file_stem.pem and file_stem.key; returns (certificate file, key file)."""
        key = _key()
        now = datetime.datetime.now(datetime.timezone.utc)
        certificate = (
            x509.CertificateBuilder().subject_name(_name(host)).issuer_name(self.certificate.subject)
            .public_key(key.public_key()).serial_number(x509.random_serial_number())
            .not_valid_before(now + valid_days[0] * _DAY).not_valid_after(now + valid_days[1] * _DAY)
            .add_extension(x509.SubjectAlternativeName([x509.DNSName(host)]), critical=False)
            .add_extension(x509.BasicConstraints(ca=False, path_length=None), critical=True)
            .add_extension(x509.ExtendedKeyUsage([ExtendedKeyUsageOID.SERVER_AUTH]), critical=False)
            .sign(self.key, hashes.SHA256()))
        folder = pathlib.Path(folder)
        certificate_file = folder / f"{file_stem}.pem"
        key_file = folder / f"{file_stem}.key"
        certificate_file.write_bytes(certificate.public_bytes(serialization.Encoding.PEM)
                                     + self.certificate.public_bytes(serialization.Encoding.PEM))
        key_file.write_bytes(key.private_bytes(serialization.Encoding.PEM, serialization.PrivateFormat.PKCS8,
                                               serialization.NoEncryption()))
        key_file.chmod(0o600)
        return certificate_file, key_file
