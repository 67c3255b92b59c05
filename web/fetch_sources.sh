#!/usr/bin/env bash
# Unpacks the Debian sources of the libraries the WebAssembly build compiles (the same packages the
# native build links) into DIR/{muparser,giflib,libpng,zlib,musl}. apt runs on a private list of source
# archives made from the system's own mirrors, so the system's configuration is left alone.
# Usage: fetch_sources.sh DIR
set -euo pipefail
dir=$(realpath -m "${1:?usage: fetch_sources.sh DIR}")
declare -A unpacked=([muparser]=muparser [giflib]=giflib [libpng1.6]=libpng [zlib]=zlib [musl]=musl)
all_there=1
for name in "${unpacked[@]}"; do [ -d "$dir/$name" ] || all_there=0; done
[ "$all_there" -eq 1 ] && exit 0

apt_dir="$dir/apt"
mkdir -p "$apt_dir/parts" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$dir/download"
release=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
found=0
for list in /etc/apt/sources.list.d/*.sources; do
    [ -e "$list" ] || continue
    sed 's/^Types:.*$/Types: deb-src/' "$list" > "$apt_dir/parts/$(basename "$list")"
    found=1
done
if [ -f /etc/apt/sources.list ]; then
    sed -n 's/^deb \(.*\)$/deb-src \1/p' /etc/apt/sources.list > "$apt_dir/parts/sources.list"
    [ -s "$apt_dir/parts/sources.list" ] && found=1
fi
[ "$found" -eq 1 ] || { echo "error: no Debian mirror found in /etc/apt to take sources from" >&2; exit 1; }
apt=(apt-get -q -o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$apt_dir/parts"
     -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache" -o APT::Sandbox::User=root)
echo "Fetching Debian sources of ${!unpacked[*]}" >&2
"${apt[@]}" update >/dev/null
cd "$dir/download"
for package in "${!unpacked[@]}"; do
    target="$dir/${unpacked[$package]}"
    [ -d "$target" ] && continue
    # The version the release itself holds: its files stay on every mirror.
    "${apt[@]}" source --download-only "$package/$release" >/dev/null 2>&1 ||
        "${apt[@]}" source --download-only "$package" >/dev/null
    dsc=$(ls -t "${package}"_*.dsc | head -n 1)
    rm -rf "$target.partial"
    dpkg-source --no-check -x "$dsc" "$target.partial" >/dev/null
    mv "$target.partial" "$target"
done
