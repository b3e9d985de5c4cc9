#!/bin/bash
# The free-space purge against what the device takes, on one loop-mounted ext4 volume,
# and how fast the space comes back after a Stop and after a kill -9.
#
#   bench/free-space-fill.sh [SIZE_MIB] [FOLDER]
#
# SIZE_MIB: the volume's size (default 1024). FOLDER: where its image goes (default
# /var/tmp; a new folder is made inside it and removed afterwards). Needs root.
# VORLANE_CLI: the binary to measure (default build/bin/vorlane-cli of this tree).
#
# Figures:
#   fill      vorlane-cli purge-free-space --yes (one pass of random bytes, flushed and
#             removed), MB/s, against dd if=/dev/zero bs=1M oflag=direct until the volume
#             is full, then rm and sync; the ratio of the two speeds
#   stop      SIGTERM (as Ctrl-C) halfway into a fill: seconds until the program has ended, and the free
#             bytes then against those before the fill
#   kill -9   halfway into a fill: the free bytes the killed fill left, and the seconds the
#             next start of vorlane-cli takes to give them back
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cli=${VORLANE_CLI:-$repo/build/bin/vorlane-cli}
size=${1:-1024}
base=${2:-/var/tmp}

die() { echo "error: $*" >&2; exit 1; }
[ "$(id -u)" -eq 0 ] || die "needs root (a loop device and a mount)"
[ -x "$cli" ] || die "vorlane-cli not found at $cli (build it or set VORLANE_CLI)"

work=$(mktemp -d "$base/vorlane-free-bench.XXXXXX")
# Reports of benchmark runs are not the user's to keep.
export XDG_STATE_HOME="$work/state"
mnt=$work/mnt
loop=
# shellcheck disable=SC2317  # reached through the trap
cleanup() {
    set +e
    mountpoint -q "$mnt" && umount "$mnt"
    [ -n "$loop" ] && losetup -d "$loop"
    rm -rf "$work"
}
trap cleanup EXIT

truncate -s "${size}M" "$work/image"
mkfs.ext4 -q -F -m 0 -E lazy_itable_init=0,lazy_journal_init=0,nodiscard "$work/image"
loop=$(losetup -f --show "$work/image")
# No discard: FITRIM on the loop device would time the punching of holes in the image.
echo 0 >"/sys/block/${loop#/dev/}/queue/discard_max_bytes" 2>/dev/null || true
mkdir "$mnt"
mount -o nodiscard "$loop" "$mnt"

now() { date +%s.%N; }
free_bytes() { df -B1 --output=avail "$mnt" | tail -1 | tr -d ' '; }
settle() { sync; echo 3 >/proc/sys/vm/drop_caches; }
since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.2f", b - a }'; }

free=$(free_bytes)
echo "volume: ${size} MiB ext4 on $loop, $free bytes free"

settle
start=$(now)
dd if=/dev/zero of="$mnt/dd-fill" bs=1M oflag=direct 2>/dev/null || true
written=$(stat -c %s "$mnt/dd-fill")
rm -f "$mnt/dd-fill"
sync
dd_seconds=$(since "$start")
dd_speed=$(awk -v b="$written" -v s="$dd_seconds" 'BEGIN { printf "%.1f", b / 1048576 / s }')
echo "dd bs=1M oflag=direct: $written bytes in $dd_seconds s: $dd_speed MB/s"

settle
start=$(now)
"$cli" purge-free-space --drive "$mnt" --yes >"$work/fill.out"
fill_seconds=$(since "$start")
filled=$(sed -n 's/^Fill 1 of 1: \([0-9,.]*\) bytes.*/\1/p' "$work/fill.out" | tr -d ',.')
fill_speed=$(awk -v b="$filled" -v s="$fill_seconds" 'BEGIN { printf "%.1f", b / 1048576 / s }')
echo "vorlane-cli purge-free-space: $filled bytes in $fill_seconds s: $fill_speed MB/s"
awk -v f="$fill_speed" -v d="$dd_speed" 'BEGIN { printf "ratio fill / dd: %.2f\n", f / d }'
# Halfway through a fill, by the time the whole one took.
mid=$(awk -v s="$fill_seconds" 'BEGIN { printf "%.2f", s / 2 }')

settle
"$cli" purge-free-space --drive "$mnt" --yes >"$work/stop.out" 2>&1 &
pid=$!
sleep "$mid"
start=$(now)
# SIGTERM, since a script's background job ignores SIGINT; the program takes both alike.
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
echo "stop: ended $(since "$start") s after SIGTERM (exit status $status); free bytes $(free_bytes) of $free"
grep -i 'stopped' "$work/stop.out" | sed 's/^/  /' || true

settle
"$cli" purge-free-space --drive "$mnt" --yes >/dev/null 2>&1 &
pid=$!
sleep "$mid"
kill -KILL "$pid"
wait "$pid" 2>/dev/null || true
echo "kill -9: free bytes $(free_bytes) of $free left by the killed fill"
start=$(now)
"$cli" list --help >/dev/null 2>"$work/start.err"
echo "next start: $(since "$start") s; free bytes $(free_bytes) of $free; it said:"
sed 's/^/  /' "$work/start.err"
