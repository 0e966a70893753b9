#!/usr/bin/env bash
# Runs one Windows program under Wine for ctest: fresh empty fixture drives D: and
# E:, the built fixture programs on Y:, nothing else but C:, and a time limit.
# Needs the session that tests/harness/wine-session.sh sets up.
set -u
: "${WINEPREFIX:?run the Windows tests through tools/test.sh}"
devices="$WINEPREFIX/dosdevices"
for link in "$devices"/?:; do
  [ "$(basename "$link")" = "c:" ] || rm -f "$link"
done
drives=$(mktemp -d "${KESTREL_SESSION_DIR:-/tmp}/drives.XXXXXX")
mkdir "$drives/d" "$drives/e"
ln -s "$drives/d" "$devices/d:"
ln -s "$drives/e" "$devices/e:"
[ -n "${KESTREL_FIXTURES:-}" ] && ln -s "$KESTREL_FIXTURES" "$devices/y:"
# Folder links for the tests of a search that meets them, made here because a
# Windows program under Wine cannot make a Unix link (and Wine lists these as
# reparse points): in D:\<KESTREL_FOLDER_LINKS>\, Alias leads to Real beside
# it, Real\Inner\Loop back up to the links' folder, Away to drive E:.
if [ -n "${KESTREL_FOLDER_LINKS:-}" ]; then
  links="$drives/d/$KESTREL_FOLDER_LINKS"
  mkdir -p "$links/Real/Inner"
  ln -s "$links/Real" "$links/Alias"
  ln -s "$links" "$links/Real/Inner/Loop"
  ln -s "$drives/e" "$links/Away"
fi
# Tests that download reach the loopback maker's server (maker-server.sh)
# through WinINet's proxy setting, and see the folder it serves as W:.
if [ -n "${KESTREL_MAKER_DIR:-}" ] && [ -s "$KESTREL_MAKER_DIR/port" ]; then
  export http_proxy="http://127.0.0.1:$(cat "$KESTREL_MAKER_DIR/port")"
  ln -s "$KESTREL_MAKER_DIR/root" "$devices/w:"
fi

# Wine's helper processes (services, the desktop) can outlive the program; if
# they held ctest's output pipe, ctest would wait for them. So the program's
# output goes through a file.
log="$drives/output.log"
timeout -k 10 "${KESTREL_WINE_TIMEOUT:-600}" wine "$@" >"$log" 2>&1 </dev/null
status=$?
cat "$log"

rm -f "$devices/d:" "$devices/e:" "$devices/y:" "$devices/w:"
chmod -R u+rwx "$drives" 2>/dev/null
rm -rf "$drives"
exit $status
