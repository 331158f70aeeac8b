#!/usr/bin/env bash
# The reference server: app-info replies, downloads with byte ranges and faults, the echo
# endpoints, start-up and stopping. Loopback only; every request has a time limit.
set -u
server=$1 catalogue=$2
export LC_ALL=C.UTF-8
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fails=0
check() {  # check DESCRIPTION COMMAND...: the command must succeed
  local what=$1; shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what"; fails=$((fails + 1)); fi
}
c() { curl -sS --max-time 10 "$@"; }
header() {  # header FILE NAME: the value of the first header line NAME (any case) in a dump
  grep -i "^$2:" "$1" | head -1 | sed -E 's/^[^:]*: ?//' | tr -d '\r'
}
status() { head -1 "$1" | cut -d' ' -f2; }

# start NAME ARGS...: runs the server on a free port; sets pid and origin.
start() {
  local name=$1; shift
  "$server" --port 0 "$@" >"$work/$name.out" 2>"$work/$name.err" &
  pid=$!
  pids+=("$pid")
  for _ in $(seq 200); do  # up to 10 s
    grep -q '^refserver listening on ' "$work/$name.out" && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  origin=$(sed -n 's/^refserver listening on //p' "$work/$name.out")
  [ -n "$origin" ]
}

mkdir "$work/files"
head -c 100000 /dev/urandom >"$work/files/app.bin"
head -c 20000 /dev/urandom >"$work/files/slow-app.bin"
cp "$work/files/app.bin" "$work/files/broken-app.bin"
cp "$work/files/app.bin" "$work/files/YunTing.exe"
echo "not for download" >"$work/secret.txt"

check "starts and announces its address" start main --catalogue "$catalogue" --files "$work/files"
check "prints exactly one line on stdout" \
  grep -qxE 'refserver listening on http://127\.0\.0\.1:[0-9]+' "$work/main.out"
