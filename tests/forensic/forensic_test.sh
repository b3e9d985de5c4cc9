#!/bin/bash
# Purges marker files on freshly made ext4 and vfat images and scans the raw images:
# no byte of a purged file may be left anywhere, slack included, and a bystander file
# must come through untouched.
#
# Needs root, losetup and mkfs.ext4/mkfs.vfat; exits 77 (skip) without them.
# The kernel may lack a vfat driver; fusefat (-o rw+) mounts the image then.
#
#   VORLANE_CLI=path/to/vorlane-cli bash forensic_test.sh
#   bash forensic_test.sh --rm     deletes with rm instead of purging; must FAIL
#                                  (same as FORENSIC_DELETE_WITH_RM=1)
#   bash forensic_test.sh --shred  deletes with shred -u, to compare the name traces
#
# Each file system is purged twice: the targets named on the command line (one file at a
# time), and the same targets as a folder purge (small files in batches, sharing each
# overwrite's flush); the bystander is moved into a subfolder for the latter.
#
# Then a slack-only purge of slack.bin on each file system: its slack must hold no marker
# byte afterwards and its data must read back unchanged. On ext4 the kernel zeroed that
# slack already when the file was cut; vfat keeps it, so only vfat really tests it.
#
# One target's name is a marker too; its traces in the image are counted before and
# after the purge (printed, not judged: no tool removes every copy of a name).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
helper=$here/forensic_image.py
use_rm=${FORENSIC_DELETE_WITH_RM:-0}
use_shred=0
for arg in "$@"; do
    case $arg in
        --rm) use_rm=1 ;;
        --shred) use_shred=1 ;;
        *) echo "usage: $0 [--rm | --shred]" >&2; exit 2 ;;
    esac
done

skip() { echo "SKIP: $*"; exit 77; }

[ "$(id -u)" -eq 0 ] || skip "needs root"
for tool in losetup mkfs.ext4 mkfs.vfat mount umount mountpoint blockdev python3; do
    command -v "$tool" >/dev/null || skip "$tool not found"
done

cli=${VORLANE_CLI:-$here/../../build/bin/vorlane-cli}
if [ "$use_rm" != 1 ] && [ ! -x "$cli" ]; then
    echo "FAIL: vorlane-cli not found at $cli (set VORLANE_CLI)"
    exit 1
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/vorlane-forensic.XXXXXX")
# The purges' kept reports stay with the test, out of the tester's own state folder.
export XDG_STATE_HOME=$work/state
loops=()
mounts=()
fuse_pids=()

