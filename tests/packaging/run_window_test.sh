#!/usr/bin/env bash
# scripts/run.sh without arguments opens the Vorlane window. Runs it under Xvfb on the
# test's own build, with a home and data folders of its own, and waits until a window
# named Vorlane appears or the program ends; the test's timeout bounds the wait.
# Skips (77) without xvfb-run or xdotool.
set -uo pipefail
repo=$1
build=$2
command -v xvfb-run >/dev/null && command -v xdotool >/dev/null || exit 77

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_STATE_HOME=$work/state
export XDG_RUNTIME_DIR=$work/runtime VORLANE_BUILD_DIR=$build

xvfb-run -a bash -c '
    "$1/scripts/run.sh" >"$2/out" 2>"$2/err" </dev/null &
    program=$!
    while kill -0 "$program" 2>/dev/null; do
        if xdotool search --onlyvisible --name Vorlane >/dev/null 2>&1; then
            kill "$program"
            wait "$program" 2>/dev/null
            exit 0
        fi
        sleep 0.2
    done
    echo "scripts/run.sh ended without opening the window:" >&2
    cat "$2/out" "$2/err" >&2
    exit 1
' run-window "$repo" "$work"
