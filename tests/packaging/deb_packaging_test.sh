#!/usr/bin/env bash
# Builds the Debian package the Debian way, twice, from copies of the tree in folders of different
# names, and checks what a Debian maintainer would: lintian without errors or warnings, every
# hardening feature in both programs, byte-identical packages, the package's fields and files, and
# its command line, built with Debian's flags, drawing to the byte what the tested build draws.
# Usage: deb_packaging_test.sh [SOURCE_DIR [TESTED-PROGRAM]] (default: the tree this script is in;
# without a tested vexilon-render, the builds run the test suite themselves, as dh_auto_test does)
set -uo pipefail
src=$(cd "${1:-$(dirname "$0")/../..}" && pwd) || exit 1
tested=
if [ -n "${2:-}" ]; then
    [ -f "$2" ] && [ -x "$2" ] || { echo "error: no program at '$2'; accepted: the tested build's vexilon-render" >&2; exit 2; }
    tested=$(realpath "$2")
fi

for tool in dpkg-buildpackage:dpkg-dev dh:debhelper lintian:lintian hardening-check:devscripts git:git; do
    command -v "${tool%%:*}" >/dev/null ||
        { echo "error: ${tool%%:*} is missing; install the Debian package ${tool#*:}" >&2; exit 1; }
done
work=$(mktemp -d "${TMPDIR:-/tmp}/vexilon-debian.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
jobs=$(nproc 2>/dev/null || echo 2)

# Copies the tracked and new files of the tree (not the ignored build folders) to $work/$1/vexilon
# and builds there, with the environment given after the folder's name.
build() {
    local dir=$work/$1
    shift
    mkdir -p "$dir/vexilon"
    (cd "$src" && git ls-files -z -co --exclude-standard |
        while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done |
        xargs -0 cp --parents -t "$dir/vexilon") || { echo "FAIL: copying the tree" >&2; exit 1; }
    if ! (cd "$dir/vexilon" && env "$@" dpkg-buildpackage -us -uc -b) >"$dir/build.log" 2>&1; then
        tail -40 "$dir/build.log" >&2
        echo "FAIL: dpkg-buildpackage in $dir" >&2
        exit 1
    fi
}
version=$(cd "$src" && dpkg-parsechangelog -S Version)
arch=$(dpkg --print-architecture)
# The second build runs on another path, in another time zone, locale and umask: none of that may
# reach the package. Neither runs the suite when a tested program is given: the same tests have
# passed on the same sources, and the packaged program is compared with that one below.
first_options=(DEB_BUILD_OPTIONS="parallel=$jobs")
[ -n "$tested" ] && first_options=(DEB_BUILD_OPTIONS="nocheck parallel=$jobs" DEB_BUILD_PROFILES=nocheck)
build first TZ=UTC "${first_options[@]}"
(umask 002 && build second-build TZ=America/Mexico_City LC_ALL=C.UTF-8 \
    DEB_BUILD_OPTIONS="nocheck parallel=$jobs" DEB_BUILD_PROFILES=nocheck)
[ -n "$tested" ] || grep -qE '^100% tests passed, 0 tests failed' "$work/first/build.log" ||
    fail "the package build ran no test suite"

for name in vexilon vexilon-dbgsym; do
    a=$work/first/${name}_${version}_$arch.deb b=$work/second-build/${name}_${version}_$arch.deb
    [ -f "$a" ] || { fail "the build wrote no $(basename "$a")"; continue; }
    if cmp -s "$a" "$b"; then
        echo "$(sha256sum "$a" | cut -c1-64)  $(basename "$a") (both builds)"
    else
        fail "two builds give different $(basename "$a"): $(sha256sum "$a" "$b" | cut -c1-16 | tr '\n' ' ')"
    fi
done
deb=$work/first/vexilon_${version}_$arch.deb
[ -f "$deb" ] || exit 1

# lintian: no error and no warning but the one every first upload has.
report=$(lintian --pedantic -I -E --tag-display-limit 0 "$work/first/vexilon_${version}_$arch.changes" 2>&1 |
    grep -v 'running with root privileges')
echo "${report:-lintian: no tag}"
bad=$(grep -E '^[EW]: ' <<<"$report" | grep -v ' initial-upload-closes-no-bugs ')
[ -z "$bad" ] || fail "lintian: $bad"

# hardening-check on both programs. Control flow protection is left out: our objects carry it,
# but Debian 12's C start files have no IBT note, so the linker cannot mark any program with it.
mkdir "$work/root" && dpkg-deb -x "$deb" "$work/root"
for program in vexilon vexilon-render; do
    out=$(hardening-check --nocfprotection "$work/root/usr/bin/$program" 2>&1) || fail "hardening-check: $out"
done
if [ -n "$tested" ]; then
    bash "$src/tests/app/same_answers_test.sh" "$work/root/usr/bin/vexilon-render" "$tested" ||
        fail "the packaged vexilon-render does not answer as the tested one"
fi

# The fields, the files Debian adds, and a Depends line that names what the window needs.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = vexilon ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', debian/changelog says $version"
depends=$(field Depends)
names=$(sed 's/ *([^)]*)//g; s/ *| */\n/g; s/, */\n/g' <<<"$depends")
for pkg in libc6 libstdc++6 libpng16-16 libqt6widgets6 libqt6core6 qt6-qpa-plugins qt6-translations-l10n; do
    grep -qxF "$pkg" <<<"$names" || fail "Depends does not name $pkg: $depends"
done
echo "Depends: $depends"
doc=$work/root/usr/share/doc/vexilon
head -1 "$doc/copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "the copyright file is not in the machine-readable format"
[ "$(ls "$doc")" = "$(printf 'changelog.Debian.gz\ncopyright')" ] || fail "the doc folder holds: $(ls "$doc")"
for f in usr/bin/vexilon usr/bin/vexilon-render usr/share/man/man1/vexilon-render.1.gz \
         usr/share/man/es/man1/vexilon-render.1.gz usr/share/metainfo/org.vexilon.Vexilon.metainfo.xml \
         usr/share/vexilon/gallery.toml; do
    [ -f "$work/root/$f" ] || fail "the package lacks /$f"
done
dbgsym=$(dpkg-deb -c "$work/first/vexilon-dbgsym_${version}_$arch.deb")
grep -q '/usr/lib/debug/.build-id/.*\.debug$' <<<"$dbgsym" ||
    fail "the debug symbols package holds no .debug file"

[ "$failures" -eq 0 ] || { echo "$failures check(s) of the Debian package failed" >&2; exit 1; }
echo "the Debian package builds reproducibly, lintian-clean and hardened"
