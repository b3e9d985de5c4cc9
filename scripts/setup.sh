#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Vorlane needs.
set -euo pipefail

packages=(
    build-essential cmake pkgconf
    qt6-base-dev libgl-dev
    googletest libgtest-dev libgmock-dev
    # the forensic test makes and mounts file-system images
    dosfstools fusefat e2fsprogs util-linux
    coreutils python3
    # the flush-count test of batched purges traces the system calls
    strace
    # packaging: the .deb, its checks, the manual pages and the icons
    dpkg-dev file lintian desktop-file-utils appstream man-db groff-base
    bash-completion librsvg2-bin
    # the screenshots and the start-up benchmark of the desktop program
    xvfb xauth imagemagick
    # the test that scripts/run.sh opens the window finds it by its name
    xdotool
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
