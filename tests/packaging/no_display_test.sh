#!/usr/bin/env bash
# Starts the desktop program where no window can be shown: with no display named at all,
# and with one named that nobody serves. Each time it must say that it needs a display,
# name vorlane-cli, and end with exit status 1 (not Qt's abort, 134, with its advice to
# reinstall). A platform named on the command line is enough to start.
# Usage: no_display_test.sh VORLANE_BINARY
set -uo pipefail
vorlane=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_STATE_HOME=$work/state
export XDG_RUNTIME_DIR=$work/runtime LC_ALL=C.UTF-8

failures=0
# Runs vorlane with the given environment changes (env arguments) and checks its end.
check() {
    local what=$1 rc err
    shift
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE "$@" \
        timeout -k 5 60 "$vorlane" >"$work/out" 2>"$work/err" </dev/null
    rc=$?
    err=$(cat "$work/err")
    if [[ $rc -ne 1 || $err != *"cannot open a display"* || $err != *vorlane-cli* ||
        $err == *Reinstalling* ]]; then
        echo "FAIL: $what: exit $rc, said: $err"
        failures=$((failures + 1))
    fi
}

# An X display number with neither a socket file nor an abstract socket.
free_display() {
    local n
    for n in $(seq 917 999); do
        [[ -e /tmp/.X11-unix/X$n ]] && continue
        grep -q "@/tmp/.X11-unix/X$n\$" /proc/net/unix 2>/dev/null && continue
        echo ":$n"
        return
    done
}

check "no display named"
# With nothing named, Qt is never started: the program's own two lines are all it says.
[[ $(wc -l <"$work/err") -eq 2 ]] || {
    echo "FAIL: no display named: more than the program's message: $(cat "$work/err")"
    failures=$((failures + 1))
}
display=$(free_display)
[[ -n $display ]] && check "DISPLAY=$display, served by nobody" DISPLAY="$display"
check "QT_QPA_PLATFORM=xcb without a display" QT_QPA_PLATFORM=xcb

# A platform named on the command line is a way to show the windows: the program starts
# (and, asked to, ends once its window is shown).
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM VORLANE_QUIT_WHEN_SHOWN=1 \
    timeout -k 5 60 "$vorlane" -platform offscreen >"$work/out" 2>"$work/err" </dev/null || {
    echo "FAIL: vorlane -platform offscreen did not start: $(cat "$work/err")"
    failures=$((failures + 1))
}
exit $((failures > 0))
