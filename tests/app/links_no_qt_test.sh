#!/usr/bin/env bash
# The command line needs no window system: no Qt library among the libraries it loads, directly or
# through another. Usage: links_no_qt_test.sh PROGRAM
set -uo pipefail
needed=$(readelf -d "$1" | grep NEEDED) || { echo "FAIL: cannot read $1" >&2; exit 1; }
loaded=$(ldd "$1") || { echo "FAIL: ldd $1" >&2; exit 1; }
if grep -qi 'qt' <<<"$needed$loaded"; then
    printf 'FAIL: %s loads Qt:\n%s\n' "$1" "$(grep -i qt <<<"$loaded")" >&2
    exit 1
fi
grep -q 'libpng' <<<"$needed" || { echo "FAIL: no libraries listed for $1" >&2; exit 1; }
echo "$1 loads no Qt"
