#!/usr/bin/env bash
# A command line built otherwise (without the window, or by the Debian package with Debian's flags)
# answers as the tested one: it loads no Qt, and draws, to the byte, what the tested build draws
# (raster, vector, an equation surface, a labelled sweep) and says what it says for bad input.
# Usage: same_answers_test.sh PROGRAM TESTED-PROGRAM
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
other=$(realpath "$1") full=$(realpath "$2")
bash "$here/links_no_qt_test.sh" "$other" || exit 1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
# same NAME STATUS ARGS...: both builds exit with STATUS and leave the same files and messages.
same() {
    local name=$1 status=$2
    shift 2
    mkdir -p "$work/a" "$work/b"
    (cd "$work/a" && "$other" "$@" >out.txt 2>&1; echo "$?" >>out.txt)
    (cd "$work/b" && "$full" "$@" >out.txt 2>&1; echo "$?" >>out.txt)
    if [ "$(tail -1 "$work/a/out.txt")" != "$status" ]; then
        echo "FAIL: $name exits $(tail -1 "$work/a/out.txt"), not $status: $(head -1 "$work/a/out.txt")" >&2
        failures=$((failures + 1))
    elif ! diff -r "$work/a" "$work/b" >/dev/null; then
        echo "FAIL: $name differs from the tested build's" >&2
        failures=$((failures + 1))
    fi
    rm -rf "$work/a" "$work/b"
}
same "the torus" 0 -s toro -o f.png
same "dashed hidden lines as SVG" 0 -s esfera --hidden=dashed --axes --ticks --title 'Esfera' -o f.svg
same "an equation surface with a section" 0 -s hiperboloide-una-hoja --hidden --section z=0.5 -o f.png
same "a labelled sweep" 0 -s elipsoide --sweep c=0.5:1 --frames 3 --label -o f.gif
same "a bad option" 2 -s toro --zoom 9999 -o f.png
[ "$failures" -eq 0 ] && echo "$other answers as the tested build"
exit $((failures > 0))
