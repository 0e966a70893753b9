#!/usr/bin/env bash
# Authenticode-signs the release's program files in place with the maker's
# code-signing certificate, using osslsigncode:
#
#   tools/release/sign.sh --cert CERT.pem --key KEY.pem [options] FILE...
#   tools/release/sign.sh --pkcs12 MAKER.p12 [--pass-file FILE] [options] FILE...
#
# options:
#   --timestamp URL        an RFC 3161 time-stamp from that time-stamping
#                          authority, so the signature stays valid after the
#                          certificate expires
#   --tsa-certs C --tsa-key K
#                          a time-stamp made here with that authority's
#                          certificate and key instead (offline; for tests)
#   --url URL              the address shown with the signature (the maker's web site)
#
# Sign Kestrel.exe and KestrelCatalogue.exe before `KestrelCatalogue build`:
# the catalogue's checksums and sizes are those of the signed files.
set -euo pipefail

usage() {
  sed -n '2,20p' "$0" | sed 's/^# \{0,1\}//' >&2
  exit 2
}

identity=()
stamp=()
extra=()
files=()
while [ $# -gt 0 ]; do
  case "$1" in
    --cert) identity+=(-certs "${2:?}"); shift 2 ;;
    --key) identity+=(-key "${2:?}"); shift 2 ;;
    --pkcs12) identity+=(-pkcs12 "${2:?}"); shift 2 ;;
    --pass-file) identity+=(-readpass "${2:?}"); shift 2 ;;
    --timestamp) stamp+=(-ts "${2:?}"); shift 2 ;;
    --tsa-certs) stamp+=(-TSA-certs "${2:?}"); shift 2 ;;
    --tsa-key) stamp+=(-TSA-key "${2:?}"); shift 2 ;;
    --url) extra+=(-i "${2:?}"); shift 2 ;;
    -h|--help) usage ;;
    -*) echo "sign.sh: unknown option $1" >&2; usage ;;
    *) files+=("$1"); shift ;;
  esac
done
[ ${#identity[@]} -gt 0 ] && [ ${#files[@]} -gt 0 ] || usage
command -v osslsigncode >/dev/null || { echo "sign.sh: osslsigncode is missing (tools/install-deps.sh installs it)" >&2; exit 2; }

for file in "${files[@]}"; do
  [ -f "$file" ] || { echo "sign.sh: $file: no such file" >&2; exit 1; }
  # Written beside the file and moved over it only when signing succeeded.
  signed="$file.signing"
  rm -f "$signed"
  name=$(basename "$file" .exe)
  if ! osslsigncode sign "${identity[@]}" "${stamp[@]}" "${extra[@]}" -h sha256 -n "$name" \
       -in "$file" -out "$signed" >/dev/null; then
    rm -f "$signed"
    echo "sign.sh: $file could not be signed" >&2
    exit 1
  fi
  mv -f "$signed" "$file"
  echo "signed $file"
done
