#!/usr/bin/env bash
# Branding a template signed with a real Authenticode signature (osslsigncode,
# throw-away self-signed certificate): the branded copies still verify, the
# program's reader finds the id, and an unsigned template brands as before.
# usage: signed_brand_test.sh ASSETS TEMPLATE TOOL [ARGS...]
#   TEMPLATE "-" makes a small PE32; TOOL may be a wrapper such as wine-run.
set -u
assets=$1
templ=$2
shift 2
tool=("$@")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fails=0
check() {  # check DESCRIPTION COMMAND...: the command must succeed
  local what=$1; shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what"; fails=$((fails + 1)); fi
}
show() {  # show FILE: `show` output (line ends normalised) in $out
  out=$("${tool[@]}" show "$1" 2>/dev/null | tr -d '\r')
}
line() { grep -x "$1" <<<"$out" >/dev/null; }
verifies() {  # verifies FILE: osslsigncode accepts the signature and the PE checksum
  # (a wrong checksum is a warning: "invalid PE checksum" in 2.9, "MISMATCH" in 2.5)
  osslsigncode verify -CAfile "$work/cert.pem" -in "$1" >"$work/verify.txt" 2>&1 &&
    ! grep -qE 'invalid PE checksum|MISMATCH' "$work/verify.txt"
}
# trailer ID: the trailer built independently of the tool, with the sample icon.
trailer() {
  python3 - "$1" "$assets/agent-sample.ico" <<'PY'
import struct, sys
agent, icon = sys.argv[1].encode(), open(sys.argv[2], 'rb').read()
sys.stdout.buffer.write(struct.pack('<I', len(agent)) + agent + struct.pack('<I', len(icon)) +
                        icon + struct.pack('<I', 8 + len(agent) + len(icon)))
PY
}

if [ "$templ" = - ]; then  # PE32: headers, one .text section of 512 bytes ("ret")
  templ=$work/template.exe
  python3 - "$templ" <<'PY'
import struct, sys
f = bytearray(1024)
f[0:2] = b'MZ'
struct.pack_into('<I', f, 0x3C, 0x80)
struct.pack_into('<IHHIIIHH', f, 0x80, 0x4550, 0x14C, 1, 0, 0, 0, 224, 0x0102)
struct.pack_into('<HBBIIIIIIIIIHHHHHHIIIIHHIIIIII', f, 0x98, 0x10B, 2, 0, 0x200, 0, 0, 0x1000,
                 0x1000, 0x1000, 0x400000, 0x1000, 0x200, 4, 0, 0, 0, 4, 0, 0, 0x2000, 0x200, 0,
                 3, 0, 0x100000, 0x1000, 0x100000, 0x1000, 0, 16)
f[0x178:0x180] = b'.text\0\0\0'
struct.pack_into('<IIIIIIHHI', f, 0x180, 0x200, 0x1000, 0x200, 0x200, 0, 0, 0, 0, 0x60000020)
f[0x200] = 0xC3
open(sys.argv[1], 'wb').write(f)
PY
fi

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj '/CN=Setup signing test' \
  -addext extendedKeyUsage=codeSigning -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
osslsigncode sign -certs "$work/cert.pem" -key "$work/key.pem" -in "$templ" \
  -out "$work/signed.exe" >/dev/null
check "the signed template verifies" verifies "$work/signed.exe"
show "$work/signed.exe"
check "show: the template is signed and unbranded" eval 'line unbranded && line signed=yes'

# Agent ids of 1..8 digits make every padding 0..7 occur.
paddings=
for id in 1 12 123 1234 12345 123456 1234567 12345678; do
  b=$work/b$id.exe
  "${tool[@]}" brand "$work/signed.exe" --agent-id $id --icon "$assets/agent-sample.ico" -o "$b" >/dev/null
  check "id $id: branded copy verifies" verifies "$b"
  show "$b"
  check "id $id: show finds the id inside the signature" eval \
    'line agent_id_text=$id && line signed=yes && line trailer_in_signature=yes'
  check "id $id: the trailer ends the file" cmp -s <(trailer $id) <(tail -c $((67118 + 12 + ${#id})) "$b")
  paddings="$paddings $(sed -n 's/^signature_padding=//p' <<<"$out")"
done
check "paddings 0..7 all occur (got$paddings)" test "$(tr ' ' '\n' <<<"$paddings" | sort -n | tr -d '\n')" = 01234567

# Control: the trailer appended after the table, as before, breaks the signature.
cat "$work/signed.exe" <(trailer 41159) >"$work/appended.exe"
check "control: a trailer after the table does not verify" eval '! verifies "$work/appended.exe"'
show "$work/appended.exe"
check "control: show says the trailer is outside" line trailer_in_signature=no

"${tool[@]}" brand "$work/b123.exe" --agent-id 99 --icon "$assets/agent-sample.ico" --replace -o "$work/r1.exe" >/dev/null
"${tool[@]}" brand "$work/appended.exe" --agent-id 99 --icon "$assets/agent-sample.ico" --replace -o "$work/r2.exe" >/dev/null
"${tool[@]}" brand "$work/signed.exe" --agent-id 99 --icon "$assets/agent-sample.ico" -o "$work/b99.exe" >/dev/null
check "--replace on a branded signed copy: as branding the template" cmp -s "$work/r1.exe" "$work/b99.exe"
check "--replace on an appended copy moves the trailer inside" cmp -s "$work/r2.exe" "$work/b99.exe"
check "the replaced copy verifies" verifies "$work/r1.exe"

"${tool[@]}" brand "$templ" --agent-id 41159 --icon "$assets/agent-sample.ico" -o "$work/unsigned.exe" >/dev/null
check "an unsigned template: template + trailer, byte for byte" \
  cmp -s "$work/unsigned.exe" <(cat "$templ" <(trailer 41159))
show "$work/unsigned.exe"
check "show: unsigned, trailer outside" eval 'line signed=no && line trailer_in_signature=no'

[ $fails -eq 0 ]
