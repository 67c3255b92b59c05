#!/usr/bin/env bash
# Checks that the newest entry of debian/changelog packages the version project() declares:
# the upstream part of the Debian version, without epoch or revision, equals it.
# Usage: packaging_version_test.sh CHANGELOG PROJECT_VERSION
set -uo pipefail
changelog=$1 version=$2

debian=$(sed -nE '1s/^vexilon \(([^)]+)\) .*/\1/p' "$changelog")
[ -n "$debian" ] || { echo "FAIL: the first line of $changelog names no version of vexilon" >&2; exit 1; }
upstream=${debian#*:}
upstream=${upstream%-*}
if [ "$upstream" != "$version" ]; then
    echo "FAIL: debian/changelog packages $upstream ($debian), project() says $version" >&2
    exit 1
fi
echo "debian/changelog packages version $version ($debian)"
