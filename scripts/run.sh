#!/usr/bin/env bash
# Builds what it starts, then starts it in the caller's folder, so that relative
# names mean what the caller meant: vorlane-cli when the first argument is one of its
# commands or options (scripts/run.sh purge --keep notes.txt), otherwise the desktop
# program `vorlane` with the arguments (a file or folder to open). Everything the
# setup and the build print goes to standard error; standard output is the program's.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${VORLANE_BUILD_DIR:-$repo/build}  # another build folder, e.g. for the tests

{
    "$repo/scripts/setup.sh"
    if [ ! -f "$build/CMakeCache.txt" ]; then
        cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    fi
    target=vorlane
    case "${1:-}" in
    purge | list | save-setup | purge-trash | speed-test | help | -*) target=vorlane-cli ;;
    esac
    # The list of targets is read whole before it is searched: with pipefail, a grep
    # that stops at its first match would break the pipe of a build tool still writing,
    # and its failure would read as "no desktop program".
    targets=$(cmake --build "$build" --target help)
    if [ "$target" = vorlane ] && ! grep -qx '\.\.\. vorlane\( .*\)\?' <<<"$targets"; then
        target=vorlane-cli  # a build without the windows
    fi
    cmake --build "$build" -j"$(nproc)" --target "$target"
} >&2

if [ "$target" = vorlane ]; then
    exec "$build/bin/vorlane" "$@"
fi
exec "$build/bin/vorlane-cli" "${@:---help}"
