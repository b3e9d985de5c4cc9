#!/usr/bin/env python3
"""Marker files for the forensic purge test, and the raw-image scans that judge them.

populate MOUNT WORKDIR          write the marker files and the bystander on a mounted volume
names    IMAGE FSTYPE LABEL     count the traces of the marker file's name in the image
inspect  IMAGE FSTYPE WORKDIR   before the purge: prove the markers really are in the image
verify   IMAGE FSTYPE WORKDIR   after the purge: no marker byte may be left, the bystander intact
slack    IMAGE FSTYPE WORKDIR   after a slack-only purge of slack.bin: its slack holds no
                                marker byte, its data is in the image as before
deleted  MOUNT WORKDIR          write marker files for the free-space purge (deleted with rm)
residue  IMAGE FSTYPE WORKDIR LABEL   count their 8-byte pieces outside the file system's
                                journal (exit 1 when any remain), and their names

Every file's content is its own 16-byte marker repeated. The markers come from a hash,
so neither a whole marker nor any 8-byte piece of one turns up in an image by chance.
A 1-byte file holds too little to search for; it is found by where it lies instead.
"""

import hashlib
import json
import os
import struct
import sys

MARKER_LEN = 16
PIECE_LEN = 8

# (name, size) of the files to purge; None marks the slack file, whose size follows the
# cluster size: two clusters written, then cut 1,000 bytes short, so the old marker bytes
# stay in the slack of its last cluster and no cluster is freed.
TARGETS = [
    ("empty.bin", 0),
    ("one.bin", 1),
    ("c4095.bin", 4095),
    ("c4096.bin", 4096),
    ("c4097.bin", 4097),
    ("n10000.bin", 10000),
    ("big.bin", 1024 * 1024 + 7),
    ("slack.bin", None),
]
# A file whose name is the secret: after the purge the name's traces in the raw image are
# counted (folder blocks, the journal, vfat's long-name entries in UTF-16 and its short
# name), to compare the name scrub with shred -u.
NAME_MARKER = "n" + hashlib.sha256(b"vorlane name marker").hexdigest()[:23] + "-tax-2025-divorce.pdf"
TARGETS.append((NAME_MARKER, 3000))
BYSTANDER = ("bystander.bin", 20000)
SLACK_CUT = 1000
# The one byte of one.bin. Not a value any purge pattern writes, so it cannot be
# "left" by a correct purge that ends with a fixed pattern.
ONE_BYTE = 0x9E


def marker(name):
    return hashlib.sha256(("vorlane forensic marker " + name).encode()).digest()[:MARKER_LEN]


def content(mark, size):
    reps = size // MARKER_LEN + 1
    return (mark * reps)[:size]


def pieces(mark, size):
    """Every 8-byte run the file's content can contain."""
    ring = mark + mark
    limit = MARKER_LEN if size >= MARKER_LEN + PIECE_LEN - 1 else max(0, size - PIECE_LEN + 1)
    return sorted({ring[i:i + PIECE_LEN] for i in range(limit)})


def cluster_size_of(path):
    # The purge judges the cluster the same way: some FUSE file systems report a block
    # smaller than their clusters in statvfs, and only st_blksize tells the truth.
    st = os.statvfs(path)
    return max(st.f_frsize, st.f_bsize, os.stat(path).st_blksize), st


def write_file(path, data, final_size=None):
    fd = os.open(path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644)
    try:
        view = memoryview(data)
        while view:
            n = os.write(fd, view)
            view = view[n:]
        os.fsync(fd)
        if final_size is not None:
            os.ftruncate(fd, final_size)
            os.fsync(fd)
    finally:
        os.close(fd)


def populate(mount, work):
    cluster, st = cluster_size_of(mount)
    print(f"  statvfs: f_frsize={st.f_frsize} f_bsize={st.f_bsize}; "
          f"st_blksize={os.stat(mount).st_blksize}; cluster size taken: {cluster}")
    files = []
    for name, size in TARGETS:
        mark = marker(name)
        if size is None:
            size = 2 * cluster - SLACK_CUT
            write_file(os.path.join(mount, name), content(mark, 2 * cluster), size)
            with open(os.path.join(work, "slack.expected"), "wb") as f:
                f.write(content(mark, size))
        elif name == "one.bin":
            write_file(os.path.join(mount, name), bytes([ONE_BYTE]))
        else:
            write_file(os.path.join(mount, name), content(mark, size))
        files.append({"name": name, "size": size, "marker": mark.hex()})
    name, size = BYSTANDER
    data = content(marker(name), size)
    write_file(os.path.join(mount, name), data)
    with open(os.path.join(work, "bystander.expected"), "wb") as f:
        f.write(data)
    manifest = {"cluster": cluster, "targets": files,
                "bystander": {"name": name, "size": size, "marker": marker(name).hex()}}
    with open(os.path.join(work, "manifest.json"), "w") as f:
        json.dump(manifest, f, indent=1)


