#!/bin/bash
# Times vorlane-cli on a tree 3,000 levels deep with 20 files spread down it: a listing,
# a purge that keeps the emptied folders, a purge that removes them, and rm -rf of the
# same tree for the file system's own cost of removing 3,000 folders.
#
#   bench/deep-tree.sh [FOLDER]      (default: a new folder under /var/tmp)
#   VORLANE_CLI: the binary to measure (default build/bin/vorlane-cli of this tree)
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cli=${VORLANE_CLI:-$repo/build/bin/vorlane-cli}
base=${1:-/var/tmp}
[ -x "$cli" ] || { echo "vorlane-cli not found at $cli" >&2; exit 1; }

work=$(mktemp -d "$base/vorlane-deep.XXXXXX")
# Reports of benchmark runs are not the user's to keep.
export XDG_STATE_HOME="$work/state"
trap 'rm -rf "$work"' EXIT

# Made through folder descriptors: the paths are far longer than any the system accepts.
make_tree() {
    python3 - "$1" <<'PY'
import os, sys
fd = os.open(sys.argv[1], os.O_RDONLY | os.O_DIRECTORY)
for level in range(3000):
    if level % 150 == 0:
        f = os.open(f"file{level}.txt", os.O_WRONLY | os.O_CREAT, 0o600, dir_fd=fd)
        os.write(f, b"deep secret\n")
        os.close(f)
    os.mkdir("d", dir_fd=fd)
    child = os.open("d", os.O_RDONLY | os.O_DIRECTORY, dir_fd=fd)
    os.close(fd)
    fd = child
os.close(fd)
PY
}

timed() {
    local label=$1
    shift
    sync
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1 || true
    end=$(date +%s.%N)
    awk -v l="$label" -v a="$start" -v b="$end" 'BEGIN { printf "  %-34s %8.2f s\n", l, b - a }'
}

echo "tree: 3000 levels, 20 files; type 2, 1 pass"
mkdir "$work/t" && make_tree "$work/t"
timed "list --subfolders" "$cli" list --folder "$work/t" --subfolders
timed "purge, emptied folders kept" "$cli" purge --folder "$work/t" --subfolders --type 2 \
    --passes 1 --keep-empty-folders --yes
rm -rf "$work/t" && mkdir "$work/t" && make_tree "$work/t"
timed "purge, emptied folders removed" "$cli" purge --folder "$work/t" --subfolders --type 2 \
    --passes 1 --yes
rm -rf "$work/t" && mkdir "$work/t" && make_tree "$work/t"
timed "rm -rf (the same removals)" rm -rf "$work/t"
