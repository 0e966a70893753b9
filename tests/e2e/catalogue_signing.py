"""Signing of test catalogues with the Python package "cryptography", an
implementation of ECDSA independent of the Windows CNG that Kestrel uses.

Keys are made at test time and kept in the build folder only; no private key
is ever part of the sources.

As a script it makes the signed variant of Kestrel for the end-to-end tests:

    catalogue_signing.py BUILD_DIR VARIANT_DIR

makes two test keys in VARIANT_DIR, configures VARIANT_DIR from the sources
with BUILD_DIR's toolchain and settings plus KESTREL_CATALOGUE_KEY holding both
(a maker changing keys), and builds only the program there:
VARIANT_DIR/bin/Kestrel.exe.
"""

import base64
import datetime
import hashlib
import pathlib
import subprocess
import sys
import time

from cryptography.hazmat.primitives import hashes, serialization
from cryptography.hazmat.primitives.asymmetric import ec, utils

KEY_FILE = "test-catalogue-key.pem"
NEXT_KEY_FILE = "test-catalogue-next-key.pem"


def new_key():
    return ec.generate_private_key(ec.SECP256R1())


def save_key(key, path):
    path = pathlib.Path(path)
    path.write_bytes(key.private_bytes(serialization.Encoding.PEM, serialization.PrivateFormat.PKCS8,
                                       serialization.NoEncryption()))
    path.chmod(0o600)


def load_key(path):
    return serialization.load_pem_private_key(pathlib.Path(path).read_bytes(), password=None)


def public_key_text(key):
    """The form KESTREL_CATALOGUE_KEY takes: base64 of X then Y, 32 bytes each."""
    numbers = key.public_key().public_numbers()
    return base64.b64encode(numbers.x.to_bytes(32, "big") + numbers.y.to_bytes(32, "big")).decode()


def signature_line(key, signed_bytes):
    """Base64 of r then s (32 bytes each, big-endian) over SHA-256 of the bytes."""
    r, s = utils.decode_dss_signature(key.sign(signed_bytes, ec.ECDSA(hashes.SHA256())))
    return base64.b64encode(r.to_bytes(32, "big") + s.to_bytes(32, "big")).decode()


def sign(key, text, newline="\r\n"):
    """The catalogue text (str, cp1252) with its signature section appended."""
    data = text.encode("cp1252")
    return data + f"[Signature]{newline}{signature_line(key, data)}{newline}".encode()


def checksum(path_or_bytes):
    data = path_or_bytes if isinstance(path_or_bytes, bytes) else pathlib.Path(path_or_bytes).read_bytes()
    return hashlib.sha256(data).hexdigest()


def hashes_section(checksums, newline="\r\n"):
    """checksums: {file name: 64 hex digits}."""
    return f"[Hashes]{newline}" + "".join(f"{name}|{digest}{newline}" for name, digest in checksums.items())


def sizes_section(sizes, newline="\r\n"):
    """sizes: {file name: length in bytes, or any text for the line}."""
    return f"[Sizes]{newline}" + "".join(f"{name}|{size}{newline}" for name, size in sizes.items())


def issued_section(when=None, newline="\r\n"):
    """The issue time section; when: a UTC datetime (default now) or any text."""
    when = when or datetime.datetime.now(datetime.timezone.utc)
    text = when if isinstance(when, str) else when.strftime("%Y-%m-%dT%H:%M:%SZ")
    return f"[Issued]{newline}{text}{newline}"


def expires_section(days_from_today, newline="\r\n"):
    """An expiry date relative to today's local date, as Kestrel under Wine
    sees it (the same TZ)."""
    day = datetime.date.fromtimestamp(time.time()) + datetime.timedelta(days=days_from_today)
    return f"[Expires]{newline}{day.month}/{day.day}/{day.year % 100:02d}{newline}"


def _cache(build_dir):
    values = {}
    for line in (pathlib.Path(build_dir) / "CMakeCache.txt").read_text().splitlines():
        key, sep, value = line.partition("=")
        if sep and not key.startswith(("#", "//")):
            values[key.split(":")[0]] = value
    return values


# The parent build's settings the variant takes over.
_CARRIED = ("CMAKE_TOOLCHAIN_FILE", "CMAKE_BUILD_TYPE", "CMAKE_C_COMPILER_LAUNCHER", "CMAKE_CXX_COMPILER_LAUNCHER",
            "KESTREL_UPDATE_FOLDER_URL", "KESTREL_WEBSITE_URL", "KESTREL_EMAIL_ADDRESS")


def make_signed_variant(build_dir, variant_dir):
    variant_dir = pathlib.Path(variant_dir)
    variant_dir.mkdir(parents=True, exist_ok=True)
    keys = [new_key(), new_key()]
    save_key(keys[0], variant_dir / KEY_FILE)
    save_key(keys[1], variant_dir / NEXT_KEY_FILE)
    cache = _cache(build_dir)
    settings = [f"-D{name}={cache[name]}" for name in _CARRIED if cache.get(name)]
    generator = cache.get("CMAKE_GENERATOR", "Ninja")
    subprocess.run(["cmake", "-S", cache["CMAKE_HOME_DIRECTORY"], "-B", str(variant_dir), "-G", generator,
                    *settings, f"-DKESTREL_CATALOGUE_KEY={public_key_text(keys[0])},{public_key_text(keys[1])}"],
                   check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", str(variant_dir), "--target", "Kestrel", "-j2"], check=True,
                   stdout=subprocess.DEVNULL)


if __name__ == "__main__":
    make_signed_variant(sys.argv[1], sys.argv[2])
