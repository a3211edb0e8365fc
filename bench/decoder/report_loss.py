#!/usr/bin/env python3
"""Reports lost by the decoder, counted from the text alone, independent of it.

  report_loss.py NIMBO FOLDER          found / decoded / lost / invented per folder
  report_loss.py --garble N SEED NIMBO FOLDER
                                       N seeded single-character garbles over the files;
                                       counts those that lose a report other than the
                                       garbled one

A report is an "="-ended run of words under an indicator at a line start (or after a
YYYYMMDDHHMM stamp there): in AAXX a five-figure station number (land), or a call sign or
number before a day-hour group and 99LaLaLa (sea body); in BBXX and OOXX a call sign. In a
file without "=" each line ends its report. Reports are compared as (kind, identity)
multisets with the "Reporting station:" and "Station Identity:" lines of nimbo's output.
"""
import os
import random
import re
import subprocess
import sys
import tempfile
from collections import Counter

INDICATORS = {"AAXX": "L", "BBXX": "S", "OOXX": "M"}
FIVE_FIGURES = re.compile(r"^[0-9]{5}$")
CALL_SIGN = re.compile(r"^[A-Z0-9]{2,10}$")
LATITUDE = re.compile(r"^99[0-9/]{3}$")
DAY_HOUR = re.compile(r"^[0-9/]{5}$")
STAMP = re.compile(r"^[0-9]{12}$")
GARBLES = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-?:'().,=/+ \n"


def find_reports(text):
    """[(kind, identity, begin, end)] and the number of runs that start no report."""
    found, junk = [], 0
    kind, skip, run, stamp_at = None, 0, [], None

    def close():
        nonlocal junk
        first = run[0][0].rstrip("=").upper()
        second = run[1][0].rstrip("=") if len(run) > 1 else ""
        third = run[2][0].rstrip("=") if len(run) > 2 else ""
        sea = CALL_SIGN.match(first) and DAY_HOUR.match(second) and LATITUDE.match(third)
        ident = None
        if kind == "L" and FIVE_FIGURES.match(first) and not sea:
            ident = ("L", first)
        elif kind in ("L", "S") and sea:
            ident = ("S", first)
        elif kind in ("S", "M") and CALL_SIGN.match(first):
            ident = (kind, first)
        if ident is None:
            junk += 1
            return
        begin = run[0][1] if stamp_at is None else min(stamp_at, run[0][1])
        found.append((*ident, begin, run[-1][1] + len(run[-1][0])))

    clean = text.replace("\r", " ").replace("\t", " ")
    line_reports = "=" not in clean
    offset = 0
    for line in clean.split("\n"):
        if line_reports and run:
            close()
            run = []
        words = [(m.group(0), offset + m.start()) for m in re.finditer(r"\S+", line)]
        line_at, offset = offset, offset + len(line) + 1
        if not words:
            continue
        head = words[0][0].upper()
        stamped = STAMP.match(head) and len(words) > 1 and words[1][0].upper() in INDICATORS
        if stamped:
            head = words[1][0].upper()
        if head in INDICATORS:
            run, kind = [], INDICATORS[head]
            skip = 1 if kind == "L" else 0
            stamp_at = line_at if stamped else None
            words = words[2 if stamped else 1:]
        for word, at in words:
            if "NNNN" in word.upper() or "ZCZC" in word.upper():
                run, kind = [], None
            elif kind and skip:
                skip -= 1
            elif kind:
                if word.strip("="):
                    run.append((word, at))
                if word.endswith("=") and run:
                    close()
                    run = []
    return found, junk


def decoded(nimbo, data):
    with tempfile.NamedTemporaryFile(delete=False) as file:
        file.write(data)
    try:
        out = subprocess.run([nimbo, file.name], capture_output=True).stdout
    finally:
        os.unlink(file.name)
    stations, kind = [], "?"
    for line in out.decode("utf-8", "replace").split("\n"):
        if line.startswith("Reporting station: "):
            kind = INDICATORS.get(line[19:23], "?")
        elif line.startswith("Station Identity:  "):
            words = line[19:].split()
            stations.append((kind, words[0] if words else ""))
    return stations


def data_files(folder):
    names = [os.path.join(d, f) for d, _, fs in os.walk(folder) for f in fs
             if not f.endswith(".md") and f != "LICENSE"]
    return sorted(names)


def loss_table(nimbo, folder):
    totals = Counter()
    rows = Counter()
    for name in data_files(folder):
        data = open(name, "rb").read()
        found = Counter((k, i) for k, i, _, _ in find_reports(data.decode("latin-1"))[0])
        got = Counter(decoded(nimbo, data))
        group = os.path.relpath(name, folder).split(os.sep)[0]
        for key, value in (("found", sum(found.values())), ("decoded", sum(got.values())),
                           ("lost", sum((found - got).values())),
                           ("invented", sum((got - found).values()))):
            rows[group, key] += value
            totals[key] += value
    for group in sorted({g for g, _ in rows}):
        print(f"{group:28} " + " ".join(f"{k}={rows[group, k]}" for k in
                                          ("found", "decoded", "lost", "invented")))
    print(f"{'total':28} " + " ".join(f"{k}={totals[k]}" for k in
                                      ("found", "decoded", "lost", "invented")))


def garble(nimbo, folder, trials, seed):
    files = [(n, open(n, "rb").read()) for n in data_files(folder)]
    total = sum(len(d) for _, d in files)
    rng = random.Random(seed)
    clean, spans, lossy = {}, {}, 0
    for _ in range(trials):
        at = rng.randrange(total)
        index = 0
        while at >= len(files[index][1]):
            at -= len(files[index][1])
            index += 1
        name, data = files[index]
        garbled = data[:at] + rng.choice(GARBLES).encode() + data[at + 1:]
        if name not in clean:
            clean[name] = Counter(i for _, i in decoded(nimbo, data))
            spans[name] = find_reports(data.decode("latin-1"))[0]
        lost = clean[name] - Counter(i for _, i in decoded(nimbo, garbled))
        for _, ident, begin, end in spans[name]:
            while begin > 0 and data[begin - 1:begin] in (b" ", b"\r", b"\n"):
                begin -= 1  # a report owns the blanks and line ends before it
            if begin <= at < end and lost[ident] > 0:
                lost[ident] -= 1
        if +lost:
            lossy += 1
            print(f"  {os.path.basename(name)}: {dict(+lost)} after {data[max(0, at - 30):at]!r}")
    print(f"{lossy} of {trials} garbles ({100.0 * lossy / trials:.2f} %) lose another report")


if __name__ == "__main__":
    if len(sys.argv) == 6 and sys.argv[1] == "--garble":
        garble(sys.argv[4], sys.argv[5], int(sys.argv[2]), int(sys.argv[3]))
    elif len(sys.argv) == 3:
        loss_table(sys.argv[1], sys.argv[2])
    else:
        sys.exit(__doc__)
