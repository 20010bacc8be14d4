#!/usr/bin/env bash
# The Windows package as a user gets it: cpack's zip, unpacked. It holds the
# programs and the README in one folder; each program is a single executable
# under 2 MB that needs no DLL beside the system's own.
#   package_test.sh BUILD_FOLDER OBJDUMP VERSION PROGRAM...
set -euo pipefail
build="$1"
objdump="$2"
version="$3"
shift 3
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log"
  exit 1
}
name="decagon-$version-windows-x86_64"
[ -f "$work/$name.zip" ] || {
  echo "no $name.zip: $(ls "$work")"
  exit 1
}
mkdir "$work/unpacked"
(cd "$work/unpacked" && cmake -E tar xf "../$name.zip")
[ -f "$work/unpacked/$name/README.md" ] || fail "no README.md in $name/"

# The system's own DLLs, and nothing else.
system_dlls='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|shlwapi|ole32|oleaut32|windowscodecs|advapi32|msvcrt|uxtheme|ws2_32)\.dll$'
for program in "$@"; do
  file="$work/unpacked/$name/$program"
  if [ ! -f "$file" ]; then
    fail "$program is not in the package"
    continue
  fi
  size=$(stat -c %s "$file")
  echo "$program: $size bytes"
  [ "$size" -lt 2097152 ] || fail "$program takes $size bytes, 2 MB or more"
  "$objdump" -h "$file" | grep -q '\.debug_' && fail "$program is not stripped"
  while read -r dll; do
    echo "$dll" | tr 'A-Z' 'a-z' | grep -Eq "$system_dlls" || fail "$program needs $dll"
  done < <("$objdump" -p "$file" | sed -n 's/^[[:space:]]*DLL Name: //p')
done
if [ "$failures" -gt 0 ]; then exit 1; fi
echo "$name.zip: all checks passed"
