#!/usr/bin/env bash
# Sets everything up, builds, and runs every test; then runs the tests that need no
# window again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"

scripts/build.sh build
ctest --test-dir build --output-on-failure -j2

scripts/build.sh build-sanitize -DVORLANE_SANITIZE=ON -DVORLANE_GUI=OFF
ctest --test-dir build-sanitize --output-on-failure -j2 -L core -LE forensic
