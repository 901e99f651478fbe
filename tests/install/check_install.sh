#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the installed layout: the program, its
# data folder, the help documents, the desktop entry naming the installed program, the icon, the
# data file types, and a sample data file whose paths point at the installed copies.
# Then the installed program, started with the installed sample under a real X server, processes
# a definition into an output workbook (skipped without Xvfb, openbox and xdotool).
# Usage: check_install.sh <build folder>
set -euo pipefail
build="$1"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

share="$prefix/share/ovik-krv-tessel"
fail() { echo "check_install: $*" >&2; exit 1; }
for f in "$prefix/bin/ovik-krv-tessel" "$share/machine.reg" "$share/Samples/Sample.krvc" \
         "$share/Samples/Sample.xlsx" "$share/Templates/Ovik_KRV_Tessel_Template.xlsx" \
         "$share/Tutorial/Ovik_KRV_Tessel_Tutorial.pdf" \
         "$share/User_Manual/Ovik_KRV_Tessel_User_Manual.pdf" \
         "$share/White_Paper/The_Quiet_S_Curve.pdf" \
         "$prefix/share/icons/hicolor/256x256/apps/ovik-krv-tessel.png" \
         "$prefix/share/icons/hicolor/48x48/apps/ovik-krv-tessel.png" \
         "$prefix/share/mime/packages/ovik-krv-tessel.xml" \
         "$prefix/share/applications/ovik-krv-tessel.desktop"; do
  [ -s "$f" ] || fail "missing: $f"
done
[ -x "$prefix/bin/ovik-krv-tessel" ] || fail "the program is not executable"
grep -qx "Exec=\"$prefix/bin/ovik-krv-tessel\" %f" "$prefix/share/applications/ovik-krv-tessel.desktop" ||
  fail "the desktop entry does not start the installed program"
grep -q 'glob pattern="\*.krvc"' "$prefix/share/mime/packages/ovik-krv-tessel.xml" ||
  fail "the data file type is not declared"
# Every workbook path of the installed sample names a file of the installed data folder.
paths=$(grep -a -E '^(DSF|TF|OF)_DrivePathFilenameExtnXL=' "$share/Samples/Sample.krvc" | cut -d= -f2- | tr -d '\r')
[ -n "$paths" ] || fail "the sample data file names no workbooks"
while IFS= read -r p; do
  case "$p" in
    "$share"/*) ;;
    *) fail "the installed sample names a path outside the installed data folder: $p" ;;
  esac
done <<< "$paths"
grep -a -E '^(DSF|TF)_DrivePathFilenameExtnXL=' "$share/Samples/Sample.krvc" | cut -d= -f2- | tr -d '\r' |
  while IFS= read -r p; do [ -f "$p" ] || fail "the installed sample names a missing workbook: $p"; done
echo "check_install: the installed layout is complete"

status=0
"$(dirname "$0")/../../scripts/xvfb-process-check" "$prefix/bin/ovik-krv-tessel" "$share" || status=$?
case "$status" in
  0) echo "check_install: the installed program processed the installed sample" ;;
  77) echo "check_install: no X server tools; the installed program was not started" ;;
  *) fail "the installed program did not process the installed sample" ;;
esac
