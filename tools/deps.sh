# Installs the Debian packages the build needs when any is missing. Sourced by run.sh and test.sh.
# Usage: vexilon_install_packages PACKAGE...

vexilon_install_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing Debian packages: ${missing[*]}" >&2
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1; then
            sudo=(sudo)
        else
            echo "error: these packages are missing and installing them needs root: ${missing[*]}" >&2
            return 1
        fi
    fi
    # Another apt-get may hold the dpkg lock for a while: wait for it rather than fail.
    local apt=("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600)
    "${apt[@]}" update -qq &&
        "${apt[@]}" install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# What building and testing needs.
VEXILON_BUILD_PACKAGES=(build-essential cmake ninja-build ccache pkg-config libpng-dev qt6-base-dev libgl-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    desktop-file-utils appstream man-db groff-base dpkg-dev bash-completion qt6-translations-l10n
    libmuparser-dev libtomlplusplus-dev libgif-dev
    libacl1-dev musl-dev gettext libcairo2-dev fonts-dejavu-core
    poppler-utils ghostscript librsvg2-bin texlive-latex-base texlive-pictures)

# What building and checking the Debian package needs besides: hardening-check is in devscripts.
VEXILON_DEB_PACKAGES=(debhelper lintian devscripts git)

# What building, serving and testing the page needs besides: node with npm (node 20 from the
# machine's own setup, or Debian's), Debian's emscripten and Chromium, dpkg-dev for the sources.
VEXILON_WEB_PACKAGES=(emscripten binaryen nodejs chromium dpkg-dev libtomlplusplus-dev cmake ninja-build unzip)
