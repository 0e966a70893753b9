#!/usr/bin/env bash
# Kestrel's main job, shown end to end against the bundled local maker's server,
# published the way a maker publishes: installs what is needed, builds the
# maker's tool KestrelCatalogue.exe into build/demo, makes a throw-away signing
# key there with its keygen, builds a Kestrel with that key in the same folder
# (build/win, whose unsigned program the tests use, is left alone), builds the
# maker's sample program files (tools/demo/make_demo.py), writes and signs their
# catalogue with the tool's build --key, serves them on 127.0.0.1, maps a demo
# drive D: holding outdated copies, and runs the signed Kestrel under Wine in a
# private prefix.
#
# With a usable X display (DISPLAY set), Kestrel opens there for you to drive:
# press Start, then Update; the server stays up until Kestrel ends. Without one,
# the demo runs on a virtual display, presses Start and Update itself, saves
# screenshots as docs/images/demo-*.png and prints what was replaced.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KESTREL_BUILD_DIR:-$root/build}/demo

"$root/tools/install-deps.sh"
configure() {
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-posix.cmake" "$@" >/dev/null
}
configure
cmake --build "$build" -j2 --target KestrelCatalogue

interactive=""
if [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1; then
  interactive=1
  export KESTREL_KEEP_DISPLAY=1
fi

# shellcheck source=tests/harness/wine-session.sh
source "$root/tests/harness/wine-session.sh"
# Start Wine's background services now, with nothing to inherit: started later by
# the first program, they would keep that program's output pipe open.
timeout 120 wine cmd /c exit >/dev/null 2>&1 </dev/null || true
work="$KESTREL_SESSION_DIR/demo"
mkdir -p "$work" "$WINEPREFIX/drive_c/kestrel"
cp "$build/bin/KestrelCatalogue.exe" "$WINEPREFIX/drive_c/kestrel/"
catalogue_tool() { timeout 120 wine 'C:\kestrel\KestrelCatalogue.exe' "$@" </dev/null; }

echo "Making a throw-away signing key with KestrelCatalogue keygen ..."
# The tool reaches the build folder as K: only while it runs: Kestrel searches
# every fixed drive.
ln -s "$build" "$WINEPREFIX/dosdevices/k:"
rm -f "$build/demo-maker.key"
public_key=$(catalogue_tool keygen 'K:\demo-maker.key' | tr -d '\r')
echo "Building a Kestrel with $public_key ..."
configure -D"$public_key"
cmake --build "$build" -j2 --target Kestrel KestrelDriver

echo "Building the maker's program files, and their catalogue with KestrelCatalogue build --key ..."
maker_server="$root/tests/harness/maker-server.sh"
"$maker_server" start "$work/maker"
trap '"$maker_server" stop "$work/maker"; kestrel_session_end' EXIT
python3 "$root/tools/demo/make_demo.py" "$work/maker/root" "$work/drive"
ln -s "$work/maker/root/Utils" "$WINEPREFIX/dosdevices/s:"
catalogue_tool build 'S:\' --key 'K:\demo-maker.key'
catalogue_tool check 'S:\Kestrel.ini' --folder 'S:\' --key-file 'K:\demo-maker.key'
rm -f "$WINEPREFIX/dosdevices/k:" "$WINEPREFIX/dosdevices/s:"
port=$(cat "$work/maker/port")

ln -s "$work/drive" "$WINEPREFIX/dosdevices/d:"
cp "$build/bin/Kestrel.exe" "$build/bin/KestrelDriver.exe" "$WINEPREFIX/drive_c/kestrel/"
export http_proxy="http://127.0.0.1:$port"

echo "The maker's server listens on 127.0.0.1:$port; drive D: holds:"
(cd "$work/drive" && find . -type f | sed 's|^\./|  D:\\|; s|/|\\|g' | sort)

if [ -n "$interactive" ]; then
  echo "Kestrel opens on $DISPLAY: press Start, then Update. Close it to end the demo."
  timeout -k 10 3600 wine 'C:\kestrel\Kestrel.exe' || true
  echo "Requests the server received:"; sed 's/^/  /' "$work/maker/root/requests.log" 2>/dev/null || true
else
  KESTREL_BUILD_DIR="$build" KESTREL_SOURCE_DIR="$root" \
    python3 "$root/tools/demo/run_demo.py" "$work" "$root/docs/images"
fi

# Last, what a scheduled task would run: no window, no box, a log and an exit code.
echo "An unattended check against the same server: Kestrel.exe /check /log C:\kestrel\Kestrel.log"
code=0
timeout -k 10 300 wine 'C:\kestrel\Kestrel.exe' /check /log 'C:\kestrel\Kestrel.log' </dev/null || code=$?
echo "Exit code $code (0: nothing to update, 10: copies wait to be updated, 2: no usable catalogue)."
echo "The log's last lines:"
tail -n 8 "$WINEPREFIX/drive_c/kestrel/Kestrel.log" | sed 's/^/  /'
