#!/usr/bin/env bash
# Installs the build tree into a temporary root and checks what a user's system would get there:
# every file in place, the desktop entry and metadata valid, the manual pages clean and complete,
# the installed vexilon-render working.
# Usage: install_tree_test.sh CMAKE BUILD_DIR HAS_WINDOW(0|1)
set -uo pipefail
cmake=$1 build=$2 has_window=$3

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
    share/applications/org.vexilon.Vexilon.desktop
    share/metainfo/org.vexilon.Vexilon.metainfo.xml
    share/icons/hicolor/scalable/apps/vexilon.svg
    share/man/man1/vexilon.1.gz
    share/man/man1/vexilon-render.1.gz
    share/bash-completion/completions/vexilon-render
    share/doc/vexilon/LICENSE
    share/doc/vexilon/copyright
    share/vexilon/gallery.toml
)
sizes=(16 22 24 32 48 64 128 256)
for n in "${sizes[@]}"; do expected+=("share/icons/hicolor/${n}x${n}/apps/vexilon.png"); done
[ "$has_window" = 1 ] && expected+=(bin/vexilon)
for f in "${expected[@]}"; do
    [ -f "$usr/$f" ] || fail "missing $f"
done
for f in bin/vexilon-render bin/vexilon; do
    [ -e "$usr/$f" ] && { [ -x "$usr/$f" ] || fail "$f is not executable"; }
done

# Each PNG is as large as the folder of its size says (width and height from the IHDR chunk).
for n in "${sizes[@]}"; do
    png=$usr/share/icons/hicolor/${n}x${n}/apps/vexilon.png
    [ -f "$png" ] || continue
    read -r w h < <(od -An -tu1 -j16 -N8 "$png" |
        awk '{ print $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8 }')
    [ "$w $h" = "$n $n" ] || fail "the ${n}x${n} icon is ${w}x${h}"
done
grep -q '<svg' "$usr/share/icons/hicolor/scalable/apps/vexilon.svg" || fail "the scalable icon is not an SVG"

# The desktop entry and the metadata pass their validators, and point at what was installed.
desktop=$usr/share/applications/org.vexilon.Vexilon.desktop
metainfo=$usr/share/metainfo/org.vexilon.Vexilon.metainfo.xml
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
    [ -f "$usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "Icon=$icon is not in the hicolor theme"
    grep -q '^GenericName\[es\]=' "$desktop" || fail "the desktop entry has no Spanish GenericName"
    grep -q '^Comment\[es\]=' "$desktop" || fail "the desktop entry has no Spanish Comment"
fi
if [ -f "$metainfo" ]; then
    out=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate: $out"
    grep -q '<launchable type="desktop-id">org.vexilon.Vexilon.desktop</launchable>' "$metainfo" ||
        fail "the metadata does not launch the installed desktop entry"
    grep -q '<release version="2.0"' "$metainfo" || fail "the metadata has no release 2.0"
fi

# The manual pages render without a warning, and vexilon-render's documents every option of --help.
for page in vexilon vexilon-render; do
    gz=$usr/share/man/man1/$page.1.gz
    [ -f "$gz" ] || continue
    warnings=$(MANWIDTH=80 man --warnings -l "$gz" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man $page warns: $warnings"
    warnings=$(gzip -dc "$gz" | groff -man -ww -z 2>&1)
    [ -z "$warnings" ] || fail "groff warns on $page.1: $warnings"
    MANWIDTH=80 man -l "$gz" 2>/dev/null | grep -q "^NAME" || fail "man $page renders no NAME section"
done
render=$usr/bin/vexilon-render
if [ -x "$render" ] && [ -f "$usr/share/man/man1/vexilon-render.1.gz" ]; then
    text=$(MANWIDTH=200 man -l "$usr/share/man/man1/vexilon-render.1.gz" 2>/dev/null)
    options=$("$render" --help | grep -oE '(^|[ ,])--?[a-z][a-z-]*' | tr -d ' ,' | sort -u)
    [ -n "$options" ] || fail "vexilon-render --help lists no option"
    for opt in $options --frames; do
        grep -qE -- "(^|[ ,])$opt( |,|\$)" <<<"$text" || fail "man vexilon-render does not document $opt"
    done
    for section in "TRACE FORMAT" "EXIT STATUS"; do
        grep -q "^$section" <<<"$text" || fail "man vexilon-render has no $section section"
    done
fi

# The installed program runs on its own: its version, and a frame written where it was asked.
if [ -x "$render" ]; then
    version=$("$render" --version) || fail "the installed vexilon-render --version failed"
    [ "$version" = "vexilon-render 2.0" ] || fail "the installed vexilon-render says '$version'"
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
