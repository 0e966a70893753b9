#!/usr/bin/env bash
# Starts the loopback stand-in for the maker's web server (tools/maker_server.py)
# over a fresh folder and waits until it listens, or stops it again. The ctest
# fixture of the Windows tests that download, and the server of the demo and
# the download benchmark.
#   maker-server.sh start DIR   serves DIR/root, port in DIR/port, requests in DIR/root/requests.log,
#                               with their headers in DIR/root/headers.log
#   maker-server.sh stop DIR
# For the tests, wine-run.sh then points http_proxy at it and maps DIR/root as drive W:.
set -eu
action=$1
dir=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
case "$action" in
start)
  [ -f "$dir/pid" ] && kill "$(cat "$dir/pid")" 2>/dev/null || true
  rm -rf "$dir" && mkdir -p "$dir/root"
  # setsid and closed descriptors: ctest must not wait on the server's output.
  setsid python3 "$root/tools/maker_server.py" --root "$dir/root" --port-file "$dir/port" \
         --log "$dir/root/requests.log" --header-log "$dir/root/headers.log" >"$dir/server.log" 2>&1 </dev/null &
  echo $! >"$dir/pid"
  for _ in $(seq 100); do [ -s "$dir/port" ] && exit 0; sleep 0.1; done
  echo "the maker's server did not start" >&2
  exit 1
  ;;
stop)
  [ -f "$dir/pid" ] && kill "$(cat "$dir/pid")" 2>/dev/null || true
  rm -f "$dir/pid" "$dir/port"
  ;;
esac
