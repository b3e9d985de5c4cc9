#!/usr/bin/env bash
# Builds the Debian packages into the repository's top folder, with Debian's hardening
# flags, in build-package/ (extra CMake options follow):
#   vorlane-cli_<version>_<arch>.deb  the command line, its data, manual page, completion
#   vorlane_<version>_<arch>.deb      the windows (needs vorlane-cli of the same version)
# Install both with: apt install ./vorlane_*.deb ./vorlane-cli_*.deb
# or the command line alone (no window libraries) with: apt install ./vorlane-cli_*.deb
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
# One version of each, for apt install ./vorlane_*.deb ./vorlane-cli_*.deb
rm -f "$dir"/vorlane_*.deb "$dir"/vorlane-cli_*.deb vorlane_*.deb vorlane-cli_*.deb
(cd "$dir" && cpack -G DEB)
cp "$dir"/vorlane_*.deb "$dir"/vorlane-cli_*.deb .
ls vorlane_*.deb vorlane-cli_*.deb
