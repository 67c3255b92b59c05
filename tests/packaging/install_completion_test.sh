#!/usr/bin/env bash
# Installs the build tree into a temporary root and drives the installed bash completion of
# vexilon-render the way bash does on Tab: options, surface names, formats, output files.
# Usage: install_completion_test.sh CMAKE BUILD_DIR
set -uo pipefail
cmake=$1 build=$2

helpers=/usr/share/bash-completion/bash_completion
[ -r "$helpers" ] || { echo "error: $helpers is missing; install the Debian package bash-completion" >&2; exit 1; }
root=$(mktemp -d "${TMPDIR:-/tmp}/vexilon-completion.XXXXXX")
trap 'rm -rf "$root"' EXIT
if ! DESTDIR=$root "$cmake" --install "$build" --prefix /usr >"$root/install.log" 2>&1; then
    cat "$root/install.log" >&2; echo "FAIL: cmake --install" >&2; exit 1
fi
completion=$root/usr/share/bash-completion/completions/vexilon-render
[ -f "$completion" ] || { echo "FAIL: the completion is not installed" >&2; exit 1; }

export PATH="$root/usr/bin:$PATH"   # the completion asks the installed program
mkdir "$root/work" && cd "$root/work" && touch toro.png esfera.svg vuelta.gif notes.md mias.toml && mkdir out
# Prints the candidates bash offers for the words given, the last being the one under the cursor.
complete_words() {
    bash --norc --noprofile -c '
        . "$1" && . "$2" || exit 1
        shift 2
        COMP_WORDS=(vexilon-render "$@"); COMP_CWORD=$(( ${#COMP_WORDS[@]} - 1 ))
        COMP_LINE="${COMP_WORDS[*]}"; COMP_POINT=${#COMP_LINE}
        _vexilon_render vexilon-render "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
        printf "%s\n" "${COMPREPLY[@]}" | sort' _ "$helpers" "$completion" "$@"
}
failures=0
expect() {  # expect "CANDIDATES (sorted, space-separated)" WORD... (the last is under the cursor)
    local want=$1 got
    shift
    got=$(complete_words "$@" | tr '\n' ' ' | sed 's/ $//')
    [ "$got" = "$want" ] || { echo "FAIL: '$*' completes to '$got', expected '$want'" >&2; failures=$((failures + 1)); }
}

expect "toro toro-ecuacion trebol"  -s t      # the eight and the gallery
expect "paraboloide paraboloide-eliptico paraboloide-hiperbolico paraguas-whitney plucker pseudoesfera" --surface p
expect "scherk seno silla silla-mono" -s s
expect "mias.toml out"            --define ""
expect "u uv uvz v xyz z"         --families ""
expect ""                         --x ""
expect "svg"                      --format s
expect "eps gif pdf png svg tikz trace" --format ""
expect "pantalla papel proyector"  --theme p
expect "magenta marino morado"     --color m
expect ""                         --size ""
expect "--frames"                 --fr
expect "--version"                --ver
expect "--orbit --output"         -s toro --o
expect "esfera.svg out toro.png vuelta.gif" -o ""   # notes.md is not offered
expect "--turn --turn-axis"       --tu
expect "pantalla z"               --turn-axis ""
expect "box none uniform"         --fit ""
expect ""                         --sweep ""
expect ""                         --fps ""
expect ""                         --turn ""
expect ""                         --zoom ""

if [ "$failures" -ne 0 ]; then
    echo "$failures completion check(s) failed" >&2
    exit 1
fi
echo "the bash completion of vexilon-render offers what it should"
