#!/usr/bin/env python3
"""Makes the small-file benchmarks' tree: COUNT files of 0-4 KiB, 1,000 to a folder,
the same sizes and bytes on every run, so runs on different binaries compare."""
import os
import random
import sys

root, count = sys.argv[1], int(sys.argv[2])
random.seed(7)
data = random.randbytes(4096)
for i in range(count):
    folder = os.path.join(root, f"d{i // 1000:03d}")
    if i % 1000 == 0:
        os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, f"f{i:06d}"), "wb") as f:
        f.write(data[:random.randint(0, 4096)])
