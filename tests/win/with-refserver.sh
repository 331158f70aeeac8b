#!/usr/bin/env bash
# usage: with-refserver.sh REFSERVER CATALOGUE FILES -- COMMAND...
# Runs COMMAND with the reference server listening on 127.0.0.1:8731 (the
# origin the test build of the program is made for); SETUP_TEST_ORIGIN tells
# the tests where it is.
set -u
server=$1 catalogue=$2 files=$3
shift 3
[ "$1" = "--" ] && shift
if [ ! -x "$server" ]; then
  echo "with-refserver: $server is not built (build the host preset first)" >&2
  exit 1
fi
log=$(mktemp)
"$server" --port 8731 --catalogue "$catalogue" --files "$files" >"$log" 2>/dev/null &
pid=$!
trap 'kill $pid 2>/dev/null; wait $pid 2>/dev/null; rm -f "$log"' EXIT
for _ in $(seq 1 100); do
  grep -q 'listening on' "$log" && break
  kill -0 $pid 2>/dev/null || { echo "with-refserver: the server did not start (port 8731 in use?)" >&2; exit 1; }
  sleep 0.05
done
export SETUP_TEST_ORIGIN=http://127.0.0.1:8731
"$@"
