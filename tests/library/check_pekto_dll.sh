#!/usr/bin/env bash
# Checks the export table of the Windows pekto.dll: every routine under its stdcall-decorated
# name and its upper-case alias, both at the same address, each returning with "ret $N" for
# its N argument bytes, and no run-time DLLs beyond the system's.
#   check_pekto_dll.sh OBJDUMP DLL
set -euo pipefail
OBJDUMP="$1"
DLL="$2"
headers=$("$OBJDUMP" -p "$DLL")
status=0
fail() {
    echo "FAIL: $*"
    status=1
}

grep -q 'file format pei-i386' <<<"$headers" || fail "not a 32-bit x86 DLL"

# Export address table: ordinal index -> RVA; name table: name -> ordinal index.
declare -A rva_of_index name_index
while read -r idx rva; do
    rva_of_index[$idx]=$rva
done < <(sed -n '/^Export Address Table -- Ordinal Base/,/^$/p' <<<"$headers" |
    sed -nE 's/^\s*\[\s*([0-9]+)\] \+base\[\s*[0-9]+\]\s+([0-9a-f]+) Export RVA.*/\1 \2/p')
while read -r idx name; do
    name_index[$name]=$idx
done < <(sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$headers" |
    sed -nE 's/^\s*\[\s*([0-9]+)\] (\S+)$/\1 \2/p')

((${#name_index[@]} == 8)) || fail "expected 8 exported names, found ${#name_index[@]}: ${!name_index[*]}"

image_base=$(sed -nE 's/^ImageBase\s+([0-9a-f]+)$/\1/p' <<<"$headers")
[[ -n "$image_base" ]] || fail "no ImageBase"

check_routine() {
    local decorated="$1" alias="$2" bytes="$3" before=$status
    local d="${name_index[$decorated]:-}" a="${name_index[$alias]:-}"
    [[ -n "$d" ]] || { fail "$decorated is not exported"; return; }
    [[ -n "$a" ]] || { fail "$alias is not exported"; return; }
    local rva_d="${rva_of_index[$d]}" rva_a="${rva_of_index[$a]}"
    [[ "$rva_d" == "$rva_a" ]] || fail "$alias ($rva_a) and $decorated ($rva_d) differ"
    # The callee pops its arguments: the routine's first return pops exactly `bytes`.
    local start=$((0x$image_base + 0x$rva_d))
    local ret
    ret=$("$OBJDUMP" -d --start-address=$start --stop-address=$((start + 4096)) "$DLL" |
        grep -m1 -E '\sret[l]?(\s|$)' || true)
    local want
    want=$(printf '0x%x' "$bytes")
    grep -qE "ret[l]?\s+\\\$$want\$" <<<"$ret" || fail "$decorated returns with '$ret', want ret \$$want"
    ((status != before)) || echo "ok: $decorated = $alias at RVA 0x$rva_d, pops $bytes bytes"
}

check_routine _CalSpectrum@36 CALSPECTRUM 36
check_routine _fFindPeak@16 FINDPEAK 16
check_routine _fCentroid@12 CENTROID 12
check_routine _CorrectSpectrum@32 CORRECTSPECTRUM 32

# A caller needs nothing but the DLL: no mingw run-time DLLs.
if grep -iE 'DLL Name: (libgcc|libstdc|libwinpthread)' <<<"$headers"; then
    fail "pekto.dll needs a mingw run-time DLL"
fi

exit $status
