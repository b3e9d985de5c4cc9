#!/usr/bin/env bash
# Times the start of the desktop program to its first shown window, five runs, under a
# private Xvfb (or the current display when there is no Xvfb). Each run prints the time
# from main() to the window's first expose, and the wall time of the whole process,
# which also counts loading the libraries and ending.
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-build/bin/vorlane}
work=$(mktemp -d)
trap 'kill "${xvfb:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config
if command -v Xvfb >/dev/null; then
    display=:$((90 + RANDOM % 100))
    Xvfb "$display" -screen 0 1280x800x24 >/dev/null 2>&1 &
    xvfb=$!
    sleep 1
    export DISPLAY=$display
fi
for run in 1 2 3 4 5; do
    start=$(date +%s%N)
    VORLANE_QUIT_WHEN_SHOWN=1 "$program" 2>&1 | grep 'window shown' || true
    echo "run $run: process wall time $((($(date +%s%N) - start) / 1000000)) ms"
done
