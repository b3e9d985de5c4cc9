#!/bin/bash
# Wall time per file of a folder purge of many small files (0-4 KiB, 1,000 to a
# folder), batched and with --no-batch; then both again while another program writes
# 2 GiB to the same volume, with their flushes timed.
#
#   bench/small-files.sh [FILES] [FOLDER]
#
# FILES: how many files (default 10000). FOLDER: where the tree goes (default /var/tmp).
# VORLANE_CLI: the binary to measure (default build/bin/vorlane-cli of this tree).
# The busy-disk figures need strace and about 2.2 GiB free; they are skipped without them.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cli=${VORLANE_CLI:-$repo/build/bin/vorlane-cli}
files=${1:-10000}
base=${2:-/var/tmp}

die() { echo "error: $*" >&2; exit 1; }
[ -x "$cli" ] || die "vorlane-cli not found at $cli (build it or set VORLANE_CLI)"
command -v python3 >/dev/null || die "python3 not found"

work=$(mktemp -d "$base/vorlane-small.XXXXXX")
# Reports of benchmark runs are not the user's to keep.
export XDG_STATE_HOME="$work/state"
writer=
cleanup() {
    [ -z "$writer" ] || kill "$writer" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

make_tree() {
    python3 "$repo/bench/make-small-tree.py" "$work/tree" "$files"
    sync -f "$work"
}

now() { date +%s.%N; }

# purge [OPTION]...: sets $secs
purge() {
    local t0 t1
    t0=$(now)
    "$cli" purge --folder "$work/tree" --subfolders --yes --type 1 --passes 1 "$@" \
        >"$work/report" 2>&1 || { tail -n 5 "$work/report" >&2; die "purge failed"; }
    t1=$(now)
    secs=$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.3f", b - a }')
    [ "$(find "$work/tree" -type f | wc -l)" -eq 0 ] || die "files left behind"
}

per_file() { awk -v s="$1" -v n="$files" 'BEGIN { printf "%.3f ms per file, %.0f files/s", s * 1000 / n, n / s }'; }

read -r fstype device < <(findmnt -n -o FSTYPE,SOURCE --target "$work")
echo "small-files: $(date -u '+%Y-%m-%d %H:%M:%S UTC'), $(uname -sr), $(nproc) CPUs, load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "$files files of 0-4 KiB, 1,000 to a folder, on $fstype ($device); purge type 1, 1 pass (2 overwrites)"

make_tree
purge
echo "  batched      ${secs} s  $(per_file "$secs")"
make_tree
purge --no-batch
echo "  --no-batch   ${secs} s  $(per_file "$secs")"

command -v strace >/dev/null || { echo "(no strace: busy-disk figures not measured)"; exit 0; }
avail_kib=$(df -Pk "$work" | awk 'NR == 2 { print $4 }')
[ "$avail_kib" -ge $((2200 * 1024)) ] || { echo "(under 2.2 GiB free: busy-disk figures not measured)"; exit 0; }

# busy_purge NAME [OPTION]...: the purge while dd writes 2 GiB to the same volume. The
# shared flush (syncfs) also flushes dd's dirty pages; the per-file flush of --no-batch
# flushes only ours, so the pair shows whether our batches pay for the other writer.
busy_purge() {
    local name=$1 t0 t1
    shift
    make_tree
    dd if=/dev/zero of="$work/bystander" bs=1M count=2048 conv=fsync status=none &
    writer=$!
    sleep 2
    t0=$(now)
    strace -f -T -e trace=syncfs,fdatasync -o "$work/trace" "$cli" purge --folder "$work/tree" \
        --subfolders --yes --type 1 --passes 1 "$@" >"$work/report" 2>&1
    t1=$(now)
    wait "$writer" || true
    writer=
    rm -f "$work/bystander"
    awk -v name="$name" -v secs="$(awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }')" -F'<' '
        /syncfs|fdatasync/ { sub(/>.*/, "", $NF); n++; t = $NF + 0; s += t; if (t > m) m = t }
        END { printf "  while dd writes 2 GiB, %-11s %.3f s; %d flushes, longest %.3f s, mean %.4f s\n",
              name, secs, n, m, n ? s / n : 0 }' "$work/trace"
}
busy_purge batched
busy_purge --no-batch --no-batch