# shellcheck disable=SC2317  # reached through the trap
cleanup() {
    set +e
    local m l p
    for m in "${mounts[@]}"; do
        if mountpoint -q "$m"; then
            umount "$m" 2>/dev/null || umount -l "$m"
        fi
    done
    for p in "${fuse_pids[@]}"; do
        kill "$p" 2>/dev/null
        wait "$p" 2>/dev/null
    done
    for l in "${loops[@]}"; do
        losetup -d "$l" 2>/dev/null
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

# Sets $loop.
attach() {
    loop=$(losetup -f --show "$1") || return 1
    loops+=("$loop")
}

detach() {
    blockdev --flushbufs "$1" && losetup -d "$1" || return 1
    local kept=() l
    for l in "${loops[@]}"; do
        [ "$l" = "$1" ] || kept+=("$l")
    done
    loops=("${kept[@]}")
}

have_fusefat() { command -v fusefat >/dev/null; }

# mount_fs FSTYPE LOOP MOUNTPOINT rw|ro
fuse_pid=
mount_fs() {
    local fs=$1 dev=$2 mnt=$3 mode=$4
    mkdir -p "$mnt"
    fuse_pid=
    if [ "$fs" = ext4 ]; then
        # nodiscard: a discard would punch the freed blocks out of the image and let a
        # plain delete look like a purge.
        mount -t ext4 -o "$mode,nodiscard" "$dev" "$mnt" || return 1
    elif mount -t vfat -o "$mode" "$dev" "$mnt" 2>/dev/null; then
        :
    else
        have_fusefat || { echo "no vfat driver and no fusefat"; return 1; }
        # fusefat refuses to start without one of these; rw+ is its (experimental) writer.
        local opts=(-o ro)
        [ "$mode" = rw ] && opts=(-o rw+)
        # Foreground, so its id is ours and unmounting can wait until it has written all.
        fusefat -f -s "${opts[@]}" "$dev" "$mnt" >>"$work/fusefat.log" 2>&1 &
        fuse_pid=$!
        fuse_pids+=("$fuse_pid")
        local _
        for _ in $(seq 100); do
            mountpoint -q "$mnt" && break
            kill -0 "$fuse_pid" 2>/dev/null || break
            sleep 0.1
        done
        mountpoint -q "$mnt" || { echo "fusefat did not mount $dev"; return 1; }
    fi
    mounts+=("$mnt")
}

unmount_fs() {
    local mnt=$1
    sync
    umount "$mnt" || return 1
    if [ -n "$fuse_pid" ]; then
        wait "$fuse_pid" || true
        local kept=() p
        for p in "${fuse_pids[@]}"; do
            [ "$p" = "$fuse_pid" ] || kept+=("$p")
        done
        fuse_pids=("${kept[@]}")
        fuse_pid=
    fi
    sync
}

make_image() {
    local fs=$1 img=$2
    truncate -s 64M "$img"
    if [ "$fs" = ext4 ]; then
        mkfs.ext4 -q -F -b 4096 -E lazy_itable_init=0,lazy_journal_init=0,nodiscard "$img" || return 1
    else
        # 8 sectors of 512 bytes: 4096-byte clusters, as on ext4.
        mkfs.vfat -s 8 -S 512 "$img" >/dev/null || return 1
    fi
}

# A loop device we cannot get means this machine cannot run the test at all.
probe=$work/probe.img
truncate -s 1M "$probe"
attach "$probe" || skip "cannot attach a loop device"
detach "$loop"
rm -f "$probe"
if ! grep -qw vfat /proc/filesystems && ! modprobe -q vfat 2>/dev/null && ! have_fusefat; then
    skip "no vfat driver and no fusefat"
fi

# Called as an if condition, where errexit does not act: every step checks for itself.
run_fs() {
    local fs=$1 mode=$2 dir=$work/$1-$2
    local bystander=bystander.bin
    local img=$dir/image mnt=$dir/mnt
    mkdir -p "$dir"
    echo "== $fs ($mode)"
    make_image "$fs" "$img" || return 1
    attach "$img" || return 1
    mount_fs "$fs" "$loop" "$mnt" rw || return 1
    echo "  $(findmnt -n -o FSTYPE,SOURCE --target "$mnt") at $mnt"
    python3 "$helper" populate "$mnt" "$dir" || return 1
    if [ "$mode" = folder ]; then
        mkdir "$mnt/keep" && mv "$mnt/bystander.bin" "$mnt/keep/" || return 1
        bystander=keep/bystander.bin
    fi
    unmount_fs "$mnt" || return 1
    detach "$loop" || return 1

    # Prove the markers are on the device before judging their absence.
    python3 "$helper" inspect "$img" "$fs" "$dir" || return 1
    python3 "$helper" names "$img" "$fs" "before the purge"

    attach "$img" || return 1
    mount_fs "$fs" "$loop" "$mnt" rw || return 1
    local targets=()
    mapfile -t targets < <(python3 -c 'import json,sys
for t in json.load(open(sys.argv[1]))["targets"]: print(t["name"])' "$dir/manifest.json")
    [ "${#targets[@]}" -gt 0 ] || return 1
    local paths=() t
    for t in "${targets[@]}"; do
        paths+=("$mnt/$t")
    done
    local rc=0 ok=0 lines
    if [ "$use_rm" = 1 ]; then
        echo "  deleting with rm (this run must FAIL)"
        rm -f -- "${paths[@]}" || rc=$?
    elif [ "$use_shred" = 1 ]; then
        echo "  deleting with shred -u"
        shred -u -- "${paths[@]}" || rc=$?
    elif [ "$mode" = folder ]; then
        "$cli" purge --folder "$mnt" --file-names --sensitive --yes \
            >"$dir/purge.out" 2>"$dir/purge.err" || rc=$?
        sed 's/^/  | /' "$dir/purge.out"
        sed 's/^/  ! /' "$dir/purge.err"
        lines=$(grep -c ' purged$' "$dir/purge.out" || true)
        if [ "$lines" -ne "${#paths[@]}" ]; then
            echo "FAIL $fs folder purge: $lines files purged of ${#paths[@]}"
            ok=1
        fi
    else
        "$cli" purge "${paths[@]}" >"$dir/purge.out" 2>"$dir/purge.err" || rc=$?
        sed 's/^/  | /' "$dir/purge.out"
        sed 's/^/  ! /' "$dir/purge.err"
        lines=$(grep -c . "$dir/purge.out" || true)
        if [ "$lines" -ne "${#paths[@]}" ]; then
            echo "FAIL $fs purge: $lines lines of output for ${#paths[@]} files"
            ok=1
        fi
    fi
    if [ "$rc" -ne 0 ]; then
        echo "FAIL $fs purge: exit code $rc"
        ok=1
    fi
    unmount_fs "$mnt" || return 1
    detach "$loop" || return 1

    python3 "$helper" verify "$img" "$fs" "$dir" || ok=1
    python3 "$helper" names "$img" "$fs" "after the purge"

    # Read back through the file system: the purged names are gone, the bystander reads
    # back byte for byte.
    attach "$img" || return 1
    mount_fs "$fs" "$loop" "$mnt" ro || return 1
    for t in "${targets[@]}"; do
        if [ -e "$mnt/$t" ]; then
            echo "FAIL $fs $t: still listed after the purge"
            ok=1
        fi
    done
    if cmp -s "$dir/bystander.expected" "$mnt/$bystander"; then
        echo "PASS $fs bystander.bin: reads back unchanged"
    else
        echo "FAIL $fs bystander.bin: does not read back unchanged"
        ok=1
    fi
    # A purge that renames before deleting must not leave the renamed file behind.
    local entry
    for entry in "$mnt"/* "$mnt"/.[!.]* "$mnt"/..?*; do
        [ -e "$entry" ] || continue
        case ${entry##*/} in
            bystander.bin | keep | lost+found) ;;
            *) echo "FAIL $fs: unexpected name left behind: ${entry##*/}"; ok=1 ;;
        esac
    done
    unmount_fs "$mnt" || return 1
    detach "$loop" || return 1
    rm -f "$img"
    return $ok
}

