#!/usr/bin/env python3
"""Cuts real bulletin files into fuzz seeds: one seed per ZCZC...NNNN message
(or per run of lines up to about 3 KB for files without framing), each
preceded by the two control bytes of the fuzz target (modes, fragment seed).

Usage: fuzz/make_seeds.py SOURCE_FOLDER OUTPUT_FOLDER [MAX_SEEDS]
"""
import hashlib
import os
import random
import re
import sys

LIMIT = 3000


def pieces(data):
    starts = [m.start() for m in re.finditer(rb"ZCZC", data)]
    if len(starts) < 2:
        starts = [0]
    elif starts[0] != 0:
        starts.insert(0, 0)
    for a, b in zip(starts, starts[1:] + [len(data)]):
        chunk = data[a:b]
        while len(chunk) > LIMIT:
            cut = chunk.rfind(b"\n", 0, LIMIT)
            cut = LIMIT if cut <= 0 else cut + 1
            yield chunk[:cut]
            chunk = chunk[cut:]
        if chunk.strip():
            yield chunk


def main():
    source, output = sys.argv[1], sys.argv[2]
    most = int(sys.argv[3]) if len(sys.argv) > 3 else 400
    found = {}
    for root, _, files in sorted(os.walk(source)):
        for name in sorted(files):
            if name.endswith(".md"):
                continue
            with open(os.path.join(root, name), "rb") as f:
                for piece in pieces(f.read()):
                    found.setdefault(hashlib.sha1(piece).hexdigest(), piece)
    rng = random.Random(1)
    keys = sorted(found)
    rng.shuffle(keys)
    os.makedirs(output, exist_ok=True)
    for i, key in enumerate(sorted(keys[:most])):
        # Relaxed mode in most seeds, as the terminal runs the decoder.
        modes = rng.randrange(256) | 1 if i % 4 else rng.randrange(256)
        seed = bytes([modes, rng.randrange(256)]) + found[key]
        with open(os.path.join(output, key[:16]), "wb") as f:
            f.write(seed)
    print(f"{min(most, len(keys))} seeds from {len(keys)} pieces")


if __name__ == "__main__":
    main()
