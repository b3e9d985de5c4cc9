#!/usr/bin/env bash
# Purges 2,000 small files in a tree through the operation driver and, in the same
# run on the same file system, the same files with shred; prints files per second
# and the ratio. Both write three overwrites per file (vorlane type 2 with one pass:
# 10101010, 01010101, 00000000; shred: two random passes and zeros) and sync each.
#
#   bench/operation_bench.sh [path/to/vorlane-cli] [work folder]
set -euo pipefail

cli=${1:-build/bin/vorlane-cli}
base=${2:-${TMPDIR:-/tmp}}
folders=20
per_folder=100
files=$((folders * per_folder))

work=$(mktemp -d "$base/vorlane-bench.XXXXXX")
# Reports of benchmark runs are not the user's to keep.
export XDG_STATE_HOME="$work/state"
trap 'rm -rf "$work"' EXIT

make_tree() {
    local top=$1
    for ((f = 0; f < folders; f++)); do
        mkdir -p "$top/d$f"
        for ((i = 0; i < per_folder; i++)); do
            head -c $((512 + (i * 97) % 7680)) /dev/urandom >"$top/d$f/file$i.dat"
        done
    done
}

now() { date +%s.%N; }

make_tree "$work/vorlane"
make_tree "$work/shred"
sync

start=$(now)
"$cli" purge --folder "$work/vorlane" --subfolders --type 2 --passes 1 --yes >/dev/null 2>&1
vorlane_s=$(echo "$(now) - $start" | bc -l)

start=$(now)
find "$work/shred" -type f -exec shred -n 2 -z -u {} +
shred_s=$(echo "$(now) - $start" | bc -l)

left=$(find "$work/vorlane" -type f | wc -l)
printf 'files: %d in %d folders (512 B to 8 KB), 3 overwrites each\n' "$files" "$folders"
printf 'vorlane-cli purge --folder: %8.2f s  %8.1f files/s  (%d files left)\n' \
    "$vorlane_s" "$(echo "$files / $vorlane_s" | bc -l)" "$left"
printf 'shred -n 2 -z -u:           %8.2f s  %8.1f files/s\n' \
    "$shred_s" "$(echo "$files / $shred_s" | bc -l)"
printf 'ratio (vorlane files/s / shred files/s): %.2f\n' "$(echo "$shred_s / $vorlane_s" | bc -l)"
