#!/usr/bin/env bash
# Runs the whole test suite on a fresh Debian machine: installs what it needs,
# runs the platform-free core natively under AddressSanitizer and UBSan, then
# the Windows build's tests under Wine on a virtual display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KESTREL_BUILD_DIR:-$root/build}

"$root/tools/install-deps.sh"

echo "== Native core under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S "$root" -B "$build/native" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build/native" -j2
ctest --test-dir "$build/native" --output-on-failure -j2
bash "$root/tools/fuzz.sh" 5

echo "== Windows build under Wine"
cmake -S "$root" -B "$build/win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-posix.cmake" >/dev/null
cmake --build "$build/win" -j2
# shellcheck source=tests/harness/wine-session.sh
source "$root/tests/harness/wine-session.sh"
# Each Windows test has a Wine session of its own, and most of their time is
# spent waiting on Wine or on the loopback server: four run at a time.
ctest --test-dir "$build/win" --output-on-failure -j4
