#!/usr/bin/env bash
# Installs the build tree into a temporary root and checks what a user's system would get there:
# every file in place, the desktop entry and metadata valid, the manual pages clean and complete,
# the installed vexilon-render working.
# Usage: install_tree_test.sh CMAKE BUILD_DIR HAS_WINDOW(0|1) VERSION
set -uo pipefail
cmake=$1 build=$2 has_window=$3 version=$4
id=org.vexilon.Vexilon   # the desktop file, the AppStream id and the icon are named alike

root=$(mktemp -d "${TMPDIR:-/tmp}/vexilon-install.XXXXXX")
trap 'rm -rf "$root"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
need() { command -v "$1" >/dev/null || { echo "error: $1 is missing; install the Debian package $2" >&2; exit 1; }; }
need desktop-file-validate desktop-file-utils
need appstreamcli appstream
need man man-db
need groff groff-base

if ! DESTDIR=$root "$cmake" --install "$build" --prefix /usr >"$root.log" 2>&1; then
    cat "$root.log" >&2; rm -f "$root.log"
    echo "FAIL: cmake --install" >&2; exit 1
fi
rm -f "$root.log"
usr=$root/usr

# Every file of the install, at the path the freedesktop and Debian conventions give it.
expected=(
    bin/vexilon-render
    share/applications/$id.desktop
    share/metainfo/$id.metainfo.xml
    share/icons/hicolor/scalable/apps/$id.svg
    share/man/man1/vexilon.1.gz
    share/man/man1/vexilon-render.1.gz
    share/man/es/man1/vexilon.1.gz
    share/man/es/man1/vexilon-render.1.gz
    share/bash-completion/completions/vexilon-render
    share/doc/vexilon/LICENSE
    share/vexilon/gallery.toml
)
sizes=(16 22 24 32 48 64 128 256)
for n in "${sizes[@]}"; do expected+=("share/icons/hicolor/${n}x${n}/apps/$id.png"); done
[ "$has_window" = 1 ] && expected+=(bin/vexilon)
for f in "${expected[@]}"; do
    [ -f "$usr/$f" ] || fail "missing $f"
done
# The licence once, under one name.
[ "$(find "$usr/share/doc" -type f | wc -l)" = 1 ] || fail "share/doc holds more than the licence: $(find "$usr/share/doc" -type f)"
for f in bin/vexilon-render bin/vexilon; do
    [ -e "$usr/$f" ] && { [ -x "$usr/$f" ] || fail "$f is not executable"; }
done

# Each PNG is as large as the folder of its size says (width and height from the IHDR chunk).
for n in "${sizes[@]}"; do
    png=$usr/share/icons/hicolor/${n}x${n}/apps/$id.png
    [ -f "$png" ] || continue
    read -r w h < <(od -An -tu1 -j16 -N8 "$png" |
        awk '{ print $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8 }')
    [ "$w $h" = "$n $n" ] || fail "the ${n}x${n} icon is ${w}x${h}"
done
grep -q '<svg' "$usr/share/icons/hicolor/scalable/apps/$id.svg" || fail "the scalable icon is not an SVG"

