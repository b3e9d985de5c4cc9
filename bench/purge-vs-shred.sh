#!/bin/bash
# Times vorlane-cli against shred on one file system in one run, and against what the
# device can take (dd writing the same bytes), and prints the figures and their ratios.
#
#   bench/purge-vs-shred.sh [--small] [FOLDER]
#
# --small: the small files only (no 1 GiB file, about 200 MiB free needed).
# FOLDER: where the files go (a new folder is made inside it and removed afterwards);
# default: a new folder under /var/tmp. Needs about 1.2 GiB free there.
# VORLANE_CLI: the binary to measure (default build/bin/vorlane-cli of this tree).
#
# Workloads, each with three overwrites per file, flushed after each overwrite:
#   large: one 1 GiB file. vorlane-cli purge --type 2 --passes 1 (0xAA, 0x55, 0x00)
#          and shred -n 2 -z -u; the device limit is dd bs=1M conv=notrunc,fsync x3,
#          which deletes nothing, so vorlane-cli --keep is timed beside it too.
#   small: 2,000 files of 1-100 KiB in 20 folders, sizes from a fixed seed. vorlane-cli
#          purges the folder (small files in batches, and with --no-batch one at a time);
#          shred gets the list (xargs splits it only where the command line is full);
#          the floor is rm -rf + sync of the same tree, which overwrites nothing.
# Caches are dropped before each timed run when running as root.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cli=${VORLANE_CLI:-$repo/build/bin/vorlane-cli}
small_only=0
if [ "${1:-}" = --small ]; then
    small_only=1
    shift
fi
base=${1:-/var/tmp}

die() { echo "error: $*" >&2; exit 1; }

[ -x "$cli" ] || die "vorlane-cli not found at $cli (build it or set VORLANE_CLI)"
[ -d "$base" ] || die "no such folder: $base"
for tool in shred dd python3 xargs findmnt awk; do
    command -v "$tool" >/dev/null || die "$tool not found"
done

work=$(mktemp -d "$base/vorlane-bench.XXXXXX")
# Reports of benchmark runs are not the user's to keep.
export XDG_STATE_HOME="$work/state"
cleanup() {
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

large_bytes=$((1024 * 1024 * 1024))
small_count=2000
need_kib=$((1200 * 1024))
[ "$small_only" -eq 0 ] || need_kib=$((200 * 1024))
avail_kib=$(df -Pk "$work" | awk 'NR == 2 { print $4 }')
[ "$avail_kib" -ge "$need_kib" ] || die "$work has ${avail_kib} KiB free, needs ${need_kib} KiB"

drop_caches() {
    sync
    if [ "$(id -u)" -eq 0 ]; then
        echo 3 >/proc/sys/vm/drop_caches 2>/dev/null || true
    fi
}

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b - a }'; }

# The file's content does not matter to an overwrite; random bytes keep a compressing
# or deduplicating file system from making the first pass look cheap.
make_large() {
    dd if=/dev/urandom of="$1" bs=1M count=$((large_bytes / 1048576)) conv=fsync status=none
}

make_small() {
    python3 - "$1" "$small_count" <<'EOF'
import os, random, sys
root, count = sys.argv[1], int(sys.argv[2])
random.seed(42)
block = random.randbytes(100 * 1024)
for i in range(count):
    folder = os.path.join(root, f"d{i % 20:02d}")
    os.makedirs(folder, exist_ok=True)
    size = random.randint(1024, 100 * 1024)
    with open(os.path.join(folder, f"f{i:04d}.bin"), "wb") as f:
        f.write(block[:size])
EOF
}

small_bytes() {
    find "$1" -type f -printf '%s\n' | awk '{ s += $1 } END { print s }'
}

# Each timer sets $secs.
secs=
time_dd() {
    local file=$1 t0 t1 _
    drop_caches
    t0=$(now)
    for _ in 1 2 3; do
        dd if=/dev/zero of="$file" bs=1M count=$((large_bytes / 1048576)) \
            conv=notrunc,fsync status=none
    done
    t1=$(now)
    secs=$(elapsed "$t0" "$t1")
}

# time_large TOOL FILE
time_large() {
    local tool=$1 file=$2 t0 t1 rc=0
    drop_caches
    t0=$(now)
    if [ "$tool" = vorlane ]; then
        "$cli" purge --type 2 --passes 1 "$file" >"$work/vorlane-large.log" 2>&1 || rc=$?
    elif [ "$tool" = vorlane-keep ]; then
        "$cli" purge --type 2 --passes 1 --keep "$file" >"$work/vorlane-large.log" 2>&1 || rc=$?
    else
        shred -n 2 -z -u "$file" || rc=$?
    fi
    t1=$(now)
    if [ "$rc" -ne 0 ]; then
        [ "$tool" = vorlane ] && cat "$work/vorlane-large.log" >&2
        die "$tool failed on the large file (exit $rc)"
    fi
    [ "$tool" = vorlane-keep ] || [ ! -e "$file" ] || die "$tool left the large file behind"
    secs=$(elapsed "$t0" "$t1")
}

