#!/usr/bin/env bash
# Checks a Lumivex.exe as it is shipped: at most 600,000 bytes for the 32-bit build and 640,000 for the 64-bit
# one, importing only Windows system DLLs (the C and C++ runtimes are linked in), without debug information but
# with a debug link to its symbols file, and without a PE time stamp.
#   tools/check_shipped.sh Lumivex.exe
set -euo pipefail
export TZ=UTC
exe=${1:?usage: tools/check_shipped.sh Lumivex.exe}
[ -f "$exe" ] || { echo "$exe: no such file" >&2; exit 1; }

objdump=objdump
command -v x86_64-w64-mingw32-objdump >/dev/null && objdump=x86_64-w64-mingw32-objdump
headers=$("$objdump" -p "$exe")
case "$("$objdump" -f "$exe")" in
    *pei-i386*) limit=600000 ;;
    *pei-x86-64*) limit=640000 ;;
    *) echo "$exe: not a Windows executable" >&2; exit 1 ;;
esac

failed=0
fail() { echo "$exe: $*" >&2; failed=1; }

size=$(stat -c %s "$exe")
[ "$size" -le "$limit" ] || fail "$size bytes, more than the $limit allowed"

# Known system DLLs only; anything else would have to travel with the program.
system_dlls=" advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msimg32.dll msvcrt.dll ole32.dll
    oleaut32.dll shell32.dll user32.dll "
while read -r dll; do
    lower=${dll,,}
    [[ "$system_dlls" == *" $lower"[[:space:]]* ]] || fail "imports $dll, which is not a system DLL"
done < <(sed -n 's/^\s*DLL Name: //p' <<<"$headers")

sections=$("$objdump" -h "$exe")
! grep -q ' \.debug_' <<<"$sections" || fail "still carries debug information"
grep -q ' \.gnu_debuglink ' <<<"$sections" || fail "has no debug link to its symbols"
grep -Eq '^Time/Date\s+(Thu Jan  1 00:00:00 1970|0)$' <<<"$headers" || fail "has a time stamp: $(grep ^Time/Date <<<"$headers")"

[ $failed = 0 ] && echo "$exe: $size bytes (limit $limit), system DLLs only, symbols apart"
exit $failed
