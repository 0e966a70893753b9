#!/usr/bin/env bash
# Runs one Windows test (the command given) in a Wine session of its own: a
# copy of the session's booted prefix (tests/harness/wine-session.sh), so its
# own drives, temporary folder, registry and Wine server, and a virtual
# display of its own. Tests so kept apart can run side by side. The prefix,
# the display and the server are removed again when the test ends.
set -u
: "${KESTREL_TEMPLATE_PREFIX:?run the Windows tests through tools/test.sh or tests/harness/wine-session.sh}"
own=$(mktemp -d "${KESTREL_SESSION_DIR:-${TMPDIR:-/tmp}}/test.XXXXXX")
export WINEPREFIX="$own/prefix"

kestrel_test_end() {
  trap - EXIT TERM INT HUP
  timeout 20 wineserver -k 2>/dev/null
  server_folder=$(cat "$WINEPREFIX/wineserver" 2>/dev/null)
  case "$server_folder" in wine-??????) rm -rf "${TMPDIR:-/tmp}/$server_folder" ;; esac
  [ -s "$own/xvfb.pid" ] && kill "$(cat "$own/xvfb.pid")" 2>/dev/null
  chmod -R u+rwx "$own" 2>/dev/null
  rm -rf "$own"
}
trap kestrel_test_end EXIT
trap 'exit 143' TERM INT HUP

"$(dirname "$0")/copy-prefix.sh" "$KESTREL_TEMPLATE_PREFIX" "$WINEPREFIX" ||
  { echo "cannot copy the Wine prefix $KESTREL_TEMPLATE_PREFIX" >&2; exit 1; }

# Xvfb picks a free display number itself and writes it once it listens.
start_display() {
  : >"$own/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$own/display" >/dev/null 2>&1 &
  echo $! >"$own/xvfb.pid"
  for _ in $(seq 200); do
    [ -s "$own/display" ] && grep -q . "$own/display" && return 0
    kill -0 "$(cat "$own/xvfb.pid")" 2>/dev/null || return 1
    sleep 0.05
  done
  kill "$(cat "$own/xvfb.pid")" 2>/dev/null
  return 1
}
for attempt in 1 2 3; do
  start_display && break
  [ "$attempt" = 3 ] && { echo "cannot start a virtual display" >&2; exit 1; }
done
DISPLAY=":$(tr -dc 0-9 <"$own/display")"
export DISPLAY

# The server and Wine's background services start now, with nothing to
# inherit: started later by the test's first program, they would hold its
# output pipes open. On a loaded machine Wine now and then fails to start a
# program; so this is tried again.
timeout 10 wineserver -p >/dev/null 2>&1
for attempt in 1 2 3; do
  timeout 120 wine cmd /c exit </dev/null >/dev/null 2>&1 && break
  [ "$attempt" = 3 ] && { echo "Wine does not start in $WINEPREFIX" >&2; exit 1; }
  sleep 1
done

"$@"
