#!/usr/bin/env bash
# Builds the Debian packages from the build tree into a temporary folder, checks what each
# holds and what it depends on, and runs lintian on them: no errors allowed, warnings
# shown. vorlane-cli is the command line and needs only QtCore; vorlane is the windows and
# depends on vorlane-cli of its own version (made only when the windows are built).
# Usage: deb_test.sh BUILD_DIR VERSION
set -uo pipefail
build=$1
version=$2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 ||
    fail "cpack: $(cat "$work/cpack.log")"
with_gui=false
[[ -e $build/bin/vorlane ]] && with_gui=true

# The one package of the given name and this version.
package() {
    local found=("$work/$1_${version}"_*.deb)
    [[ -f ${found[0]} ]] || fail "no $1_${version}_*.deb made: $(cat "$work/cpack.log")"
    echo "${found[0]}"
}
cli_deb=$(package vorlane-cli) || exit 1
debs=("$cli_deb")
if $with_gui; then
    gui_deb=$(package vorlane) || exit 1
    debs+=("$gui_deb")
fi
made=$(find "$work" -maxdepth 1 -name '*.deb' | wc -l)
[[ $made -eq ${#debs[@]} ]] || fail "$made packages made, expected ${#debs[@]}: $(ls "$work")"

contents() {
    dpkg-deb -c "$1" | awk '{print $6}' | sed 's|^\./||' | grep -v '/$'
}
# has_all PACKAGE PATH...: the package holds every path.
has_all() {
    local deb=$1 path
    shift
    contents "$deb" >"$work/contents"
    for path in "$@"; do
        grep -qx "$path" "$work/contents" || fail "${deb##*/} lacks /$path"
    done
}
# only_under PACKAGE PATTERN...: every file of the package matches one of the patterns.
only_under() {
    local deb=$1 unexpected
    shift
    unexpected=$(contents "$deb" | grep -v -E "$(IFS='|'; echo "$*")")
    [[ -z $unexpected ]] || fail "${deb##*/} holds unexpected files: $unexpected"
}

has_all "$cli_deb" usr/bin/vorlane-cli usr/share/vorlane/vorlane.dat \
    usr/share/vorlane/vn_help.txt usr/share/man/man1/vorlane-cli.1.gz \
    usr/share/bash-completion/completions/vorlane-cli usr/share/doc/vorlane-cli/copyright \
    usr/share/doc/vorlane-cli/changelog.gz
only_under "$cli_deb" '^usr/bin/vorlane-cli$' '^usr/share/vorlane/' \
    '^usr/share/man/man1/vorlane-cli\.1\.gz$' '^usr/share/bash-completion/' \
    '^usr/share/doc/vorlane-cli/'

cli_depends=$(dpkg-deb -f "$cli_deb" Depends)
[[ $cli_depends == *libqt6core6* && $cli_depends == *libc6* ]] ||
    fail "vorlane-cli's Depends does not name its shared libraries: '$cli_depends'"
# The command line must not pull in the window stack.
for library in libqt6gui6 libqt6widgets6 libqt6dbus6 libgl libx11 libxcb vorlane; do
    [[ $cli_depends != *"$library"* ]] || fail "vorlane-cli depends on $library: '$cli_depends'"
done

if $with_gui; then
    expected=(
        usr/bin/vorlane
        usr/share/applications/vorlane.desktop
        usr/share/kio/servicemenus/vorlane-purge.desktop
        usr/share/metainfo/com.vorlanesoftware.Vorlane.metainfo.xml
        usr/share/man/man1/vorlane.1.gz
        usr/share/icons/hicolor/scalable/apps/vorlane.svg
        usr/share/doc/vorlane/copyright
        usr/share/doc/vorlane/changelog.gz
    )
    for size in 16 22 24 32 48 64 128 256; do
        expected+=("usr/share/icons/hicolor/${size}x${size}/apps/vorlane.png")
    done
    has_all "$gui_deb" "${expected[@]}"
    only_under "$gui_deb" '^usr/bin/vorlane$' '^usr/share/(applications|kio|metainfo|icons)/' \
        '^usr/share/man/man1/vorlane\.1\.gz$' '^usr/share/doc/vorlane/'

    gui_depends=$(dpkg-deb -f "$gui_deb" Depends)
    [[ $gui_depends == *"vorlane-cli (= $version)"* ]] ||
        fail "vorlane does not depend on vorlane-cli (= $version): '$gui_depends'"
    [[ $gui_depends == *libqt6widgets6* ]] ||
        fail "vorlane's Depends does not name Qt Widgets: '$gui_depends'"
fi

# The packaged (stripped) command line, installed alone, finds its texts where its
# package puts them.
dpkg-deb -x "$cli_deb" "$work/root"
mkdir "$work/target" "$work/home"
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
export XDG_STATE_HOME=$work/home/.local/state
touch "$work/target/notes.txt"
out=$(LC_ALL=C.UTF-8 "$work/root/usr/bin/vorlane-cli" list --folder "$work/target" 2>&1) ||
    fail "the packaged vorlane-cli cannot list: $out"
[[ $out == *notes.txt* ]] || fail "the packaged vorlane-cli did not list the file: $out"

if $with_gui; then
    # The software-centre entry, as installed: its launchable desktop entry must be there.
    dpkg-deb -x "$gui_deb" "$work/root"
    appstreamcli validate-tree --no-net "$work/root" || fail "appstreamcli validate-tree"
fi

lintian --fail-on error --tag-display-limit 0 "${debs[@]}" || fail "lintian reports errors"