# time_small TOOL FOLDER; TOOL: vorlane, vorlane-nobatch, shred or rm
time_small() {
    local tool=$1 dir=$2 t0 t1 rc=0 left
    # The list is made before the clock starts; name order keeps runs comparable.
    find "$dir" -type f -print0 | sort -z >"$work/list"
    drop_caches
    t0=$(now)
    case $tool in
        vorlane | vorlane-nobatch)
            local extra=()
            [ "$tool" = vorlane ] || extra=(--no-batch)
            "$cli" purge --folder "$dir" --subfolders --sensitive --yes --type 2 --passes 1 \
                "${extra[@]}" \
                >"$work/$tool-small.log" 2>&1 || rc=$?
            ;;
        shred)
            xargs -0 shred -n 2 -z -u <"$work/list" >"$work/$tool-small.log" 2>&1 || rc=$?
            ;;
        rm)
            { rm -rf "$dir" && sync -f "$work"; } >"$work/$tool-small.log" 2>&1 || rc=$?
            ;;
    esac
    t1=$(now)
    if [ "$rc" -ne 0 ]; then
        tail -n 5 "$work/$tool-small.log" >&2
        die "$tool failed on the small files (exit $rc)"
    fi
    left=$( [ -d "$dir" ] && find "$dir" -type f | wc -l || echo 0)
    [ "$left" -eq 0 ] || die "$tool left $left of the small files behind"
    secs=$(elapsed "$t0" "$t1")
}

mbps() { awk -v b="$1" -v s="$2" 'BEGIN { printf "%.1f", 3 * b / 1048576 / s }'; }
per_sec() { awk -v n="$1" -v s="$2" 'BEGIN { printf "%.1f", n / s }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

read -r fstype device < <(findmnt -n -o FSTYPE,SOURCE --target "$work")
echo "purge-vs-shred: $(date -u '+%Y-%m-%d %H:%M:%S UTC'), $(uname -sr), $(nproc) CPUs"
echo "folder:      $work"
echo "file system: $fstype on $device"
echo "vorlane-cli: $cli"
echo "shred:       $(shred --version | head -n 1)"
echo

large=$work/large.bin

if [ "$small_only" -eq 0 ]; then
    echo "large file: 1 GiB, 3 overwrites"
    make_large "$large"
    time_dd "$large"
    dd_s=$secs
    echo "  dd (device limit)  ${dd_s} s"

    make_large "$large"
    time_large vorlane "$large"
    vl_s=$secs
    echo "  vorlane-cli        ${vl_s} s"

    # The same overwrites without the delete: the delete of a 1 GiB file costs the file
    # system real work (freeing, and discarding where the mount asks for it) that dd skips.
    make_large "$large"
    time_large vorlane-keep "$large"
    vk_s=$secs
    echo "  vorlane-cli --keep ${vk_s} s (overwrites only, no delete)"
    rm -f "$large"

    make_large "$large"
    time_large shred "$large"
    sl_s=$secs
    echo "  shred              ${sl_s} s"
fi

echo "small files: $small_count files of 1-100 KiB in 20 folders, 3 overwrites each"
for tool in vorlane vorlane-nobatch shred rm; do
    rm -rf "$work/small"
    make_small "$work/small"
    set_bytes=$(small_bytes "$work/small")
    time_small "$tool" "$work/small"
    printf -v "small_${tool//-/_}" '%s' "$secs"
    printf '  %-22s %s s\n' "$tool" "$secs"
done
echo

vs_s=$small_vorlane
vn_s=$small_vorlane_nobatch
ss_s=$small_shred
rm_s=$small_rm
vs_fs=$(per_sec "$small_count" "$vs_s")
vn_fs=$(per_sec "$small_count" "$vn_s")
ss_fs=$(per_sec "$small_count" "$ss_s")
rm_fs=$(per_sec "$small_count" "$rm_s")

if [ "$small_only" -eq 0 ]; then
    dd_mb=$(mbps "$large_bytes" "$dd_s")
    vl_mb=$(mbps "$large_bytes" "$vl_s")
    sl_mb=$(mbps "$large_bytes" "$sl_s")
    printf '%-34s %12s %12s %12s\n' "" "vorlane-cli" "shred" "dd"
    printf '%-34s %12s %12s %12s\n' "large file, MB/s per overwrite" "$vl_mb" "$sl_mb" "$dd_mb"
    echo "vorlane-cli / shred, large file:   $(ratio "$vl_mb" "$sl_mb")"
    echo "vorlane-cli / device limit (dd):   $(ratio "$vl_mb" "$dd_mb")"
    echo "  overwrites only (--keep):        $(ratio "$(mbps "$large_bytes" "$vk_s")" "$dd_mb")"
    echo
fi
printf '%-34s %12s %12s %12s %12s\n' "" "batched" "--no-batch" "shred -u" "rm+sync"
printf '%-34s %12s %12s %12s %12s\n' "small files, files/s" "$vs_fs" "$vn_fs" "$ss_fs" "$rm_fs"
printf '%-34s %12s %12s %12s %12s\n' "small files, MB/s per overwrite" \
    "$(mbps "$set_bytes" "$vs_s")" "$(mbps "$set_bytes" "$vn_s")" "$(mbps "$set_bytes" "$ss_s")" "-"
echo
echo "vorlane-cli / shred, small files:            $(ratio "$vs_fs" "$ss_fs")"
echo "vorlane-cli --no-batch / shred, small files: $(ratio "$vn_fs" "$ss_fs")"
echo "vorlane-cli / rm -rf + sync (the floor):     $(ratio "$vs_fs" "$rm_fs")"
echo "(MB = 1,048,576 bytes; small-file MB/s counts file bytes only, not slack)"
