#!/usr/bin/env bash
# The branding tool's command line: what it writes, what it shows, what it refuses.
# usage: brand_cli_test.sh ASSETS TOOL [ARGS...]   (TOOL may be a wrapper such as wine-run)
set -u
assets=$1
shift
tool=("$@")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fails=0
# show FILE: runs `show`, leaving its output (line ends normalised) in $out and status in $rc.
show() {
  "${tool[@]}" show "$1" >"$work/show.txt"
  rc=$?
  out=$(tr -d '\r' <"$work/show.txt")
}
check() {  # check DESCRIPTION COMMAND...: the command must succeed
  local what=$1; shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what"; fails=$((fails + 1)); fi
}

# A minimal PE32 template: MZ, e_lfanew 0x80, one section ending at 1024.
python3 - "$work/template.exe" <<'PY'
import struct, sys
f = bytearray(1024)
f[0:2] = b'MZ'
struct.pack_into('<I', f, 0x3C, 0x80)
struct.pack_into('<I', f, 0x80, 0x4550)
struct.pack_into('<H', f, 0x86, 1)
struct.pack_into('<H', f, 0x94, 224)
struct.pack_into('<H', f, 0x98, 0x10B)
struct.pack_into('<II', f, 0x98 + 224 + 16, 512, 512)
f[1000:] = b'PADDINGXX' * 2 + b'PADDIN'
open(sys.argv[1], 'wb').write(f)
PY
cp "$work/template.exe" "$work/template.orig"

"${tool[@]}" brand "$work/template.exe" --agent-id 41159 --icon "$assets/agent-sample.ico" -o "$work/b.exe" >/dev/null
check "brand exits 0" test $? -eq 0
check "template unchanged" cmp -s "$work/template.exe" "$work/template.orig"
size=$(stat -c %s "$work/b.exe")
check "trailer is 67,135 bytes" test $((size - 1024)) -eq 67135
check "trailer starts 05 00 00 00" test "$(od -An -tx1 -j1024 -N4 "$work/b.exe" | tr -d ' ')" = 05000000
check "trailer ends 3B 06 01 00" test "$(tail -c4 "$work/b.exe" | od -An -tx1 | tr -d ' ')" = 3b060100
check "icon carried byte for byte" cmp -s <(tail -c +$((1024 + 14)) "$work/b.exe" | head -c 67118) "$assets/agent-sample.ico"
check "no temporary file left" test "$(ls "$work" | grep -c partial)" -eq 0

show "$work/b.exe"
check "show exits 0 on a branded copy" test $rc -eq 0
check "show prints what the program reads" test "$out" = "$(printf 'agent_id_text=41159\nagent_id=41159\nicon_bytes=67118\nsigned=no\ntrailer_in_signature=no')"

show "$work/template.exe"
check "show says unbranded and exits 1" test "$rc:$out" = "$(printf '1:unbranded\nsigned=no')"

"${tool[@]}" brand "$work/template.exe" --agent-id 7 -o "$work/noicon.exe" >/dev/null
check "without --icon the trailer carries none" eval 'show "$work/noicon.exe"; grep -qx icon_bytes=0 <<<"$out"'

refused() {  # refused DESCRIPTION ARGS...: exit 2, one line on stderr, no output file
  local what=$1; shift
  rm -f "$work/r.exe"
  local err; err=$("${tool[@]}" "$@" 2>&1 >/dev/null); local rc=$?
  if [ $rc -eq 2 ] && [ ! -e "$work/r.exe" ] && [ -n "$err" ]; then echo "ok   refuses $what"
  else echo "FAIL refuses $what (rc=$rc, err=$err)"; fails=$((fails + 1)); fi
}
printf 'not an icon at all' > "$work/bad.ico"
head -c 100 "$assets/agent-sample.ico" > "$work/short.ico"
refused "a non-digit id" brand "$work/template.exe" --agent-id 12a -o "$work/r.exe"
refused "agent id 0" brand "$work/template.exe" --agent-id 0 -o "$work/r.exe"
refused "an id beyond int32" brand "$work/template.exe" --agent-id 2147483648 -o "$work/r.exe"
refused "a negative id" brand "$work/template.exe" --agent-id -5 -o "$work/r.exe"
refused "an invalid icon" brand "$work/template.exe" --agent-id 5 --icon "$work/bad.ico" -o "$work/r.exe"
refused "a truncated icon" brand "$work/template.exe" --agent-id 5 --icon "$work/short.ico" -o "$work/r.exe"
refused "a missing icon" brand "$work/template.exe" --agent-id 5 --icon "$work/none.ico" -o "$work/r.exe"
refused "a branded template" brand "$work/b.exe" --agent-id 5 -o "$work/r.exe"
refused "an unreadable template" brand "$work/missing.exe" --agent-id 5 -o "$work/r.exe"
refused "a template that is no executable" brand "$work/bad.ico" --agent-id 5 -o "$work/r.exe"
refused "an unwritable output" brand "$work/template.exe" --agent-id 5 -o "$work/no/such/dir/r.exe"
refused "missing -o" brand "$work/template.exe" --agent-id 5
refused "overwriting the template" brand "$work/template.exe" --agent-id 5 -o "$work/template.exe"
check "template still unchanged" cmp -s "$work/template.exe" "$work/template.orig"

"${tool[@]}" brand "$work/b.exe" --agent-id 99 --replace -o "$work/re.exe" >/dev/null
check "--replace swaps the trailer" eval 'show "$work/re.exe"; test "$(head -1 <<<"$out")" = agent_id_text=99'
check "--replace keeps the image" cmp -s <(head -c 1024 "$work/re.exe") "$work/template.orig"
check "--replace leaves one trailer" test "$(stat -c %s "$work/re.exe")" -eq $((1024 + 14))

[ $fails -eq 0 ]