def data_grid(image, fstype):
    """(offset of the first data cluster, cluster size) read from the image itself."""
    if fstype == "ext4":
        log = struct.unpack_from("<I", image, 1024 + 24)[0]
        return 0, 1024 << log
    bps, spc, reserved, nfats, root_entries = struct.unpack_from("<HBHBH", image, 11)
    fat_sectors = struct.unpack_from("<H", image, 22)[0] or struct.unpack_from("<I", image, 36)[0]
    root_sectors = (root_entries * 32 + bps - 1) // bps
    return (reserved + nfats * fat_sectors + root_sectors) * bps, bps * spc


def offsets(image, needle, limit=5):
    found, at = [], image.find(needle)
    while at >= 0 and len(found) < limit:
        found.append(at)
        at = image.find(needle, at + 1)
    return found


def load(work):
    with open(os.path.join(work, "manifest.json")) as f:
        return json.load(f)


def inspect(image_path, fstype, work):
    with open(image_path, "rb") as f:
        image = f.read()
    manifest = load(work)
    origin, cluster = data_grid(image, fstype)
    print(f"  image: data clusters of {cluster} bytes from offset {origin}")
    ok = True
    state = {"origin": origin, "cluster": cluster}

    for t in manifest["targets"]:
        mark = bytes.fromhex(t["marker"])
        if t["name"] == "one.bin":
            # A fresh image holds zeros where nothing was written, so one.bin's cluster
            # is its byte followed by zeros; it must be the only such cluster.
            want = bytes([ONE_BYTE]) + bytes(cluster - 1)
            hits = [o for o in range(origin, len(image) - cluster + 1, cluster)
                    if image[o] == ONE_BYTE and image[o:o + cluster] == want]
            if len(hits) != 1:
                print(f"FAIL precondition {fstype}: one.bin's cluster found {len(hits)} times")
                ok = False
            else:
                state["one_offset"] = hits[0]
                print(f"  one.bin lies in the cluster at offset {hits[0]}")
            continue
        if t["size"] < PIECE_LEN:
            continue
        found = sum(image.count(p) for p in pieces(mark, t["size"]))
        if not found:
            print(f"FAIL precondition {fstype}: {t['name']}'s marker is not in the image")
            ok = False
        if t["name"] == "slack.bin":
            kept = image.count(mark) * MARKER_LEN - t["size"]
            print(f"  slack.bin: {max(kept, 0)} marker bytes lie behind end-of-file "
                  f"({'the slack holds old data' if kept > 0 else 'the kernel zeroed the slack'})")

    by = manifest["bystander"]
    state["bystander_count"] = image.count(bytes.fromhex(by["marker"]))
    if state["bystander_count"] < by["size"] // MARKER_LEN:
        print(f"FAIL precondition {fstype}: bystander marker found "
              f"{state['bystander_count']} times")
        ok = False
    with open(os.path.join(work, "state.json"), "w") as f:
        json.dump(state, f)
    return ok


def verify(image_path, fstype, work):
    with open(image_path, "rb") as f:
        image = f.read()
    manifest = load(work)
    with open(os.path.join(work, "state.json")) as f:
        state = json.load(f)
    ok = True

    for t in manifest["targets"]:
        name, mark = t["name"], bytes.fromhex(t["marker"])
        if name == "one.bin":
            at = state["one_offset"]
            block = image[at:at + state["cluster"]]
            if block == bytes([ONE_BYTE]) + bytes(state["cluster"] - 1):
                print(f"FAIL {fstype} {name}: its cluster at offset {at} was never overwritten")
                ok = False
            else:
                print(f"PASS {fstype} {name}: its cluster was overwritten")
            continue
        if t["size"] < PIECE_LEN:
            print(f"PASS {fstype} {name}: nothing to search for (size {t['size']})")
            continue
        whole = image.count(mark) if t["size"] >= MARKER_LEN else 0
        left = {p: image.count(p) for p in pieces(mark, t["size"])}
        bits = sum(left.values())
        if whole or bits:
            first = min(o for p, n in left.items() if n for o in offsets(image, p, 1))
            print(f"FAIL {fstype} {name}: {whole} whole markers and {bits} 8-byte pieces "
                  f"remain, the first at image offset {first}")
            ok = False
        else:
            print(f"PASS {fstype} {name}: no marker and no 8-byte piece of one remains")

    by = manifest["bystander"]
    count = image.count(bytes.fromhex(by["marker"]))
    if count != state["bystander_count"]:
        print(f"FAIL {fstype} {by['name']}: its marker is found {count} times, "
              f"{state['bystander_count']} before the purge")
        ok = False
    else:
        print(f"PASS {fstype} {by['name']}: all {count} of its markers are still in the image")
    return ok


