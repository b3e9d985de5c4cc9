#!/bin/bash
# Purges the free space of freshly made ext4, vfat and xfs images after marker files were
# deleted with a plain rm, and scans the raw images: no 8-byte piece of a marker may be
# left outside the file system's journal (on xfs the pieces left are printed only). The names of the deleted files are counted
# before and after (printed, not judged: a fill does not reach folder blocks).
#
# Needs root, losetup and the mkfs tools; exits 77 (skip) without them. xfs is left out
# when mkfs.xfs is missing. vfat goes through fusefat when the kernel has no driver.
#
#   VORLANE_CLI=path/to/vorlane-cli bash free_space_test.sh [ext4|vfat|xfs]...
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
helper=$here/forensic_image.py
cli=${VORLANE_CLI:-$here/../../build/bin/vorlane-cli}

skip() { echo "SKIP: $*"; exit 77; }
[ "$(id -u)" -eq 0 ] || skip "needs root"
for tool in losetup mkfs.ext4 debugfs mount umount mountpoint python3; do
    command -v "$tool" >/dev/null || skip "$tool not found"
done
[ -x "$cli" ] || { echo "FAIL: vorlane-cli not found at $cli (set VORLANE_CLI)"; exit 1; }

systems=("$@")
if [ "${#systems[@]}" -eq 0 ]; then
    systems=(ext4 vfat)
    command -v mkfs.xfs >/dev/null && systems+=(xfs)
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/vorlane-free-forensic.XXXXXX")
# The purges' kept reports stay with the test, out of the tester's own state folder.
export XDG_STATE_HOME=$work/state
loop=
fuse_pid=
# shellcheck disable=SC2317  # reached through the trap
cleanup() {
    set +e
    mountpoint -q "$work/mnt" && { umount "$work/mnt" || umount -l "$work/mnt"; }
    [ -n "$fuse_pid" ] && { kill "$fuse_pid"; wait "$fuse_pid"; }
    [ -n "$loop" ] && losetup -d "$loop"
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

attach() {
    loop=$(losetup -f --show "$1") || skip "cannot attach a loop device"
    # A discard would punch the freed blocks out of the image and let a plain delete look
    # like a purge: the loop device takes none, so the program's FITRIM is left out too.
    echo 0 >"/sys/block/${loop#/dev/}/queue/discard_max_bytes" 2>/dev/null || true
}

detach() {
    blockdev --flushbufs "$loop"
    losetup -d "$loop"
    loop=
}

mount_fs() {
    local fs=$1
    mkdir -p "$work/mnt"
    if [ "$fs" != vfat ]; then
        mount -t "$fs" -o nodiscard "$loop" "$work/mnt"
    elif ! mount -t vfat "$loop" "$work/mnt" 2>/dev/null; then
        command -v fusefat >/dev/null || skip "no vfat driver and no fusefat"
        fusefat -f -s -o rw+ "$loop" "$work/mnt" >>"$work/fusefat.log" 2>&1 &
        fuse_pid=$!
        local _
        for _ in $(seq 100); do
            mountpoint -q "$work/mnt" && break
            sleep 0.1
        done
        mountpoint -q "$work/mnt" || { echo "fusefat did not mount $loop"; return 1; }
    fi
}

unmount_fs() {
    sync
    umount "$work/mnt"
    if [ -n "$fuse_pid" ]; then
        wait "$fuse_pid" || true
        fuse_pid=
    fi
}

make_image() {
    local fs=$1 img=$2
    case $fs in
        ext4)
            truncate -s 64M "$img"
            mkfs.ext4 -q -F -b 4096 -E lazy_itable_init=0,lazy_journal_init=0,nodiscard "$img"
            ;;
        vfat)
            truncate -s 64M "$img"
            mkfs.vfat -s 8 -S 512 "$img" >/dev/null
            ;;
        xfs)
            # mkfs.xfs makes nothing under 300 MiB.
            truncate -s 320M "$img"
            mkfs.xfs -q -f -K "$img"
            ;;
    esac
}

run_fs() {
    local fs=$1 img=$work/$1.img rc=0
    echo "== $fs"
    make_image "$fs" "$img" || return 1
    attach "$img"
    mount_fs "$fs" || return 1
    python3 "$helper" deleted "$work/mnt" "$work" || return 1
    find "$work/mnt" -maxdepth 1 -type f -exec rm -f -- {} +
    unmount_fs || return 1
    detach
    # Prove that rm left the markers on the device before judging the fill.
    if python3 "$helper" residue "$img" "$fs" "$work" "after rm"; then
        echo "FAIL $fs: rm left no marker behind, so the test proves nothing"
        return 1
    fi

    attach "$img"
    mount_fs "$fs" || return 1
    local started=$SECONDS
    "$cli" purge-free-space --drive "$work/mnt" --yes >"$work/fill.out" 2>"$work/fill.err" || rc=$?
    sed 's/^/  | /' "$work/fill.out"
    sed 's/^/  ! /' "$work/fill.err"
    echo "  fill took $((SECONDS - started)) s, exit status $rc"
    local left
    left=$(find "$work/mnt" -mindepth 1 ! -path "$work/mnt/lost+found" | wc -l)
    unmount_fs || return 1
    detach
    [ "$rc" -eq 0 ] || return 1
    [ "$left" -eq 0 ] || { echo "FAIL $fs: $left entries left on the volume after the fill"; return 1; }
    if ! python3 "$helper" residue "$img" "$fs" "$work" "after the fill"; then
        # xfs keeps a few free blocks back from every write, root's too (the blocks its
        # delayed allocation and per-group reserves may need): a figure, not a failure.
        [ "$fs" = xfs ] || return 1
        echo "  NOTE xfs: the blocks above are free blocks that xfs gives to no write"
    fi
    rm -f "$img"
}

status=0
for fs in "${systems[@]}"; do
    if run_fs "$fs"; then
        echo "PASS $fs free space"
    else
        echo "FAIL $fs free space"
        status=1
    fi
done
exit $status
