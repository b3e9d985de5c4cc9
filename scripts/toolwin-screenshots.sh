#!/usr/bin/env bash
# Takes the pictures of the tool windows for the README under Xvfb (apt-get install xvfb
# xauth). Builds the picture program into build/ first.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build build -j2 --target toolwin_screenshots vorlane_data
cd build/bin
QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 xvfb-run -a -s "-screen 0 1280x900x24" \
    ./toolwin_screenshots "$(pwd)/../../docs"
