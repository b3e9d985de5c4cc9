#!/usr/bin/env bash
# Lists a tree of many folders with vorlane-cli and with find, in the same run.
#
#   bench/list_bench.sh [path/to/vorlane-cli] [folders] [work folder]
set -euo pipefail

cli=${1:-build/bin/vorlane-cli}
folders=${2:-80000}
base=${3:-${TMPDIR:-/tmp}}

work=$(mktemp -d "$base/vorlane-list.XXXXXX")
# Reports of benchmark runs are not the user's to keep.
export XDG_STATE_HOME="$work/state"
trap 'rm -rf "$work"' EXIT

python3 - "$work/tree" "$folders" <<'PY'
import os, sys
top, count = sys.argv[1], int(sys.argv[2])
for i in range(count):
    folder = os.path.join(top, "g%d" % (i // 400), "f%d" % i)
    os.makedirs(folder)
    if i % 10 == 0:
        open(os.path.join(folder, "note.txt"), "w").write("x")
PY

now() { date +%s.%N; }
# Warm the cache once, so both listings read the same cached folders.
find "$work/tree" >/dev/null

start=$(now)
"$cli" list --folder "$work/tree" --subfolders >/dev/null || true
vorlane_s=$(echo "$(now) - $start" | bc -l)

start=$(now)
find "$work/tree" -type f -printf '%p %s %TY-%Tm-%Td\n' >/dev/null
find_s=$(echo "$(now) - $start" | bc -l)

printf 'folders: %d\n' "$folders"
printf 'vorlane-cli list --subfolders: %6.2f s\n' "$vorlane_s"
printf 'find -printf:                  %6.2f s\n' "$find_s"
printf 'ratio: %.2f\n' "$(echo "$vorlane_s / $find_s" | bc -l)"
