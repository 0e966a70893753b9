# Sourced by tools/test.sh and the demo: a throw-away Wine prefix with no Z:
# drive (so nothing can ever scan the machine) and a virtual display. Everything
# is removed again when the sourcing shell exits.
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
  [ -n "${KESTREL_XVFB_PID:-}" ] && kill "$KESTREL_XVFB_PID" 2>/dev/null
  timeout 20 wineserver -k 2>/dev/null
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
timeout 300 wine wineboot -i >/dev/null 2>&1
timeout 120 wineserver -w
rm -f "$WINEPREFIX/dosdevices/z:"
# Keep one server running for the whole session so each test starts quickly.
timeout 5 wineserver -p >/dev/null 2>&1
