#!/usr/bin/env bash
# Validates the menu entry and checks which files it offers to open: folders only. A file
# type in its MimeType makes Vorlane a program that opens such files, which a double click
# in a file manager can start; files are offered by the "Purge with Vorlane" action of the
# file manager's service menu instead. Usage: desktop_entry_test.sh DESKTOP_FILE SERVICE_MENU
set -uo pipefail
entry=$1
menu=$2
fail() {
    echo "FAIL: $*"
    exit 1
}
desktop-file-validate "$entry" || fail "desktop-file-validate $entry"

value() {  # the key's value in the file's main group
    sed -n '/^\[Desktop Entry\]/,/^\[/p' "$1" | sed -n "s/^$2=//p"
}
types=$(value "$entry" MimeType)
[[ $types == "inode/directory;" ]] || fail "the menu entry opens '$types', not folders only"
[[ $(value "$entry" Exec) == *%[fF]* ]] || fail "the menu entry takes no folder"

grep -qx 'Name=Purge with Vorlane' "$menu" || fail "the service menu offers no 'Purge with Vorlane'"
[[ $(value "$menu" MimeType) == *application/octet-stream* ]] ||
    fail "the service menu's action is not offered for files"
