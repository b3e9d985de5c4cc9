#!/bin/bash
# Traces the flushes of a folder purge of 1,000 small files: each overwrite of a batch
# reaches the device through one shared flush of the volume (syncfs); while it succeeds no
# file is flushed on its own (from Linux 5.8 on syncfs reports every writeback error of
# the volume; before, each file is asked once per overwrite), and the names go with one
# folder flush (fsync) per batch. Skips (77) without strace or ptrace.
set -euo pipefail

cli=${VORLANE_CLI:?VORLANE_CLI names the vorlane-cli to trace}
command -v strace >/dev/null || { echo "skip: strace is not installed"; exit 77; }
strace -f -o /dev/null true 2>/dev/null || { echo "skip: ptrace is not permitted"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The purge's kept report stays with the test, out of the tester's own state folder.
export XDG_STATE_HOME=$work/state

files=1000
batches=2       # at most 500 files in one batch
overwrites=2    # purge type 1, one pass: random bytes, then zeros
mkdir "$work/tree"
for i in $(seq 1 "$files"); do
    head -c $((i % 4097)) /dev/zero >"$work/tree/f$i"
done

count() { grep -c "^[0-9]* *$1(" "$work/trace" || true; }

# Only the purge's flushes count: the kept report's own flush is left out.
run() {
    strace -f -o "$work/trace" -e trace=syncfs,fdatasync,fsync \
        "$cli" purge --folder "$work/tree" --yes --type 1 --passes 1 --no-keep-report "$@" \
        >"$work/report" 2>&1
    left=$(find "$work/tree" -type f | wc -l)
    [ "$left" -eq 0 ] || { echo "FAIL: $left files left"; exit 1; }
}

fail=0
check() {  # check WHAT VALUE LIMIT
    if [ "$2" -gt "$3" ]; then
        echo "FAIL: $1 = $2, at most $3 expected"
        fail=1
    else
        echo "ok:   $1 = $2 (at most $3)"
    fi
}

run
check "syncfs (shared flushes)" "$(count syncfs)" $((2 * overwrites * batches))
per_file=0
IFS=. read -r major minor _ <<<"$(uname -r)"
[ "$major" -gt 5 ] || { [ "$major" -eq 5 ] && [ "$minor" -ge 8 ]; } || per_file=$((files * overwrites))
check "fdatasync (files flushed on their own)" "$(count fdatasync)" "$per_file"
check "fsync (one folder flush per batch)" "$(count fsync)" "$batches"
[ "$(count syncfs)" -ge $((overwrites * batches)) ] || { echo "FAIL: no shared flush"; fail=1; }

# One file at a time: no shared flush, a folder flush per file.
for i in $(seq 1 "$files"); do : >"$work/tree/f$i"; done
run --no-batch
check "--no-batch: syncfs" "$(count syncfs)" 0
[ "$(count fsync)" -eq "$files" ] || { echo "FAIL: --no-batch fsync = $(count fsync)"; fail=1; }
exit "$fail"
