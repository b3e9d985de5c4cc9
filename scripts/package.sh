#!/usr/bin/env bash
# Builds the Debian package vorlane_<version>_<arch>.deb into the repository's top folder,
# with Debian's hardening flags, in build-package/ (extra CMake options follow).
# Install it with: apt install ./vorlane_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

# Debian's own compiler and linker flags (fortify, stack protector, relro, bind now).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
export CXXFLAGS LDFLAGS

dir=build-package
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=None -DBUILD_TESTING=OFF "$@" >/dev/null
cmake --build "$dir" -j"$(nproc)"
rm -f "$dir"/vorlane_*.deb vorlane_*.deb  # one package only, for apt install ./vorlane_*.deb
(cd "$dir" && cpack -G DEB)
cp "$dir"/vorlane_*.deb .
ls vorlane_*.deb
