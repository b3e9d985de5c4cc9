#!/usr/bin/env bash
# Builds the Debian package from the build tree into a temporary folder, checks what it
# holds and what it depends on, and runs lintian on it: no errors allowed, warnings shown.
# Usage: deb_test.sh BUILD_DIR VERSION
set -uo pipefail
build=$1
version=$2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 ||
    fail "cpack: $(cat "$work/cpack.log")"
debs=("$work"/vorlane_"$version"_*.deb)
deb=${debs[0]}
[[ -f $deb ]] || fail "no vorlane_${version}_*.deb made: $(cat "$work/cpack.log")"

expected=(
    usr/bin/vorlane-cli
    usr/share/vorlane/vorlane.dat
    usr/share/applications/vorlane.desktop
    usr/share/kio/servicemenus/vorlane-purge.desktop
    usr/share/metainfo/com.vorlanesoftware.Vorlane.metainfo.xml
    usr/share/man/man1/vorlane.1.gz
    usr/share/man/man1/vorlane-cli.1.gz
    usr/share/bash-completion/completions/vorlane-cli
    usr/share/icons/hicolor/scalable/apps/vorlane.svg
    usr/share/doc/vorlane/copyright
    usr/share/doc/vorlane/changelog.gz
)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("usr/share/icons/hicolor/${size}x${size}/apps/vorlane.png")
done
[[ -e $build/bin/vorlane ]] && expected+=(usr/bin/vorlane)
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./||' >"$work/contents"
for path in "${expected[@]}"; do
    grep -qx "$path" "$work/contents" || fail "the package lacks /$path"
done
# Only what belongs to Vorlane: no test programs, no build leftovers.
unexpected=$(grep -v -e '/$' -e '^usr/share/' -e '^usr/bin/vorlane$' -e '^usr/bin/vorlane-cli$' \
    "$work/contents")
[[ -z $unexpected ]] || fail "the package holds unexpected files: $unexpected"

# The dependencies come from the binaries (shlibdeps), so Qt must be among them.
depends=$(dpkg-deb -f "$deb" Depends)
[[ $depends == *libqt6core6* && $depends == *libc6* ]] ||
    fail "Depends does not name the shared libraries: '$depends'"

# The packaged (stripped) program finds its texts where the package puts them.
dpkg-deb -x "$deb" "$work/root"
mkdir "$work/target" "$work/home"
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
touch "$work/target/notes.txt"
out=$(LC_ALL=C.UTF-8 "$work/root/usr/bin/vorlane-cli" list --folder "$work/target" 2>&1) ||
    fail "the packaged vorlane-cli cannot list: $out"
[[ $out == *notes.txt* ]] || fail "the packaged vorlane-cli did not list the file: $out"

# The software-centre entry, as installed: its launchable desktop entry must be there.
appstreamcli validate-tree --no-net "$work/root" || fail "appstreamcli validate-tree"

lintian --fail-on error --tag-display-limit 0 "$deb" || fail "lintian reports errors"
