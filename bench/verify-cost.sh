#!/bin/bash
# The cost of --verify: wall time of a purge of one large file and of a folder of many
# small files, with and without the read-back of the last overwrite. Runs alternate
# (without, with, without, ...) so that a disk busy with others' work weighs on both.
#
#   bench/verify-cost.sh [LARGE_MIB] [FILES] [FOLDER] [RUNS]
#
# LARGE_MIB: the large file's size (default 256). FILES: how many 4 KiB files (default
# 2000). FOLDER: where they go, on a real disk, not tmpfs (default /var/tmp). RUNS: runs
# of each kind (default 3). VORLANE_CLI: the binary (default build/bin/vorlane-cli).
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cli=${VORLANE_CLI:-$repo/build/bin/vorlane-cli}
large=${1:-256}
files=${2:-2000}
base=${3:-/var/tmp}
runs=${4:-3}

die() { echo "error: $*" >&2; exit 1; }
[ -x "$cli" ] || die "vorlane-cli not found at $cli (build it or set VORLANE_CLI)"
[ "$(stat -f -c %T "$base")" != tmpfs ] || die "$base is tmpfs: nothing to read back there"

work=$(mktemp -d "$base/vorlane-verify.XXXXXX")
# Reports of benchmark runs are not the user's to keep.
export XDG_STATE_HOME="$work/state"
trap 'rm -rf "$work"' EXIT
trap 'exit 130' INT TERM HUP

now() { date +%s.%N; }

make_large() {
    head -c "$((large << 20))" /dev/urandom >"$work/large"
    sync -f "$work"
}

make_small() {
    mkdir -p "$work/small"
    for ((i = 0; i < files; i++)); do
        head -c 4096 /dev/urandom >"$work/small/f$i"
    done
    sync -f "$work"
}

# timed COMMAND...: prints the seconds it took; fails when it fails or leaves files.
timed() {
    local t0 t1
    t0=$(now)
    "$@" >"$work/report" 2>&1 || { tail -n 5 "$work/report" >&2; die "purge failed: $*"; }
    t1=$(now)
    [ ! -e "$work/large" ] && [ -z "$(ls -A "$work/small" 2>/dev/null)" ] || die "files left behind"
    awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.3f", b - a }'
}

median() { tr ' ' '\n' | grep . | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
# The fastest run: on a disk that others share, the one least slowed by their work.
fastest() { tr ' ' '\n' | grep . | sort -g | head -n 1; }

# measure KIND [OPTION]...: one run of that kind
measure() {
    local kind=$1
    shift
    if [ "$kind" = large ]; then
        make_large
        timed "$cli" purge --type 1 --passes 1 "$@" "$work/large"
    else
        make_small
        timed "$cli" purge --folder "$work/small" --yes --type 1 --passes 1 "$@"
    fi
}

read -r fstype device < <(findmnt -n -o FSTYPE,SOURCE --target "$work")
echo "verify-cost: $(date -u '+%Y-%m-%d %H:%M:%S UTC'), $(uname -sr), $(nproc) CPUs, load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "on $fstype ($device); purge type 1, 1 pass (2 overwrites); $runs runs of each"
for kind in large small; do
    plain="" verified=""
    for ((r = 0; r < runs; r++)); do
        plain+=" $(measure "$kind")"
        verified+=" $(measure "$kind" --verify)"
    done
    p=$(median <<<"$plain")
    v=$(median <<<"$verified")
    pf=$(fastest <<<"$plain")
    vf=$(fastest <<<"$verified")
    if [ "$kind" = large ]; then
        what="1 file of $large MiB"
    else
        what="$files files of 4 KiB"
    fi
    awk -v w="$what" -v p="$p" -v v="$v" -v pf="$pf" -v vf="$vf" -v pr="$plain" -v vr="$verified" 'BEGIN {
        printf "  %-22s median: without %7.3f s   --verify %7.3f s   cost %+.0f%%\n", w, p, v, (v / p - 1) * 100
        printf "  %-22s fastest: without %6.3f s   --verify %7.3f s   cost %+.0f%%\n", "", pf, vf, (vf / pf - 1) * 100
        printf "  %-22s runs without:%s   with:%s\n", "", pr, vr
    }'
done
