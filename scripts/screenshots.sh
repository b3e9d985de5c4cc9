#!/usr/bin/env bash
# Takes the screenshots of every window into docs/: at 1x (docs/*.png), at 2x
# (docs/2x/, QT_SCALE_FACTOR=2) and in a dark palette (docs/dark/), under a private
# Xvfb. The main window after start-up, with a setup for the next run and opened on a
# folder is the program itself; the other windows come from the picture programs in
# bench/ (ChoiceWindowScreenshots, ReportScreenshots, ToolWindowScreenshots), which
# also give the dark palette (VORLANE_DARK). Needs xvfb and imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
cmake --build build -j2 --target vorlane vorlane_data choice_screenshots report_screenshots \
    toolwin_screenshots >&2
work=$(mktemp -d)
trap 'kill "${app:-}" "${xvfb:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config
export XDG_STATE_HOME=$work/state
export LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb
export DISPLAY=:$((90 + RANDOM % 100))
# Large enough for the main window at 2x.
Xvfb "$DISPLAY" -screen 0 2400x1800x24 >/dev/null 2>&1 &
xvfb=$!
sleep 1

# The program as a person starts it: a picture of the whole screen, trimmed to the
# window at its top left.
shoot() {
    "$repo/build/bin/vorlane" "${@:2}" &
    app=$!
    sleep 3
    import -window root "$work/screen.png"
    kill "$app"
    wait "$app" 2>/dev/null || true
    convert "$work/screen.png" -trim +repage "$1"
}

main_window_pictures() {
    local out=$1
    rm -rf "$XDG_DATA_HOME" "$XDG_CONFIG_HOME"
    shoot "$out/main-window.png"
    local demo=$work/home/Letters
    mkdir -p "$demo/2019" "$demo/2020"
    for name in to-bank.odt to-landlord.odt tax-2019.pdf; do echo x >"$demo/$name"; done
    local setup_folder="$XDG_DATA_HOME/Vorlane Software"
    mkdir -p "$setup_folder"
    # Subfolders on, a date restriction before 1 January 2021 (day 2459216), purge
    # type 3 (2 in the file) with 2 passes.
    printf '%s\r\n' "0.12" " 1 " " 1 " "$demo" "*.odt" " 2 " " 2 " \
        " 0 " " 0 " " 1 " " 0 " " 0 " " 1 " " 1 " " 0 " " 2459216 " >"$setup_folder/vorlane.usr"
    shoot "$out/main-window-choices.png"
    # As a file manager's "Open With" starts it: the folder named on the command line.
    rm "$setup_folder/vorlane.usr"
    shoot "$out/opened-from-file-manager.png" "$demo"
}

window_pictures() {
    local out=$1
    (cd build/bin && ./choice_screenshots "$out" && ./report_screenshots "$out" &&
        ./toolwin_screenshots "$out") 2>/dev/null
}

for variant in 1x 2x dark; do
    case $variant in
    1x) out=$repo/docs ;;
    *) out=$repo/docs/$variant ;;
    esac
    mkdir -p "$out"
    unset QT_SCALE_FACTOR VORLANE_DARK
    case $variant in
    2x) export QT_SCALE_FACTOR=2 ;;
    dark) export VORLANE_DARK=1 ;;
    esac
    # The program itself knows no dark palette of its own: a desktop gives it one.
    if [ "$variant" != dark ]; then
        main_window_pictures "$out"
    fi
    window_pictures "$out"
    echo "$out"
done
