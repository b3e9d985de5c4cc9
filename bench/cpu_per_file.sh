#!/usr/bin/env bash
# CPU time per small file of a folder purge, with every flush made a no-op by
# bench/nosync_shim.c, so that only the program's own work is counted.
#
#   bench/cpu_per_file.sh [path/to/vorlane-cli] [files] [work folder] [extra purge options]
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
cli=${1:-build/bin/vorlane-cli}
files=${2:-100000}
base=${3:-${TMPDIR:-/tmp}}
shift $(( $# < 3 ? $# : 3 ))
per_folder=1000

work=$(mktemp -d "$base/vorlane-cpu.XXXXXX")
# Reports of benchmark runs are not the user's to keep.
export XDG_STATE_HOME="$work/state"
trap 'rm -rf "$work"' EXIT
cc -shared -fPIC -O2 -o "$work/nosync_shim.so" "$here/nosync_shim.c"

python3 - "$work/tree" "$files" "$per_folder" <<'PY'
import os, sys
top, files, per = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
block = os.urandom(4096)
for i in range(files):
    folder = os.path.join(top, "d%d" % (i // per))
    if i % per == 0:
        os.makedirs(folder)
    with open(os.path.join(folder, "f%d.dat" % i), "wb") as f:
        f.write(block[: i % 4097])
PY

/usr/bin/time -f '%U %S %e' -o "$work/time" env LD_PRELOAD="$work/nosync_shim.so" \
    "$cli" purge --folder "$work/tree" --subfolders --type 2 --passes 1 --yes "$@" >/dev/null || true
read -r user sys wall <"$work/time"
left=$(find "$work/tree" -type f | wc -l)
printf 'files: %d of 0-4 KiB, 3 overwrites each, flushes made no-ops (%d left)\n' "$files" "$left"
printf 'user %.2f s, system %.2f s, wall %.2f s\n' "$user" "$sys" "$wall"
printf 'CPU per file: %.3f ms (user %.3f, system %.3f)\n' \
    "$(echo "($user + $sys) * 1000 / $files" | bc -l)" \
    "$(echo "$user * 1000 / $files" | bc -l)" "$(echo "$sys * 1000 / $files" | bc -l)"