# The desktop entry and the metadata pass their validators, and point at what was installed.
desktop=$usr/share/applications/$id.desktop
metainfo=$usr/share/metainfo/$id.metainfo.xml
if [ -f "$desktop" ]; then
    if ! out=$(desktop-file-validate "$desktop" 2>&1); then
        fail "desktop-file-validate: $out"
    elif [ -n "$out" ]; then
        fail "desktop-file-validate has hints or warnings: $out"
    fi
    exec_bin=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
    [ "$exec_bin" = vexilon ] || fail "the desktop entry runs '$exec_bin', not vexilon"
    [ "$has_window" = 1 ] && { [ -x "$usr/bin/$exec_bin" ] || fail "Exec=$exec_bin is not installed in bin/"; }
    icon=$(sed -n 's/^Icon=//p' "$desktop")
    [ "$icon" = "$id" ] || fail "the desktop entry's icon is '$icon', not $id"
    [ -f "$usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "Icon=$icon is not in the hicolor theme"
    grep -q '^GenericName\[es\]=' "$desktop" || fail "the desktop entry has no Spanish GenericName"
    grep -q '^Comment\[es\]=' "$desktop" || fail "the desktop entry has no Spanish Comment"
fi
if [ -f "$metainfo" ]; then
    out=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate: $out"
    grep -q "<id>$id</id>" "$metainfo" || fail "the metadata's component id is not $id"
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
        fail "the metadata does not launch the installed desktop entry"
    grep -q "<icon type=\"stock\">$id</icon>" "$metainfo" || fail "the metadata's icon is not $id"
    # Each screenshot is a file of res/, published under the address the build was given.
    screenshots=$(sed -nE 's|.*<image[^>]*>.*/([^/<]+)</image>.*|\1|p' "$metainfo")
    [ -n "$screenshots" ] || fail "the metadata has no screenshot"
    for shot in $screenshots; do
        [ -f "$(dirname "$0")/../../res/$shot" ] || fail "the screenshot $shot is not in res/"
    done
    # The newest release comes first and is this version.
    newest=$(grep -oE '<release version="[^"]+"' "$metainfo" | head -1 | cut -d'"' -f2)
    [ "$newest" = "$version" ] || fail "the metadata's newest release is '$newest', not $version"
fi

# The manual pages, English and Spanish, render without a warning; -k reads their UTF-8.
for lang in "" es; do
    for page in vexilon vexilon-render; do
        gz=$usr/share/man/$lang/man1/$page.1.gz
        [ -f "$gz" ] || continue
        warnings=$(MANWIDTH=80 man --warnings -l "$gz" 2>&1 >/dev/null)
        [ -z "$warnings" ] || fail "man $lang $page warns: $warnings"
        warnings=$(gzip -dc "$gz" | groff -k -Tutf8 -man -ww -z 2>&1)
        [ -z "$warnings" ] || fail "groff warns on $lang/$page.1: $warnings"
        heading=NAME; [ "$lang" = es ] && heading=NOMBRE
        MANWIDTH=80 man -l "$gz" 2>/dev/null | grep -q "^$heading" || fail "man $lang $page renders no $heading section"
        gzip -dc "$gz" | head -3 | grep -qF "Vexilon $version" || fail "man $lang $page does not say version $version"
    done
done
render=$usr/bin/vexilon-render
# The options themselves are compared with --help by man_options_test.sh; here, the sections.
for lang_sections in ":TRACE FORMAT:EXIT STATUS" "es:FORMATO DE LA TRAZA:ESTADO DE SALIDA"; do
    IFS=: read -r lang first second <<<"$lang_sections"
    gz=$usr/share/man/$lang/man1/vexilon-render.1.gz
    [ -f "$gz" ] || continue
    text=$(MANWIDTH=200 man -l "$gz" 2>/dev/null)
    for section in "$first" "$second"; do
        grep -q "^$section" <<<"$text" || fail "man $lang vexilon-render has no $section section"
    done
done

# The installed program runs on its own: its version, and a frame written where it was asked.
if [ -x "$render" ]; then
    said=$("$render" --version) || fail "the installed vexilon-render --version failed"
    [ "$said" = "vexilon-render $version" ] || fail "the installed vexilon-render says '$said'"
    "$render" -s toro -o "$root/toro.png" || fail "the installed vexilon-render did not draw the torus"
    [ "$(head -c 8 "$root/toro.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
        fail "the installed vexilon-render wrote no PNG"
    env -u VEXILON_GALLERY "$render" -s klein -o "$root/klein.png" || fail "the installed vexilon-render found no gallery"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) of the install tree failed" >&2
    exit 1
fi
echo "the install tree is complete and valid"
