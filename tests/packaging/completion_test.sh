#!/usr/bin/env bash
# Completes vorlane-cli command lines through the installed completion script and
# compares the offered words. Usage: completion_test.sh COMPLETION_FILE
set -uo pipefail
completion=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# shellcheck source=/dev/null
source /usr/share/bash-completion/bash_completion
# shellcheck source=/dev/null
source "$completion"

mkdir -p "$work/jobs" "$work/docs"
touch "$work/weekly.vns" "$work/notes.txt"
# A mount table with the kernel's own file systems, RAM folders and real volumes.
cat >"$work/mounts" <<'TABLE'
proc /proc proc rw 0 0
sysfs /sys sysfs rw 0 0
cgroup2 /sys/fs/cgroup cgroup2 rw 0 0
udev /dev devtmpfs rw 0 0
devpts /dev/pts devpts rw 0 0
tmpfs /dev/shm tmpfs rw 0 0
tmpfs /run tmpfs rw 0 0
tmpfs /run/user/1000 tmpfs rw 0 0
/dev/sda1 / ext4 rw 0 0
/dev/sda2 /home ext4 rw 0 0
/dev/sda2 /home ext4 rw 0 0
/dev/sdb1 /media/usb\040stick vfat rw 0 0
tmpfs /tmp tmpfs rw 0 0
systemd-1 /mnt/auto autofs rw 0 0
TABLE
_vorlane_cli_mount_table=$work/mounts
cd "$work" || exit 1

failures=0
# Completes the line (the cursor at its end) and prints the offered words, sorted.
complete_line() {
    local line=$1
    read -r -a COMP_WORDS <<<"$line"
    [[ $line == *' ' ]] && COMP_WORDS+=('')
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE=$line
    COMP_POINT=${#line}
    COMPREPLY=()
    _vorlane_cli vorlane-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ' | sed 's/ $//'
}

check() {
    local line=$1 expected=$2 actual
    actual=$(complete_line "$line")
    if [[ $actual != "$expected" ]]; then
        echo "FAIL: '$line' offered '$actual', expected '$expected'"
        failures=$((failures + 1))
    fi
}

# line                                      expected words
check 'vorlane-cli '                        'list purge purge-free-space purge-trash save-setup speed-test'
check 'vorlane-cli pu'                      'purge purge-free-space purge-trash'
check 'vorlane-cli --v'                     '--version'
check 'vorlane-cli purge --ty'              '--type'
check 'vorlane-cli purge --type '           '1 2 3'
check 'vorlane-cli purge --type='           '1 2 3'
check 'vorlane-cli purge --no-'             '--no-batch --no-keep-report --no-preserve-root --no-read-only'
check 'vorlane-cli purge --folder '         'docs jobs'
check 'vorlane-cli purge --setup '          'docs jobs weekly.vns'
check 'vorlane-cli purge --spec '           ''
check 'vorlane-cli purge --keep no'         'notes.txt'
check 'vorlane-cli list --fo'               '--folder --folders'
check 'vorlane-cli list --k'                ''
check 'vorlane-cli speed-test --'           '--drive --help --passes --type'
check 'vorlane-cli speed-test --passes '    '1 2 3 4 5 6 7 8 9'
check 'vorlane-cli speed-test --type 3 --passes ' '1 2 3 4'
check 'vorlane-cli list --type=2 --passes ' '1 2 3 4 5 6 7 8'
check 'vorlane-cli purge-trash --drive /'   '/ /home /media/usb stick /tmp'
check 'vorlane-cli save-setup '             'docs jobs weekly.vns'
check 'vorlane-cli purge-free-space --'     '--drive --help --json --no-keep-report --passes --quiet --type --yes'
check 'vorlane-cli purge-trash --'          '--drive --help --json --quiet --verbose --yes'
check 'vorlane-cli purge-free-space --drive /' '/ /home /media/usb stick /tmp'
check 'vorlane-cli purge --fi'              '--file-names --files-from'
check 'vorlane-cli purge -n '               '1 2 3 4 5 6 7 8 9'

exit $((failures > 0))
