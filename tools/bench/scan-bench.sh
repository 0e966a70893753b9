#!/usr/bin/env bash
# Scan benchmark: the program finder against two bare Win32 walkers (two
# directory reads per folder, and one) over the same generated trees, under
# Wine with a virtual display. Prints the times, their ratios and the
# process's peak memory for a small and a large tree (memory
# should not grow with the tree). Not a test: nothing is asserted.
#
#   tools/bench/scan-bench.sh [rounds]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${KESTREL_BENCH_BUILD:-$root/build/scan-win}
rounds=${1:-2}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-posix.cmake" >/dev/null
cmake --build "$build" -j2 --target catalogue toolkit fixtures >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/kestrel-scan-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
x86_64-w64-mingw32-g++-posix -std=c++17 -O2 -Wall -Wextra -DNOMINMAX -D_WIN32_WINNT=0x0601 \
    -I"$root" "$root/tools/bench/scan_bench.cpp" -o "$work/scan_bench.exe" \
    "$build/catalogue/libcatalogue.a" "$build/catalogue/libcatalogue_core.a" \
    "$build/toolkit/libtoolkit.a" "$build/toolkit/libtoolkit_core.a" \
    -lversion -lbcrypt -lcomctl32 -lgdi32 -luser32 -lpsapi -static -static-libgcc -static-libstdc++

older="$build/fixtures/corvel-older.exe"
current="$build/fixtures/corvel-current.exe"
# 20 * (1 + 10 + 100 + 1000) = 22,220 folders, 5 files each: 111,100 files.
python3 "$root/tools/bench/scan_tree.py" "$work/large" 20 10 4 5 "$older" "$current"
# 2 * (1 + 10 + 100) = 222 folders, 1,110 files.
python3 "$root/tools/bench/scan_tree.py" "$work/small" 2 10 3 5 "$older" "$current"

# shellcheck source=tests/harness/wine-session.sh
source "$root/tests/harness/wine-session.sh" >/dev/null
trap 'kestrel_session_end; rm -rf "$work"' EXIT
ln -s "$work/large" "$WINEPREFIX/dosdevices/d:"
ln -s "$work/small" "$WINEPREFIX/dosdevices/e:"

echo "== small tree (E:)"
timeout -k 10 900 wine "$work/scan_bench.exe" 'E:\' "$rounds" </dev/null
echo "== large tree (D:)"
timeout -k 10 1800 wine "$work/scan_bench.exe" 'D:\' "$rounds" </dev/null