def slack(image_path, fstype, work):
    with open(image_path, "rb") as f:
        image = f.read()
    with open(os.path.join(work, "state.json")) as f:
        cluster = json.load(f)["cluster"]
    t = next(t for t in load(work)["targets"] if t["name"] == "slack.bin")
    mark, size = bytes.fromhex(t["marker"]), t["size"]
    at = image.find(content(mark, size))
    if at < 0:
        print(f"FAIL {fstype} slack.bin: its data is no longer in the image")
        return False
    end = at + (size + cluster - 1) // cluster * cluster
    tail = image[at + size:end]
    left = sum(tail.count(p) for p in pieces(mark, 2 * cluster))
    if left:
        print(f"FAIL {fstype} slack.bin: {left} 8-byte marker pieces remain in its slack")
        return False
    print(f"PASS {fstype} slack.bin: its {len(tail)} slack bytes hold no marker, "
          f"its {size} data bytes are in the image unchanged")
    return True


def name_traces(image):
    """Copies of the name marker: whole in ASCII; the 13-character pieces a vfat long-name
    entry holds, in UTF-16 (5 characters in a row); the short name's first six letters."""
    whole = image.count(NAME_MARKER.encode())
    pieces = sum(image.count(NAME_MARKER[i:i + 5].encode("utf-16-le"))
                 for i in range(0, len(NAME_MARKER), 13))
    short = image.count(NAME_MARKER[:6].upper().encode() + b"~")
    return whole, pieces, short


def names(image_path, fstype, label):
    with open(image_path, "rb") as f:
        image = f.read()
    whole, pieces, short = name_traces(image)
    print(f"  name traces {fstype} {label}: {whole} whole copies, {pieces} long-name pieces "
          f"(UTF-16), {short} short names; {whole + pieces + short} in all")
    return 0


# Files that a plain rm deletes before the free space is purged: their data stays in the
# free blocks until something writes over them.
DELETED = [("free-c4096.bin", 4096), ("free-n10000.bin", 10000),
           ("free-big.bin", 1024 * 1024 + 7), ("free-huge.bin", 6 * 1024 * 1024 + 3),
           (NAME_MARKER, 3000)]


def deleted(mount, work):
    files = []
    for name, size in DELETED:
        mark = marker(name)
        write_file(os.path.join(mount, name), content(mark, size))
        files.append({"name": name, "size": size, "marker": mark.hex()})
    with open(os.path.join(work, "deleted.json"), "w") as f:
        json.dump(files, f, indent=1)


def journal_ranges(image_path, fstype):
    """[start, end) byte ranges of the file system's own log, which a fill cannot reach."""
    import re
    import subprocess
    if fstype == "ext4":
        out = subprocess.run(["debugfs", "-R", "blocks <8>", image_path], capture_output=True,
                             text=True, check=True).stdout
        with open(image_path, "rb") as f:
            f.seek(1024 + 24)
            size = 1024 << struct.unpack("<I", f.read(4))[0]
        return [(int(b) * size, (int(b) + 1) * size) for b in out.split()]
    if fstype == "xfs":
        out = subprocess.run(["xfs_db", "-r", "-c", "sb 0", "-c",
                              "print logstart logblocks blocksize agblocks agblklog",
                              image_path], capture_output=True, text=True, check=True).stdout
        v = {k: int(n) for k, n in re.findall(r"(\w+) = (\d+)", out)}
        ag, block = v["logstart"] >> v["agblklog"], v["logstart"] & ((1 << v["agblklog"]) - 1)
        start = (ag * v["agblocks"] + block) * v["blocksize"]
        return [(start, start + v["logblocks"] * v["blocksize"])]
    return []


def residue(image_path, fstype, work, label):
    with open(image_path, "rb") as f:
        image = bytearray(f.read())
    # Names are counted everywhere, the journal included: a name is a secret wherever it lies.
    whole, pieces_, short = name_traces(bytes(image))
    for start, end in journal_ranges(image_path, fstype):
        image[start:end] = bytes(end - start)
    with open(os.path.join(work, "deleted.json")) as f:
        files = json.load(f)
    image = bytes(image)
    left, first = 0, None
    for t in files:
        mark = bytes.fromhex(t["marker"])
        for p in pieces(mark, t["size"]):
            left += image.count(p)
            at = image.find(p)
            first = at if at >= 0 and (first is None or at < first) else first
    print(f"  {fstype} {label}: {left} 8-byte marker pieces of {len(files)} rm-deleted files "
          f"outside the journal{'' if first is None else f' (the first at {first})'}; "
          f"name traces {whole + pieces_ + short} "
          f"({whole} whole, {pieces_} long-name pieces, {short} short names)")
    return left == 0


def main(argv):
    if len(argv) == 3 and argv[0] == "deleted":
        deleted(argv[1], argv[2])
        return 0
    if len(argv) == 5 and argv[0] == "residue":
        return 0 if residue(argv[1], argv[2], argv[3], argv[4]) else 1
    if len(argv) == 4 and argv[0] == "names":
        return names(argv[1], argv[2], argv[3])
    if len(argv) == 3 and argv[0] == "populate":
        populate(argv[1], argv[2])
        return 0
    if len(argv) == 4 and argv[0] in ("inspect", "verify", "slack"):
        run = {"inspect": inspect, "verify": verify, "slack": slack}[argv[0]]
        return 0 if run(argv[1], argv[2], argv[3]) else 1
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
