#!/usr/bin/env bash
# Builds what it starts, then starts it in the caller's folder, so that relative
# names mean what the caller meant: the desktop program `vorlane` once the build has
# it, until then vorlane-cli (its help when no arguments are given). Everything the
# setup and the build print goes to standard error; standard output is the program's.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${VORLANE_BUILD_DIR:-$repo/build}  # another build folder, e.g. for the tests

{
    "$repo/scripts/setup.sh"
    if [ ! -f "$build/CMakeCache.txt" ]; then
        cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    fi
    targets=$(cmake --build "$build" --target help)
    if grep -qx '\.\.\. vorlane\( .*\)\?' <<<"$targets"; then
        target=vorlane
    else
        target=vorlane-cli
    fi
    cmake --build "$build" -j"$(nproc)" --target "$target"
} >&2

if [ "$target" = vorlane ]; then
    exec "$build/bin/vorlane" "$@"
fi
exec "$build/bin/vorlane-cli" "${@:---help}"
