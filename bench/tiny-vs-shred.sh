#!/bin/bash
# Tiny files: vorlane-cli's batched folder purge against shred -u and against the floor
# (rm -rf + sync), on the same tree of files of 0-4 KiB, two overwrites each.
#
#   bench/tiny-vs-shred.sh [FILES] [FOLDER]
#
# FILES: how many files (default 10000, 1,000 to a folder). FOLDER: where the tree goes
# (default /var/tmp). VORLANE_CLI: the binary to measure (default build/bin/vorlane-cli).
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cli=${VORLANE_CLI:-$repo/build/bin/vorlane-cli}
files=${1:-10000}
base=${2:-/var/tmp}
[ -x "$cli" ] || { echo "error: vorlane-cli not found at $cli" >&2; exit 1; }

work=$(mktemp -d "$base/vorlane-tiny.XXXXXX")
# Reports of benchmark runs are not the user's to keep.
export XDG_STATE_HOME="$work/state"
trap 'rm -rf "$work"' EXIT
trap 'exit 130' INT TERM HUP

make_tree() {
    python3 "$repo/bench/make-small-tree.py" "$work/tree" "$files"
    sync -f "$work"
}

# timed NAME COMMAND...: prints the time per file
timed() {
    local name=$1 t0 t1
    shift
    make_tree
    t0=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    t1=$(date +%s.%N)
    [ "$(find "$work/tree" -type f | wc -l)" -eq 0 ] || { echo "error: $name left files" >&2; exit 1; }
    awk -v n="$name" -v a="$t0" -v b="$t1" -v f="$files" \
        'BEGIN { printf "  %-22s %8.3f s  %.3f ms per file\n", n, b - a, (b - a) * 1000 / f }'
}

shred_all() { find "$work/tree" -type f -print0 | xargs -0 shred -n 1 -z -u; }
floor() { rm -rf "$work/tree" && sync -f "$work" && mkdir "$work/tree"; }

echo "tiny-vs-shred: $(date -u '+%Y-%m-%d %H:%M:%S UTC'), load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "$files files of 0-4 KiB, two overwrites each, on $(findmnt -n -o FSTYPE --target "$work")"
timed "vorlane-cli (batched)" "$cli" purge --folder "$work/tree" --subfolders --yes --type 1 \
    --passes 1
timed "shred -n 1 -z -u" shred_all
timed "rm -rf + sync (floor)" floor
