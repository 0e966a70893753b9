#!/usr/bin/env bash
# Installs the toolchain, Wine, the virtual display and the test tools with apt-get,
# skipping the download when everything is already there.
set -euo pipefail
packages=(g++-mingw-w64-x86-64-posix wine64 xvfb xdotool cmake ninja-build curl googletest
          g++ python3 clang libclang-rt-14-dev imagemagick x11-apps
          libgnutls30 python3-cryptography osslsigncode openssl)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi
