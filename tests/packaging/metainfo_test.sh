#!/usr/bin/env bash
# Validates the AppStream file offline and checks that it lists this version's release,
# which software centres show as the installed version. Usage: metainfo_test.sh FILE VERSION
set -uo pipefail
file=$1
version=$2
appstreamcli validate --no-net --pedantic "$file" || exit 1
if ! grep -q "<release version=\"$version\"" "$file"; then
    echo "$file lists no release $version"
    exit 1
fi
