#!/usr/bin/env bash
# Builds the Debian package from the build tree into a temporary folder and checks its name, its
# control fields, the files it holds, and that its Depends line names the runtime libraries.
# Usage: deb_packaging_test.sh CPACK BUILD_DIR HAS_WINDOW(0|1); exits 77 (skipped) without dpkg-deb.
set -uo pipefail
cpack=$1 build=$2 has_window=$3

command -v dpkg-deb >/dev/null || { echo "dpkg-deb is not installed: skipping the Debian package test"; exit 77; }
command -v dpkg-shlibdeps >/dev/null ||
    { echo "error: dpkg-shlibdeps is missing; install the Debian package dpkg-dev" >&2; exit 1; }
out=$(mktemp -d "${TMPDIR:-/tmp}/vexilon-deb.XXXXXX")
trap 'rm -rf "$out"' EXIT
if ! "$cpack" -G DEB -B "$out" --config "$build/CPackConfig.cmake" >"$out/cpack.log" 2>&1; then
    cat "$out/cpack.log" >&2; echo "FAIL: cpack -G DEB" >&2; exit 1
fi

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
deb=$out/vexilon_2.0-1_$(dpkg --print-architecture).deb
if [ ! -f "$deb" ]; then
    echo "FAIL: cpack wrote no $(basename "$deb"); it wrote: $(cd "$out" && ls -- *.deb 2>/dev/null)" >&2
    exit 1
fi

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = vexilon ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = 2.0-1 ] || fail "Version is '$(field Version)'"
[ "$(field Maintainer)" = "Vexilon developers <dev@vexilon.invalid>" ] || fail "Maintainer is '$(field Maintainer)'"
case $(field Section) in math | science) ;; *) fail "Section is '$(field Section)'" ;; esac
field Description | grep -q Spanish || fail "the description does not say the interface is in Spanish"

# The Depends line comes from dpkg-shlibdeps: the libraries the programs are linked with.
depends=$(field Depends)
names=$(sed 's/ *([^)]*)//g; s/ *| */\n/g; s/, */\n/g' <<<"$depends")
for lib in libc6 libstdc++6 libpng16-16; do
    grep -qxF "$lib" <<<"$names" || fail "Depends does not name $lib: $depends"
done
if [ "$has_window" = 1 ]; then
    for lib in libqt6widgets6 libqt6core6 qt6-qpa-plugins; do
        grep -qxF "$lib" <<<"$names" || fail "Depends does not name $lib: $depends"
    done
fi

if [ "$has_window" = 1 ]; then
    grep -qw qt6-translations-l10n <<<"$(field Recommends)" || fail "Recommends does not name qt6-translations-l10n"
fi

# The files, at the paths of the install tree under /usr.
contents=$(dpkg-deb -c "$deb" | awk '{ print $6 }')
expected=(
    ./usr/bin/vexilon-render
    ./usr/share/applications/org.vexilon.Vexilon.desktop
    ./usr/share/metainfo/org.vexilon.Vexilon.metainfo.xml
    ./usr/share/icons/hicolor/scalable/apps/vexilon.svg
    ./usr/share/man/man1/vexilon.1.gz
    ./usr/share/man/man1/vexilon-render.1.gz
    ./usr/share/bash-completion/completions/vexilon-render
    ./usr/share/doc/vexilon/copyright
    ./usr/share/doc/vexilon/changelog.Debian.gz
    ./usr/share/vexilon/gallery.toml
)
for n in 16 22 24 32 48 64 128 256; do expected+=("./usr/share/icons/hicolor/${n}x${n}/apps/vexilon.png"); done
[ "$has_window" = 1 ] && expected+=(./usr/bin/vexilon)
for f in "${expected[@]}"; do
    grep -qxF -- "$f" <<<"$contents" || fail "the package lacks $f"
done
grep -v '^\./usr/' <<<"$contents" | grep -qv '^\./$' && fail "the package holds files outside /usr: $(grep -v '^\./usr/' <<<"$contents" | grep -v '^\./$')"
dpkg-deb -c "$deb" | awk '$6 == "./usr/bin/vexilon-render" { print $1 }' | grep -q '^-rwxr-xr-x$' ||
    fail "vexilon-render is not installed executable"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) of the package failed" >&2
    exit 1
fi
echo "$(basename "$deb"): $(stat -c %s "$deb") bytes; Depends: $depends"