port=${origin##*:}
tables=(/proc/net/tcp)
[ -r /proc/net/tcp6 ] && tables+=(/proc/net/tcp6)
listeners=$(awk -v p="$(printf '%04X' "$port")" '$4 == "0A" && $2 ~ ":" p "$" {print $2}' "${tables[@]}")
check "listens on 127.0.0.1 only" test "$listeners" = "0100007F:$(printf '%04X' "$port")"

# ---- App-info API: each case is "query|python condition" on the raw reply b and the reply
# decoded from code page 936, d (None when it is not JSON); o is the origin.
key=Hb4QyTk8PvWs2DmXc6RaJf0LzNu5EgYi
q="app_id=1&secret_key=$key&agent_id"
F="('name','display_name','crypt','oem_status','create_time','update_time','version','down_url','icon','comment','announcement','soft_version','soft_down_url','dll_version','dll_down_url','update_log','agreement')"
# The digests that {sha256:PATH} stands for.
app_sha=$(sha256sum "$work/files/app.bin" | cut -d' ' -f1)
gen3_sha=$(python3 -c 'import hashlib; n = 3145728; print(hashlib.sha256((bytes(range(251)) * (n // 251 + 1))[:n]).hexdigest())')
gen1_sha=$(python3 -c 'import hashlib; n = 1048576; print(hashlib.sha256((bytes(range(251)) * (n // 251 + 1))[:n]).hexdigest())')
api_cases=(
  "$q=41159|d['code'] == 1 and all(k in d['data'] for k in $F) and len(d['data']) == 20"
  "$q=41159|d['data']['agent_info'] == {'id': 41159} and d['data']['agent_app']['app_name'] == '云听音乐' and d['data']['agent_app']['app_icon'] == o + '/files/logo.ico'"
  "$q=41159|'云听音乐'.encode('gbk') in b and '云听音乐'.encode('utf-8') not in b and b'\\\\u' not in b"
  "$q=41159|d['data']['soft_down_url'] == o + '/files/YunTing.exe' and b'{origin}' not in b and d['data']['crypt'] == 0"
  "$q=41160|b.isascii() and b'\\\\u4e91\\\\u542c' in b and d['data']['agent_app']['app_name'] == '云听音乐'"
  "$q=41160|d['data']['soft_down_url'] == o + '/gen/3145728/YunTing.exe' and d['data']['agent_info']['id'] == 41160"
  "app_id=1&secret_key=wrong&agent_id=41159|d == {'code': 0, 'content': '应用编号或密钥错误'} and not b.isascii()"
  "app_id=2&secret_key=$key&agent_id=41159|d == {'code': 0, 'content': '应用编号或密钥错误'}"
  "app_id=1&agent_id=41159|d['code'] == 0"
  "$q=9|d == {'code': 0, 'content': '代理不存在或已删除'} and b.isascii()"
  "app_id=1&secret_key=$key|d['code'] == 0 and 'data' not in d"
  "$q=100|d['code'] == 1.9 and d['data']['name'] == 'yunting'"
  "$q=101|d == {'code': 0.9, 'content': '服务维护中，请稍后再试'}"
  "$q=102|d == {'code': 2, 'content': '该代理已停用'}"
  "$q=103|d == {'code': 1}"
  "$q=104|d is None and b.startswith(b'<!DOCTYPE html>')"
  "$q=105|'agent_app' not in d['data'] and d['data']['name'] == 'yunting' and len(d['data']) == 18"
  "$q=41159|d['data']['soft_sha256'] == '$app_sha' and b'{sha256:' not in b"
  "$q=41160|d['data']['soft_sha256'] == '$gen3_sha'"
  "$q=119|d['data']['soft_sha256'] == '0' * 64"
  "$q=120|d['data']['soft_sha256'] == '$gen1_sha' and d['data']['soft_down_url'].endswith('?fault=cut-first&after=300000')"
  "$q=106|d['data']['agent_app']['app_name'] == '..\\\\x'"
  "$q=107|d['data']['agent_app']['app_name'] == 'a:b'"
  "$q=108|d['data']['agent_app']['app_name'] == 'CON'"
  "$q=109|d['data']['agent_app']['app_name'] == ''"
  "$q=110|d['data']['soft_down_url'] == o + '/gen/1048576/YunTing.exe?fault=trickle'"
)
for i in "${!api_cases[@]}"; do
  c "$origin/app_api/getapp?${api_cases[$i]%%|*}" -o "$work/api$i.json"
done
python3 - "$work" "$origin" "${api_cases[@]}" <<'PY' || fails=$((fails + 1))
import json, sys
work, o, cases = sys.argv[1], sys.argv[2], sys.argv[3:]
bad = 0
for i, case in enumerate(cases):
    query, cond = case.split("|", 1)
    b = open(f"{work}/api{i}.json", "rb").read()
    try:
        d = json.loads(b.decode("gbk"))
    except ValueError:
        d = None
    try:
        ok = bool(eval(cond))
    except Exception:
        ok = False
    print(("ok   " if ok else "FAIL ") + f"getapp?{query}: {cond}")
    bad += not ok
sys.exit(1 if bad else 0)
PY
c -D "$work/h" -o /dev/null "$origin/app_api/getapp?$q=41159"
check "GBK replies say so" test "$(header "$work/h" Content-Type)" = "application/json; charset=GBK"

# ---- Downloads.
c -D "$work/h" -o "$work/got" "$origin/files/app.bin"
check "a file: 200 with its length" test "$(status "$work/h"):$(header "$work/h" Content-Length)" = 200:100000
check "a file: its bytes" cmp -s "$work/got" "$work/files/app.bin"
c -I -o "$work/h" "$origin/files/app.bin"
check "HEAD of a file: the length only" test "$(status "$work/h"):$(header "$work/h" Content-Length)" = 200:100000

# "Range header line|status|Content-Range|first byte|byte count"
range_cases=(
  "Range: bytes=1000-|206|bytes 1000-99999/100000|1000|99000"
  "Range:bytes=1000-|206|bytes 1000-99999/100000|1000|99000"
  "Range: bytes=0-99|206|bytes 0-99/100000|0|100"
  "Range: bytes=-100|206|bytes 99900-99999/100000|99900|100"
  "Range: bytes=99999-200000|206|bytes 99999-99999/100000|99999|1"
  "Range: bytes=100000-|416|bytes */100000|0|0"
)
for case in "${range_cases[@]}"; do
  IFS='|' read -r line want_status want_range from count <<<"$case"
  c -H "$line" -D "$work/h" -o "$work/got" "$origin/files/app.bin"
  check "$line: status $want_status, $want_range" \
    test "$(status "$work/h")|$(header "$work/h" Content-Range)|$(header "$work/h" Content-Length)" \
    = "$want_status|$want_range|$count"
  check "$line: the right bytes" \
    cmp -s "$work/got" <(tail -c +$((from + 1)) "$work/files/app.bin" | head -c "$count")
done
c -H "Range:bytes=1000-" "$origin/echo" -o "$work/got"
check "the range line goes out without a space" grep -qx 'header: Range:bytes=1000-' "$work/got"

python3 -c 'import sys; n = 1048576; sys.stdout.buffer.write((bytes(range(251)) * (n // 251 + 1))[:n])' \
  >"$work/gen"
c -D "$work/h" -o "$work/got" "$origin/gen/1048576"
check "a generated file: its length" test "$(header "$work/h" Content-Length)" = 1048576
check "a generated file: byte i is i % 251" cmp -s "$work/got" "$work/gen"
c -H "Range:bytes=1000000-" -D "$work/h" -o "$work/got" "$origin/gen/1048576/YunTing.exe"
check "a generated file with a name, from 1000000" \
  test "$(status "$work/h")|$(header "$work/h" Content-Range)" = "206|bytes 1000000-1048575/1048576"
check "a generated file from 1000000: its bytes" cmp -s "$work/got" <(tail -c +1000001 "$work/gen")

# "path|status|Content-Type|Content-Length ('-': none, '*': any)|Transfer-Encoding|bytes
# received ('*': any)|curl exit"
fault_cases=(
  "/files/missing.bin|404|text/html|*||*|0"
  "/files/../secret.txt|404|text/html|*||*|0"
  "/files/%2E%2E/secret.txt|404|text/html|*||*|0"
  "/files/app.bin?fault=not-found|404|text/html|*||*|0"
  "/files/app.bin?fault=server-error|500|text/html|*||*|0"
  "/files/app.bin?fault=chunked|200|application/octet-stream|-|chunked|100000|0"
  "/files/app.bin?fault=empty|200|application/octet-stream|0||0|0"
  "/files/app.bin?fault=cut|200|application/octet-stream|100000||1000|18"
  "/files/app.bin?fault=cut&after=5000|200|application/octet-stream|100000||5000|18"
  "/files/broken-app.bin|200|application/octet-stream|100000||4096|18"
  "/gen/300000?fault=cut&after=0|200|application/octet-stream|300000||0|18"
  "/files/app.bin?fault=cut-first|200|application/octet-stream|100000||1000|18"
  "/files/app.bin?fault=cut-first-no-range&after=7|200|application/octet-stream|100000||7|18"
)
for case in "${fault_cases[@]}"; do
  IFS='|' read -r path want_status want_type want_length want_te want_bytes want_rc <<<"$case"
  rm -f "$work/got"
  c --path-as-is -D "$work/h" -o "$work/got" "$origin$path" 2>/dev/null
  rc=$?
  length=$(header "$work/h" Content-Length)
  got_bytes=$(stat -c %s "$work/got" 2>/dev/null || echo 0)  # curl makes no file of 0 bytes
  [ "$want_length" = '*' ] && length='*'
  [ "$want_bytes" = '*' ] && got_bytes='*'
  check "$path: $want_status, length ${want_length}, $want_bytes bytes received, curl $want_rc" \
    test "$(status "$work/h")|$(header "$work/h" Content-Type)|${length:--}|$(header "$work/h" Transfer-Encoding)|$got_bytes|$rc" \
    = "$want_status|$want_type|$want_length|$want_te|$want_bytes|$want_rc"
done
c -o "$work/got" "$origin/files/app.bin?fault=server-error"
check "the server error page is HTML" grep -q '<h1>500 Internal Server Error</h1>' "$work/got"
c -o "$work/got" "$origin/files/app.bin?fault=chunked"
check "chunked: every byte" cmp -s "$work/got" "$work/files/app.bin"
c -H "Range: bytes=1000-" -D "$work/h" -o "$work/got" "$origin/files/app.bin?fault=cut" 2>/dev/null
check "cut after a range: announces the rest, sends 1000 bytes of it" \
  test "$(header "$work/h" Content-Length):$(stat -c %s "$work/got")" = 99000:1000
check "cut after a range: the bytes from the offset" \
  cmp -s "$work/got" <(tail -c +1001 "$work/files/app.bin" | head -c 1000)

# Cut first, then resumed: "fault|status|Content-Range|first byte"
for case in "cut-first|206|bytes 1000-99999/100000|1000" "cut-first-no-range|200||0"; do
  IFS='|' read -r fault want_status want_range from <<<"$case"
  c -H "Range:bytes=1000-" -D "$work/h" -o "$work/got" "$origin/files/app.bin?fault=$fault"
  check "$fault, resumed: $want_status from byte $from, uncut" \
    test "$(status "$work/h")|$(header "$work/h" Content-Range)" = "$want_status|$want_range"
  check "$fault, resumed: the bytes" cmp -s "$work/got" <(tail -c +$((from + 1)) "$work/files/app.bin")
done

# Trickles: "path|least seconds|file to compare"
trickle_cases=(
  "/files/slow-app.bin|0.18|$work/files/slow-app.bin"
  "/gen/20000?fault=trickle&chunk=5000&interval_ms=100|0.28|-"
)
for case in "${trickle_cases[@]}"; do
  IFS='|' read -r path least expect <<<"$case"
  [ "$expect" = - ] && { head -c 20000 "$work/gen" >"$work/expect"; expect=$work/expect; }
  took=$(c -o "$work/got" -w '%{time_total}' "$origin$path")
  check "$path takes at least ${least}s (took ${took}s)" awk -v t="$took" -v l="$least" 'BEGIN {exit !(t >= l)}'
  check "$path completes" cmp -s "$work/got" "$expect"
done

# Long reply headers: "path|body"
for case in "/long-headers|long headers" "/files/app.bin?fault=long-headers|-"; do
  path=${case%%|*} body=${case#*|}
  c -D "$work/h" -o "$work/got" "$origin$path"
  check "$path: a header block of more than 5000 bytes" test "$(stat -c %s "$work/h")" -gt 5000
  check "$path: four cookie lines in four letter cases" \
    test "$(grep -i '^set-cookie:' "$work/h" | cut -d: -f1 | sort -u | wc -l)" -eq 4
  check "$path: the cookies" grep -q $'^set-cookie: sid=9; Path=/\r$' "$work/h"
  if [ "$body" = - ]; then
    check "$path: the file" cmp -s "$work/got" "$work/files/app.bin"
  else
    check "$path: the body" test "$(cat "$work/got")" = "$body"
  fi
done

# ---- Echo, cookies, redirects.
c -H "User-Agent:" -H "Accept:" -H "Zeta: 1" -H "alpha:two" -H "Range:bytes=1000-" \
  "$origin/echo?q=%41&b" -o "$work/got"
printf 'method: GET\ntarget: /echo?q=%%41&b\nversion: HTTP/1.1\nheader: Host: 127.0.0.1:%s\nheader: Zeta: 1\nheader: alpha:two\nheader: Range:bytes=1000-\nbody-length: 0\nbody-hex: \n' \
  "$port" >"$work/expect"
check "echo: the request exactly as sent, headers in order" cmp -s "$work/got" "$work/expect"
printf '\0\377A' >"$work/body3"
c -X PUT --data-binary @"$work/body3" "$origin/echo" -o "$work/got"
check "echo: PUT with binary body" grep -qz $'method: PUT\n.*body-length: 3\nbody-hex: 00ff41\n' "$work/got"
head -c 10000 /dev/zero | tr '\0' 'a' >"$work/form"
c -d @"$work/form" "$origin/echo" -o "$work/got" -D "$work/h"
check "echo: a 10000-byte form POST" \
  test "$(status "$work/h"):$(grep '^body-length' "$work/got")" = "200:body-length: 10000"
c -X GET --data-binary hello "$origin/echo" "$origin/echo?second" -w '%{num_connects}\n' \
  -o "$work/got1" -o "$work/got2" >"$work/connects"
check "echo: GET with a body, twice on one connection" \
  test "$(grep -h '^body-hex' "$work/got1" "$work/got2" | tr '\n' ' ')$(awk '{n += $1} END {print n}' "$work/connects")" \
  = "body-hex: 68656c6c6f body-hex: 68656c6c6f 1"
exec 3<>"/dev/tcp/127.0.0.1/$port"
printf 'HEAD /echo HTTP/1.1\r\nHost: x\r\nContent-Length: 5\r\nConnection: close\r\n\r\nhello' >&3
timeout 5 cat <&3 >"$work/h"
exec 3<&-
check "echo: HEAD with a body tells its length and bytes in headers" \
  test "$(header "$work/h" X-Echo-Method)|$(header "$work/h" X-Echo-Body-Length)|$(header "$work/h" X-Echo-Body-Hex)" \
  = "HEAD|5|68656c6c6f"
check "echo: HEAD gets no body" test "$(tail -c 4 "$work/h" | od -An -tx1 | tr -d ' ')" = 0d0a0d0a

c -D "$work/h" -o "$work/got" "$origin/cookies"
check "cookies: set-cookie: sid=9; Path=/" grep -q $'^set-cookie: sid=9; Path=/\r$' "$work/h"
check "cookies: SET-COOKIE: lang=cn" grep -q $'^SET-COOKIE: lang=cn\r$' "$work/h"

c -D "$work/h" -o /dev/null "$origin/redirect?to=/echo%3Fr%3D1"
check "redirect: 302 to the path" test "$(status "$work/h"):$(header "$work/h" Location)" = "302:/echo?r=1"
c -L -o "$work/got" "$origin/redirect?to=/echo%3Fr%3D1"
check "redirect: followed to the echo" grep -qx 'target: /echo?r=1' "$work/got"
for to in "http://127.0.0.2/" "//127.0.0.2/x" "" "echo"; do
  c -D "$work/h" -o /dev/null "$origin/redirect?to=$to"
  check "redirect: refuses '$to'" test "$(status "$work/h")" = 400
done

# ---- Stopping, and refusing to start.
slow="$origin/gen/1000000?fault=trickle&chunk=1000&interval_ms=100"
c -o /dev/null "$slow" 2>/dev/null &
sleep 0.3
begin=$(date +%s%N)
kill -TERM "$pid"
wait "$pid"
rc=$?
ms=$((($(date +%s%N) - begin) / 1000000))
check "SIGTERM during a download stops it cleanly within 2 s (exit $rc, ${ms} ms)" \
  test "$rc" -eq 0 -a "$ms" -lt 2000
wait

check "starts a second time" start second
kill -INT "$pid"
wait "$pid"
check "SIGINT stops it cleanly" test $? -eq 0

start taken --catalogue "$catalogue"
"$server" --port "${origin##*:}" --catalogue "$catalogue" >/dev/null 2>"$work/err"
check "a port in use: exit 1 with a message" test "$?:$(grep -c 'cannot listen' "$work/err")" = 1:1

# "what|catalogue text"
bad_catalogues=(
  "not JSON|{"
  "an unknown member|{\"agentz\": {}}"
  "an agent key that is no id|{\"agents\": {\"x1\": {}}}"
  "an agent key beyond int32|{\"agents\": {\"2147483648\": {}}}"
  "an unknown API fault|{\"agents\": {\"5\": {\"fault\": \"boom\"}}}"
  "data with a refusal|{\"agents\": {\"5\": {\"fault\": \"refuse\", \"data\": {}}}}"
  "an unknown file fault|{\"files\": [{\"fault\": \"boom\"}]}"
  "a zero chunk|{\"files\": [{\"fault\": \"trickle\", \"chunk\": 0}]}"
  "a text outside code page 936|{\"agents\": {\"5\": {\"data\": {\"name\": \"\\ud83d\\ude00\"}}}}"
)
for case in "${bad_catalogues[@]}"; do
  printf '%s' "${case#*|}" >"$work/bad.json"
  "$server" --port 0 --catalogue "$work/bad.json" >"$work/out" 2>"$work/err"
  check "refuses a catalogue with ${case%%|*}" \
    test "$?|$(wc -c <"$work/out")|$(grep -c "bad.json" "$work/err")" = "2|0|1"
done
"$server" --port 0 --files "$work/secret.txt" >/dev/null 2>&1
check "refuses --files that is no folder" test $? -eq 2
"$server" --port 70000 >/dev/null 2>&1
check "refuses a port beyond 65535" test $? -eq 2

[ $fails -eq 0 ]
