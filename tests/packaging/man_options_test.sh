#!/usr/bin/env bash
# Checks that each manual page of vexilon-render, in every language, documents exactly the long
# options that `vexilon-render --help` lists: none missing, none left over.
# Usage: man_options_test.sh VEXILON_RENDER PAGE...
set -uo pipefail
render=$1
shift

# The options --help defines: the lines that begin, indented, with -x, --long or --long.
help_options=$("$render" --help | sed -nE 's/^ +(-[a-zA-Z], )?(--[a-z][a-z-]*).*/\2/p' | sort -u)
[ -n "$help_options" ] || { echo "FAIL: vexilon-render --help lists no option" >&2; exit 1; }

failures=0
for page in "$@"; do
    # The options a page defines: the first --long on the line after each .TP of its options section.
    page_options=$(awk '/^\.SH /{ inside = ($2 ~ /^"?(OPTIONS|OPCIONES)"?$/); next }
                        inside && tp { gsub(/\\-/, "-")   # roff escapes the hyphens of --gif-delay as \-
                                       if (match($0, /--[a-z][a-z-]*/)) print substr($0, RSTART, RLENGTH); tp = 0; next }
                        inside && /^\.TP/ { tp = 1 }' "$page" | sort -u)
    missing=$(comm -23 <(echo "$help_options") <(echo "$page_options"))
    extra=$(comm -13 <(echo "$help_options") <(echo "$page_options"))
    if [ -n "$missing" ]; then
        echo "FAIL: $page does not document: $(echo $missing)" >&2; failures=$((failures + 1))
    fi
    if [ -n "$extra" ]; then
        echo "FAIL: $page documents options --help does not list: $(echo $extra)" >&2; failures=$((failures + 1))
    fi
done
[ "$failures" -eq 0 ] || exit 1
echo "the $# manual pages document the $(echo "$help_options" | wc -l) long options of --help"
