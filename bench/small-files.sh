#!/bin/bash
# Wall time per file of a folder purge of many small files (0-4 KiB, 1,000 to a
# folder), batched and with --no-batch, and the longest shared flush (syncfs) of the
# batched purge while another program writes 1 GiB to the same volume.
#
#   bench/small-files.sh [FILES] [FOLDER]
#
# FILES: how many files (default 10000). FOLDER: where the tree goes (default /var/tmp).
# VORLANE_CLI: the binary to measure (default build/bin/vorlane-cli of this tree).
# The busy-disk figure needs strace and about 1.1 GiB free; it is skipped without them.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cli=${VORLANE_CLI:-$repo/build/bin/vorlane-cli}
files=${1:-10000}
base=${2:-/var/tmp}

die() { echo "error: $*" >&2; exit 1; }
[ -x "$cli" ] || die "vorlane-cli not found at $cli (build it or set VORLANE_CLI)"
command -v python3 >/dev/null || die "python3 not found"

work=$(mktemp -d "$base/vorlane-small.XXXXXX")
writer=
cleanup() {
    [ -z "$writer" ] || kill "$writer" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

make_tree() {
    python3 - "$work/tree" "$files" <<'PY'
import os, random, sys
root, count = sys.argv[1], int(sys.argv[2])
random.seed(7)
data = random.randbytes(4096)
for i in range(count):
    folder = os.path.join(root, f"d{i // 1000:03d}")
    if i % 1000 == 0:
        os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, f"f{i:06d}"), "wb") as f:
        f.write(data[:random.randint(0, 4096)])
PY
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

command -v strace >/dev/null || { echo "(no strace: busy-disk flush not measured)"; exit 0; }
avail_kib=$(df -Pk "$work" | awk 'NR == 2 { print $4 }')
[ "$avail_kib" -ge $((1100 * 1024)) ] || { echo "(under 1.1 GiB free: busy-disk flush not measured)"; exit 0; }
make_tree
dd if=/dev/zero of="$work/bystander" bs=1M count=1024 conv=fsync status=none &
writer=$!
sleep 1
strace -f -T -e trace=syncfs -o "$work/trace" \
    "$cli" purge --folder "$work/tree" --subfolders --yes --type 1 --passes 1 >"$work/report" 2>&1
wait "$writer" || true
writer=
awk -F'<' '/syncfs/ { sub(/>.*/, "", $NF); n++; t = $NF + 0; s += t; if (t > m) m = t }
    END { printf "  while dd writes 1 GiB: %d shared flushes, longest %.3f s, mean %.3f s\n", n, m, n ? s / n : 0 }' \
    "$work/trace"
