#!/usr/bin/env bash
# The built program: PE32, Intel 80386, GUI subsystem, statically linked, stripped.
set -u
export LC_ALL=C
exe=$1 objdump=$2
fails=0
check() { if eval "$2"; then echo "ok   $1"; else echo "FAIL $1"; fails=$((fails + 1)); fi; }
headers=$("$objdump" -p "$exe")
check "PE32 for Intel 80386" "file -b '$exe' | grep -q 'PE32 executable (GUI) Intel 80386'"
check "GUI subsystem" "grep -q 'Subsystem.*(Windows GUI)' <<<\"\$headers\""
dlls=$(grep 'DLL Name' <<<"$headers" | awk '{print tolower($3)}' | sort -u | tr '\n' ' ')
echo "imports: $dlls"
check "no mingw run-time DLL" "! grep -qE 'libgcc|libstdc|libwinpthread|mingw' <<<\"$dlls\""
check "only system DLLs" "! grep -qvE '^(kernel32|user32|gdi32|advapi32|shell32|shlwapi|ole32|oleaut32|wininet|gdiplus|comctl32|comdlg32|dbghelp|msvcrt|version|uuid)\.dll$' <<<\"\$(tr ' ' '\n' <<<\"$dlls\" | grep .)\""
check "stripped (no symbol table)" "\"$objdump\" -t '$exe' | grep -q 'no symbols'"
[ $fails -eq 0 ]
