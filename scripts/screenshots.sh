#!/usr/bin/env bash
# Takes the README's screenshots of the desktop program under a private Xvfb:
# docs/main-window.png (after start-up) and docs/main-window-choices.png (a folder,
# a file specification, subfolders, a date restriction and purge type 3, given as
# the setup for the next run) and docs/opened-from-file-manager.png (a folder named on
# the command line, as a file manager's "Open With" gives it). Needs xvfb and imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."
program=$PWD/build/bin/vorlane
work=$(mktemp -d)
trap 'kill "${app:-}" "${xvfb:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config
export DISPLAY=:$((90 + RANDOM % 100))
Xvfb "$DISPLAY" -screen 0 1280x800x24 >/dev/null 2>&1 &
xvfb=$!
sleep 1

shoot() {
    "$program" "${@:2}" &
    app=$!
    sleep 2
    import -window root "$work/screen.png"
    kill "$app"
    wait "$app" 2>/dev/null || true
    # The window sits at the top left of an otherwise black screen.
    convert "$work/screen.png" -trim +repage "$1"
}

shoot docs/main-window.png

demo=$work/home/Letters
mkdir -p "$demo/2019" "$demo/2020"
for name in to-bank.odt to-landlord.odt tax-2019.pdf; do echo x >"$demo/$name"; done
setup_folder="$XDG_DATA_HOME/Vorlane Software"
mkdir -p "$setup_folder"
# Subfolders on, a date restriction before 1 January 2021 (day 2459216), purge type 3
# (2 in the file) with 2 passes.
printf '%s\r\n' "Vorlane 0.1" " 1 " " 1 " "$demo" "*.odt" " 2 " " 2 " \
    " 0 " " 0 " " 1 " " 0 " " 0 " " 1 " " 1 " " 0 " " 2459216 " >"$setup_folder/vorlane.usr"
shoot docs/main-window-choices.png

# As a file manager's "Open With" starts it: the folder named on the command line.
rm "$setup_folder/vorlane.usr"
shoot docs/opened-from-file-manager.png "$demo"
echo "docs/main-window.png docs/main-window-choices.png docs/opened-from-file-manager.png"
