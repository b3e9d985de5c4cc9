#!/usr/bin/env bash
# Installs the build into a temporary prefix and runs the installed programs from there,
# with a home of their own, so that they can only find what the install put down.
# Usage: install_test.sh BUILD_DIR VERSION cli|gui
#   cli: the command line's component alone (what the package vorlane-cli holds):
#        vorlane-cli finds its program texts in PREFIX/share/vorlane, and only there;
#   gui: everything; vorlane starts offscreen, with no target, a file and a folder (exit 77
#        when the desktop program is not built).
set -uo pipefail
build=$1
version=$2
mode=$3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

fail() {
    echo "FAIL: $*"
    exit 1
}

export HOME=$work/home
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
export XDG_STATE_HOME=$HOME/.local/state
export XDG_RUNTIME_DIR=$work/runtime
export LC_ALL=C.UTF-8
mkdir -p "$HOME" "$work/target/sub"
mkdir -m 700 "$XDG_RUNTIME_DIR"
printf 'keep me\n' >"$work/target/notes.txt"

component=()
[[ $mode == cli ]] && component=(--component cli)
cmake --install "$build" --prefix "$prefix" "${component[@]}" >"$work/install.log" 2>&1 ||
    fail "cmake --install: $(cat "$work/install.log")"
# Every data file of the sources, the help text and example files included.
data=$(cd "$(dirname "$0")/../../data" && pwd)
for file in "$data"/*; do
    cmp -s "$file" "$prefix/share/vorlane/${file##*/}" ||
        fail "data/${file##*/} is not installed as share/vorlane/${file##*/}"
done

check_cli() {
    local cli=$prefix/bin/vorlane-cli out err rc
    [[ -x $cli ]] || fail "no bin/vorlane-cli installed"
    [[ ! -e $prefix/bin/vorlane.dat ]] || fail "program texts installed beside the programs"
    # The windows and what only they need stay out of the command line's component.
    local stray
    stray=$(cd "$prefix" && find . -type f | grep -e '^./bin/vorlane$' -e applications/ \
        -e /icons/ -e /metainfo/ -e servicemenus -e '/man1/vorlane\.1')
    [[ -z $stray ]] || fail "the command line's component holds the windows' files: $stray"

    # A listing needs the program texts: it proves that they are found from the prefix.
    out=$("$cli" list --folder "$work/target" 2>"$work/err")
    rc=$?
    err=$(cat "$work/err")
    [[ $rc -eq 0 ]] || fail "installed vorlane-cli list: exit $rc: $err"
    [[ $out == *notes.txt* ]] || fail "installed vorlane-cli list does not show the file: $out"
    [[ $err != *"program text"* ]] || fail "installed vorlane-cli: $err"

    # ... and only there: without them the same listing must fail and say so.
    mv "$prefix/share/vorlane" "$work/moved"
    "$cli" list --folder "$work/target" >/dev/null 2>"$work/err" &&
        fail "vorlane-cli listed without its program texts; it read them from elsewhere"
    grep -q "program text" "$work/err" || fail "no program-text message: $(cat "$work/err")"
    mv "$work/moved" "$prefix/share/vorlane"

    out=$("$cli" --version 2>&1) || fail "vorlane-cli --version: $out"
    [[ $(head -n 1 <<<"$out") == "vorlane-cli (Vorlane) $version" ]] ||
        fail "vorlane-cli --version printed '$out', expected 'vorlane-cli (Vorlane) $version'"
}

# Started means: still running after two seconds, then ended by us (timeout's 124, or
# 137 after the KILL). An exit of its own within two seconds is a failure.
check_starts() {
    local rc
    QT_QPA_PLATFORM=offscreen timeout -k 3 2 "$prefix/bin/vorlane" "$@" >"$work/gui.log" 2>&1
    rc=$?
    if [[ $rc -ne 124 && $rc -ne 137 ]]; then
        fail "vorlane $* ended by itself with exit $rc: $(cat "$work/gui.log")"
    fi
}

check_gui() {
    local gui=$prefix/bin/vorlane out
    if [[ ! -e $gui ]]; then
        echo "vorlane is not built here; nothing to start"
        exit 77
    fi
    out=$(QT_QPA_PLATFORM=offscreen timeout 10 "$gui" --version 2>&1) ||
        fail "vorlane --version: $out"
    [[ $(head -n 1 <<<"$out") == "vorlane $version" ]] ||
        fail "vorlane --version printed '$out', expected 'vorlane $version'"

    check_starts
    check_starts "$work/target/notes.txt"
    check_starts "$work/target"
    # Opening a target purges nothing: that waits for the confirmation.
    [[ $(cat "$work/target/notes.txt" 2>/dev/null) == "keep me" ]] ||
        fail "the file given to vorlane was changed"
}

case $mode in
    cli) check_cli ;;
    gui) check_gui ;;
    *) fail "unknown mode $mode" ;;
esac
