#!/usr/bin/env bash
# Installs what the tests need, builds, and runs every test: once as a normal build, once under
# AddressSanitizer and UndefinedBehaviorSanitizer; builds without the window; builds the Debian
# package twice and checks it with lintian and hardening-check; builds the page and drives it in
# Chromium. Exits non-zero on any failure or report.
set -euo pipefail
cd "$(dirname "$0")"
. tools/deps.sh
vexilon_install_packages "${VEXILON_BUILD_PACKAGES[@]}" "${VEXILON_DEB_PACKAGES[@]}"

jobs=$(nproc 2>/dev/null || echo 2)
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=abort_on_error=0:halt_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"

# ccache lets the build without the window take the first build's objects: the same sources and flags
# in another folder (hence no folder in the hash). Its cache stays in the tree's ignored .ccache.
export CCACHE_DIR=${CCACHE_DIR:-$PWD/.ccache} CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
cached=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)

echo "== build ($SECONDS s)"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${cached[@]}" >/dev/null
cmake --build build -j "$jobs"
echo "== tests ($SECONDS s)"
ctest --test-dir build --output-on-failure -j "$jobs"

# The same sources with the same flags as the first build, so its tests would only run again: the
# build proves that nothing below the window needs Qt, and its command line must answer as the first's.
echo "== build without the window ($SECONDS s)"
cmake -S . -B build-nogui -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEXILON_BUILD_GUI=OFF -DVEXILON_BUILD_TESTS=OFF "${cached[@]}" >/dev/null
cmake --build build-nogui -j "$jobs"
bash tests/app/same_answers_test.sh build-nogui/vexilon-render build/vexilon-render

echo "== sanitizer build ($SECONDS s)"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVEXILON_SANITIZE=ON >/dev/null
cmake --build build-asan -j "$jobs"
echo "== tests under the sanitizers ($SECONDS s)"
ctest --test-dir build-asan --output-on-failure -j "$jobs"

echo "== Debian package ($SECONDS s)"
bash tests/packaging/deb_packaging_test.sh . build/vexilon-render

echo "== the page in Chromium ($SECONDS s)"
web/build.sh
(cd web/tests && npm ci --no-audit --no-fund >/dev/null)
node --test web/tests/unit/*.test.mjs   # the page's pure rules, without a browser
node web/tests/page_test.mjs build-web build/vexilon-render
echo "== all passed ($SECONDS s)"
