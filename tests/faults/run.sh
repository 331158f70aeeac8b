#!/usr/bin/env bash
# usage: run.sh REFSERVER SOURCE_DIR FAULT_MATRIX SETUP.EXE
# The "API down" row runs with no server; the others with the reference server.
set -u
server=$1 src=$2 matrix=$3 setup=$4
wine_run="$src/scripts/wine-run"
if (exec 3<>/dev/tcp/127.0.0.1/8731) 2>/dev/null; then
  echo "run.sh: port 8731 is in use; the API-down row needs it free" >&2
  exit 1
fi
down=$("$wine_run" "$matrix" "$setup" api-down | tr -d '\r')
rest=$(bash "$src/tests/win/with-refserver.sh" "$server" "$src/tools/refserver/sample-catalogue.json" \
  "$(dirname "$setup")/../files" -- "$wine_run" "$matrix" "$setup" all-but-api-down | tr -d '\r')
printf '%s\n' "$down" | grep -v '^fault_rows'
printf '%s\n' "$rest" | grep -v '^| fault \|^|---' | grep -v '^fault_rows'
failed=$(printf '%s\n%s\n' "$down" "$rest" | grep -c 'FAILED$')
rows=$(printf '%s\n%s\n' "$down" "$rest" | grep -c '| \(ok\|FAILED\) |$')
echo "fault_rows=$rows failed=$failed"
[ "$failed" -eq 0 ] && [ "$rows" -eq 23 ]
