# Sourced by tools/test.sh and the demo: a throw-away Wine prefix with no Z:
# drive (so nothing can ever scan the machine) and a virtual display. A copy of
# the freshly booted prefix is kept as KESTREL_TEMPLATE_PREFIX, from which
# tests/harness/test-session.sh gives each Windows test a prefix of its own.
# Everything is removed again when the sourcing shell exits.
KESTREL_SESSION_DIR=$(mktemp -d "${TMPDIR:-/tmp}/kestrel-session.XXXXXX")
export KESTREL_SESSION_DIR
export WINEPREFIX="$KESTREL_SESSION_DIR/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
export WINEARCH=win64
export TZ="${TZ:-Europe/Berlin}"
# Wine converts file names through the locale: in a UTF-8 locale a folder
# named outside the programs' code page (Cyrillic, say) gets a short name that
# opens; in the C locale neither of its names does.
export LC_ALL=C.UTF-8

kestrel_session_end() {
  # Sourced by scripts under set -e: a step that fails (a display that had
  # already died) must not cut the clean-up short.
  set +e
  [ -n "${KESTREL_XVFB_PID:-}" ] && kill "$KESTREL_XVFB_PID" 2>/dev/null
  timeout 20 wineserver -k 2>/dev/null
  # What a test stopped outright (ctest's time limit) left of its own session.
  for own in "$KESTREL_SESSION_DIR"/test.*; do
    [ -d "$own/prefix" ] && WINEPREFIX="$own/prefix" timeout 20 wineserver -k 2>/dev/null
    [ -s "$own/xvfb.pid" ] && kill "$(cat "$own/xvfb.pid")" 2>/dev/null
  done
  chmod -R u+rwx "$KESTREL_SESSION_DIR" 2>/dev/null
  rm -rf "$KESTREL_SESSION_DIR"
}
trap kestrel_session_end EXIT

if [ -z "${KESTREL_KEEP_DISPLAY:-}" ] || [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    KESTREL_XVFB_PID=$!
    for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    export DISPLAY=":$n"
    break
  done
fi

echo "Preparing a Wine prefix in $WINEPREFIX ..."
# wineboot now and then times out or dies on a loaded machine: a prefix
# without its registry or system folder is made again from scratch.
for attempt in 1 2 3; do
  timeout 300 wine wineboot -i >/dev/null 2>&1 || true
  timeout 120 wineserver -w || true
  [ -s "$WINEPREFIX/system.reg" ] && [ -s "$WINEPREFIX/user.reg" ] &&
    [ -d "$WINEPREFIX/drive_c/windows/system32" ] && break
  echo "wineboot failed (attempt $attempt)" >&2
  timeout 20 wineserver -k 2>/dev/null || true
  chmod -R u+rwx "$WINEPREFIX" 2>/dev/null || true
  rm -rf "$WINEPREFIX"
done
rm -f "$WINEPREFIX/dosdevices/z:"
# Copied while no server runs on it, so its registry files are complete.
export KESTREL_TEMPLATE_PREFIX="$KESTREL_SESSION_DIR/template"
"$(dirname "${BASH_SOURCE[0]}")/copy-prefix.sh" "$WINEPREFIX" "$KESTREL_TEMPLATE_PREFIX"
# Keep one server running for the whole session so each test starts quickly.
timeout 5 wineserver -p >/dev/null 2>&1
