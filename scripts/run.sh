#!/usr/bin/env bash
# Sets everything up, builds, and starts Vorlane.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build
exec build/bin/vorlane-cli "${@:---help}"
