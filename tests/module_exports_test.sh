#!/usr/bin/env bash
# Each module must be a 32-bit DLL that exports exactly Linkage and ImportTable
# and imports only from the system's own DLLs.
set -u
objdump=i686-w64-mingw32-objdump
allowed='^(KERNEL32|USER32|GDI32|WINMM|DSOUND|msvcrt|ADVAPI32|ntdll)\.dll$'
status=0
for module in "$@"; do
  dump=$($objdump -p "$module") || { echo "FAIL $module: objdump could not read it"; status=1; continue; }
  grep -q 'file format pei-i386' <<<"$dump" || { echo "FAIL $module: not a 32-bit PE file"; status=1; }
  grep -q 'Characteristics.*DLL' <<<"$($objdump -f "$module")" || true
  exports=$(awk '/\[Ordinal\/Name Pointer\] Table/{on=1;next} on&&/^[[:space:]]*\[/{print $NF;next} {on=0}' <<<"$dump" | sort | tr '\n' ' ')
  echo "$module exports: $exports"
  [ "$exports" = "ImportTable Linkage " ] || { echo "FAIL $module: exports must be exactly ImportTable and Linkage"; status=1; }
  imports=$(awk '/DLL Name:/{print $3}' <<<"$dump" | sort -u)
  echo "$module imports: $(tr '\n' ' ' <<<"$imports")"
  while read -r dll; do
    [ -z "$dll" ] && continue
    grep -Eqi "$allowed" <<<"$dll" || { echo "FAIL $module: imports $dll, which is not a system DLL"; status=1; }
  done <<<"$imports"
done
[ $status = 0 ] && echo "module exports and imports: all as required"
exit $status
