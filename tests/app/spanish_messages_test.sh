#!/usr/bin/env bash
# vexilon-render speaks Spanish under a Spanish LANGUAGE (on the C.UTF-8 locale every system has,
# so no locale need be generated) and English otherwise: --help, a usage error, a formula's error.
# Usage: spanish_messages_test.sh VEXILON_RENDER
set -uo pipefail
render=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
es() { LANGUAGE=es LC_ALL=C.UTF-8 "$render" "$@"; }
en() { LANGUAGE= LC_ALL=C.UTF-8 "$render" "$@"; }

[[ $(es --help | head -1) == "Uso: vexilon-render -s SUPERFICIE"* ]] || fail "Spanish --help: $(es --help | head -1)"
[[ $(en --help | head -1) == "Usage: vexilon-render -s SURFACE"* ]] || fail "English --help: $(en --help | head -1)"
# The same options in both, so the manual pages and the completion hold for either.
options() { sed -nE 's/^ +(-[a-zA-Z], )?(--[a-z][a-z-]*).*/\2/p' | sort -u; }
[ "$(es --help | options)" = "$(en --help | options)" ] || fail "the Spanish --help lists other options"

message=$(es -s 1 --zoom abc -o "$dir/x.png" 2>&1); status=$?
[ "$message" = "vexilon-render: --zoom: 'abc' no es un número; se acepta: un número de 0 a 1000, o auto" ] || fail "Spanish usage error: $message"
[ "$status" -eq 2 ] || fail "status $status"
[ -z "$(ls -A "$dir")" ] || fail "a file was left"
message=$(en -s 1 --zoom abc -o "$dir/x.png" 2>&1)
[ "$message" = "vexilon-render: --zoom: 'abc' is not a number; accepted: a number from 0 to 1000, or auto" ] || fail "English usage error: $message"
message=$(es -s 1 --size 50 -o "$dir/x.png" 2>&1); status=$?
[ "$message" = "vexilon-render: --size: '50' no es un número entero de 100 a 8192" ] || fail "Spanish figure error: $message"
[ "$status" -eq 2 ] || fail "status $status"
message=$(es -s 1 -o "$dir/x.bmp" 2>&1)
[[ $message == *".eps o .tikz, o --format png|"* ]] || fail "Spanish list of extensions: $message"
message=$(es -s 1 --color rosa -o "$dir/x.pdf" 2>&1)
[[ $message == "vexilon-render: --color: 'rosa' no es un color; se acepta: negro, blanco, "*", sus nombres en inglés, o #rrggbb" ]] ||
    fail "Spanish colour error: $message"
[ -z "$(ls -A "$dir")" ] || fail "a file was left"
message=$(es --x u --y v --z "2cos(v)" --u 0,1 --v 0,1 -o "$dir/x.png" 2>&1 | head -1)
[ "$message" = "vexilon-render: --z: falta un * entre 2 y cos en la posición 2" ] || fail "Spanish formula error: $message"

# Words from below the command line: the accepted surfaces, a definitions file's problem with its
# line, and the reason a file could not be written or read (the C library's, in the same language).
message=$(es -s zzz -o "$dir/x.png" 2>&1)
[[ $message == *"; se acepta: de 1 a "*", o un nombre de --list" ]] || fail "Spanish surfaces accepted: $message"
message=$(en -s zzz -o "$dir/x.png" 2>&1)
[[ $message == *"; accepted: 1 to "*", or a name from --list" ]] || fail "English surfaces accepted: $message"
printf '[[surface]]\nid = "a"\ncaption = "A"\nx = "u"\ny = "v"\nz = "w"\nu = [0, 1, 5]\nv = [0, 1, 5]\n' >"$dir/a.toml"
message=$(es --define "$dir/a.toml" -o "$dir/x.png" 2>&1); status=$?
[ "$message" = "vexilon-render: --define: '$dir/a.toml', línea 6: superficie «a»: z: nombre o símbolo desconocido «w» en la posición 1" ] ||
    fail "Spanish definitions file problem: $message"
[ "$status" -eq 2 ] || fail "status $status"
message=$(en --define "$dir/a.toml" -o "$dir/x.png" 2>&1)
[[ $message == "vexilon-render: --define: '$dir/a.toml':6: surface 'a': z: unknown "* ]] || fail "English definitions file problem: $message"
rm "$dir/a.toml"
# The C library's reason as it says it in Spanish: itself where its catalogue (libc-l10n) is missing.
missing=$(TEXTDOMAIN=libc LANGUAGE=es LC_ALL=C.UTF-8 gettext "No such file or directory")
message=$(es --define "$dir/none.toml" -o "$dir/x.png" 2>&1)
[ "$message" = "vexilon-render: --define: '$dir/none.toml': no existe" ] || fail "Spanish unreadable file: $message"
message=$(es -s 1 -o "$dir/missing/x.png" 2>&1); status=$?
[ "$message" = "vexilon-render: no se puede escribir '$dir/missing/x.png': $missing" ] || fail "Spanish write failure: $message"
[ "$status" -eq 1 ] || fail "status $status"
[ -z "$(ls -A "$dir")" ] || fail "a file was left"

[ "$failures" -eq 0 ] || exit 1
echo "vexilon-render speaks Spanish under LANGUAGE=es and English otherwise"