# A slack-only purge of slack.bin: the slack is clean, the file stays as it was.
run_slack() {
    local fs=$1 dir=$work/$1-slack
    local img=$dir/image mnt=$dir/mnt rc=0 ok=0
    mkdir -p "$dir"
    echo "== $fs (slack only)"
    make_image "$fs" "$img" || return 1
    attach "$img" || return 1
    mount_fs "$fs" "$loop" "$mnt" rw || return 1
    python3 "$helper" populate "$mnt" "$dir" >/dev/null || return 1
    unmount_fs "$mnt" || return 1
    detach "$loop" || return 1
    python3 "$helper" inspect "$img" "$fs" "$dir" | grep 'slack\|FAIL' || true

    attach "$img" || return 1
    mount_fs "$fs" "$loop" "$mnt" rw || return 1
    "$cli" purge --slack-only "$mnt/slack.bin" >"$dir/purge.out" 2>"$dir/purge.err" || rc=$?
    sed 's/^/  | /' "$dir/purge.out"
    sed 's/^/  ! /' "$dir/purge.err"
    if [ "$rc" -ne 0 ] || ! grep -q ': slack purged$' "$dir/purge.out"; then
        echo "FAIL $fs slack-only purge: exit code $rc"
        ok=1
    fi
    unmount_fs "$mnt" || return 1
    detach "$loop" || return 1

    python3 "$helper" slack "$img" "$fs" "$dir" || ok=1
    attach "$img" || return 1
    mount_fs "$fs" "$loop" "$mnt" ro || return 1
    if cmp -s "$dir/slack.expected" "$mnt/slack.bin"; then
        echo "PASS $fs slack.bin: reads back unchanged"
    else
        echo "FAIL $fs slack.bin: does not read back unchanged"
        ok=1
    fi
    unmount_fs "$mnt" || return 1
    detach "$loop" || return 1
    rm -f "$img"
    return $ok
}

status=0
modes=(files folder)
[ "$use_rm" != 1 ] && [ "$use_shred" != 1 ] || modes=(files)
for fs in ext4 vfat; do
    for mode in "${modes[@]}"; do
        if run_fs "$fs" "$mode"; then
            echo "PASS $fs ($mode)"
        else
            echo "FAIL $fs ($mode)"
            status=1
        fi
    done
    if [ "$use_rm" != 1 ] && [ "$use_shred" != 1 ]; then
        if run_slack "$fs"; then
            echo "PASS $fs (slack only)"
        else
            echo "FAIL $fs (slack only)"
            status=1
        fi
    fi
done
if [ "$status" -ne 0 ] && [ -s "$work/fusefat.log" ]; then
    echo "-- last lines of the fusefat log"
    tail -n 5 "$work/fusefat.log"
fi
exit $status
