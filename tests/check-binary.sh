#!/usr/bin/env bash
# The built executable: a PE32 GUI program that imports only system DLLs, and whose bytes a
# second clean build reproduces exactly.
#   check-binary.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
src=$1 build=$2
exe=$build/forcequit.exe
failed=0
fail() { echo "FAIL $*"; failed=1; }

headers=$(i686-w64-mingw32-objdump -p "$exe")
grep -q '^Magic.*010b' <<<"$headers" || fail "not PE32"
grep -q 'Subsystem.*(Windows GUI)' <<<"$headers" || fail "not a GUI program"
dlls=$(grep 'DLL Name:' <<<"$headers" | awk '{print tolower($3)}' | sort)
echo "imports:" $dlls
for dll in $dlls; do
  case $dll in
    kernel32.dll|user32.dll|gdi32.dll|comctl32.dll|msvcrt.dll|advapi32.dll|shell32.dll) ;;
    *) fail "imports $dll" ;;
  esac
done
echo "size: $(stat -c %s "$exe") bytes"

again=$(mktemp -d)
trap 'rm -rf "$again"' EXIT
cmake -S "$src" -B "$again" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/toolchain-mingw-i686.cmake" >/dev/null
cmake --build "$again" --target forcequit -j2 >/dev/null
cmp "$exe" "$again/forcequit.exe" || fail "a second build differs"

[ $failed = 0 ] && echo "binary checks passed"
exit $failed
