#!/usr/bin/env bash
# Download benchmark: a 32 MiB maker's program fetched from the loopback
# maker's server by fetchAndReport with the progress panel shown, against a
# bare WinINet read loop in the same process under Wine, with curl's figure
# for context; then the Update's steps after the download one by one, and
# whole Updates of the same program on the real Kestrel.exe, timed from
# outside. Prints times, throughputs and ratios. Not a test: nothing is
# asserted.
#
#   tools/bench/download-bench.sh [rounds]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${KESTREL_BENCH_BUILD:-$root/build/net-win}
rounds=${1:-3}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-posix.cmake" >/dev/null
cmake --build "$build" -j2 --target app Kestrel KestrelDriver >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/kestrel-download-bench.XXXXXX")
maker_server="$root/tests/harness/maker-server.sh"
cleanup() {
  "$maker_server" stop "$work/maker"
  rm -rf "$work"
}
trap cleanup EXIT
x86_64-w64-mingw32-g++-posix -std=c++17 -O2 -Wall -Wextra -DNOMINMAX -D_WIN32_WINNT=0x0601 \
    -I"$root" "$root/tools/bench/download_bench.cpp" -o "$work/download_bench.exe" \
    "$build/app/libapp.a" "$build/app/libapp_core.a" "$build/catalogue/libcatalogue.a" \
    "$build/catalogue/libcatalogue_core.a" "$build/net/libnet.a" "$build/net/libnet_core.a" \
    "$build/toolkit/libtoolkit.a" "$build/toolkit/libtoolkit_core.a" \
    -lwininet -lbcrypt -lversion -lshell32 -lcomctl32 -lgdi32 -luser32 -static -static-libgcc -static-libstdc++

"$maker_server" start "$work/maker"
mkdir -p "$work/maker/root/Utils" "$work/local"
# A maker's program of 32 MiB: the Update checks its name and version.
python3 - "$work/maker/root/Utils" "$root" <<'PROGRAM'
import pathlib, sys
sys.path.insert(0, str(pathlib.Path(sys.argv[2]) / "tests" / "e2e"))
from kestrel_harness import build_program
build_program(pathlib.Path(sys.argv[1]), "Big.exe", company="Corvel Software", version=(1, 2, 0, 7),
              padding=32 * 1024 * 1024)
PROGRAM
sum=$(sha256sum "$work/maker/root/Utils/Big.exe" | cut -d' ' -f1)
port=$(cat "$work/maker/port")

echo "== curl through the same server (context only)"
for _ in 1 2; do
  curl -s -o /dev/null -x "http://127.0.0.1:$port" -w '%{speed_download}\n' \
       http://updates.corvel.example/Utils/Big.exe
done | awk '{ printf "curl: %.1f MiB/s\n", $1 / 1048576 }'

# shellcheck source=tests/harness/wine-session.sh
source "$root/tests/harness/wine-session.sh" >/dev/null
trap 'kestrel_session_end; cleanup' EXIT
ln -s "$work/local" "$WINEPREFIX/dosdevices/d:"
cp "$work/download_bench.exe" "$WINEPREFIX/drive_c/download_bench.exe"
echo "== under Wine"
http_proxy="http://127.0.0.1:$port" timeout -k 10 900 wine 'C:\download_bench.exe' \
    http://updates.corvel.example/Utils/ Big.exe 'D:' "$rounds" "$sum" </dev/null | tee "$work/download.txt"
cmp "$work/maker/root/Utils/Big.exe" "$work/local/installed.exe" && echo "fetched and installed file matches the served one"
bare=$(awk '/^bare WinINet read loop:/ { print $5 }' "$work/download.txt")

echo "== whole Update on the real program"
KESTREL_BUILD_DIR="$build" timeout -k 10 1800 python3 "$root/tools/bench/update_bench.py" \
    "http://127.0.0.1:$port" "$work/maker/root/Utils" "$work/maker/root/requests.log" Big.exe "$rounds" "$bare" \
    </dev/null
