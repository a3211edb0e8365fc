#!/usr/bin/env bash
# nimbo --db and --history over real bulletins: the archive next to the
# --format output, a station's history as decoded, storing twice, kill -9 in
# the middle of an import, a full disk, and the usage errors.
set -u
nimbo=$1
top=$2
data=$top/tests/data/synop
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fails=0
check() { if eval "$2"; then echo "ok - $1"; else echo "FAIL - $1"; fails=$((fails + 1)); fi; }
cd "$tmp" || exit 1
sql() { python3 -c 'import sqlite3, sys; print(sqlite3.connect(sys.argv[1]).execute(sys.argv[2]).fetchone()[0])' "$@"; }

# Tromso (01025), three-hourly for a week, one bulletin per file; the
# reports give only their day, dated before a fixed reference date.
mapfile -t tromso < <(ls "$data"/metno-kvalobs/expected_result_synop/1025-*)
dated=(--date 2026-02-28)
"$nimbo" --db a.sqlite --format csv "${dated[@]}" "${tromso[@]}" > stored.csv 2> err.txt; rc=$?
"$nimbo" --format csv "${dated[@]}" "${tromso[@]}" > decoded.csv
check "--db stores and still prints the --format output" \
  '[ $rc -eq 0 ] && cmp -s stored.csv decoded.csv && grep -q "a.sqlite: 53 added, 0 corrected" err.txt'
check "the archive holds the bulletin heading, the report and when it was received" \
  '[ "$(sql a.sqlite "SELECT count(*) FROM observations WHERE report LIKE '"'"'AAXX % 01025 %='"'"' AND received LIKE '"'"'20%Z'"'"'")" = 53 ]'
"$nimbo" --db a.sqlite --history 01025 > history.csv; rc=$?
"$nimbo" --db a.sqlite --history 01025 --format obs-json > history.json
"$nimbo" --format obs-json "${dated[@]}" "${tromso[@]}" > decoded.json
check "--history prints the decoded reports oldest first under the csv header" "[ $rc -eq 0 ] && python3 - <<'EOF'
import csv, json
decoded = list(csv.reader(open('decoded.csv')))
header, history = decoded[0], list(csv.reader(open('history.csv')))
when = lambda row: tuple(int(row[header.index(k)]) for k in ('year', 'month', 'day', 'hour'))
assert history[0] == header
assert history[1:] == sorted(decoded[1:], key=when)
stamp = lambda o: (o['year'], o['month'], o['day'], o['hour'])
objects = sorted((json.loads(line) for line in open('decoded.json')), key=stamp)
assert [json.loads(line) for line in open('history.json')] == objects
EOF"
since=2026-02-25
"$nimbo" --db a.sqlite --history 01025 --since "$since" > since.csv
check "--since leaves out the days before it" \
  '[ "$(tail -n +2 since.csv | cut -d, -f11 | sort -u | tr "\n" " ")" = "25 26 27 28 " ]'
"$nimbo" --db a.sqlite "${dated[@]}" "${tromso[@]}" > /dev/null 2> err.txt; rc=$?
check "decoding the same bulletins again adds nothing" \
  '[ $rc -eq 0 ] && grep -q "0 added, 0 corrected, 0 filled, 53 unchanged" err.txt && [ "$(sql a.sqlite "SELECT count(*) FROM observations")" = 53 ]'

# kill -9 while an import runs: every bulletin finished before stays, and
# the file passes SQLite's integrity check.
python3 - "$nimbo" "${tromso[@]}" <<'EOF'
import os, re, signal, sqlite3, subprocess, sys, threading, time
nimbo, files = sys.argv[1], sys.argv[2:]
first = b''.join(open(f, 'rb').read() for f in files)
# The same bulletins on the other days and hours: new stations and times.
later = b''.join(re.sub(rb'AAXX \d{4}', b'AAXX %02d%02d' % (d, h), first)
                 for d in range(1, 22) for h in range(24))
def count(db):
    try:  # the file may not hold its table yet
        return sqlite3.connect(db).execute('SELECT count(*) FROM observations').fetchone()[0]
    except sqlite3.OperationalError:
        return -1
def wait(condition, seconds=60):
    end = time.time() + seconds
    while not condition():
        assert time.time() < end, 'timed out'
        time.sleep(0.01)
rows = 'SELECT station, year, month, day, hour, report FROM observations ORDER BY 1, 2, 3, 4, 5'
importer = subprocess.Popen([nimbo, '--db', 'kill.sqlite'], stdin=subprocess.PIPE,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
importer.stdin.write(first)
importer.stdin.flush()
wait(lambda: count('kill.sqlite') == 53)
finished = sqlite3.connect('kill.sqlite').execute(rows).fetchall()
def feed():
    try:
        importer.stdin.write(later)
    except BrokenPipeError:  # the importer was killed while this was written
        pass
threading.Thread(target=feed, daemon=True).start()
wait(lambda: count('kill.sqlite') > 53)
importer.send_signal(signal.SIGKILL)
importer.wait()
db = sqlite3.connect('kill.sqlite')
assert db.execute('PRAGMA integrity_check').fetchone()[0] == 'ok'
stored = db.execute(rows).fetchall()
assert set(finished) <= set(stored) and len(stored) < 53 * 22 * 24, len(stored)
print(len(stored), 'reports held after the kill')
EOF
check "kill -9 in the middle of an import keeps every finished bulletin and a sound file" '[ $? -eq 0 ]'

# A full disk (the file size limit): the import stops with the reason and the
# archive keeps what it held.
cp a.sqlite full.sqlite
mapfile -d '' real < <(find "$data" -type f ! -name README.md -print0 | sort -z)
(trap '' XFSZ; ulimit -f 400; exec "$nimbo" --db full.sqlite "${real[@]}") > /dev/null 2> err.txt; rc=$?
check "a full disk is reported and loses nothing already stored" \
  '[ $rc -eq 2 ] && grep -q "cannot store in full.sqlite" err.txt && [ "$(sql full.sqlite "PRAGMA integrity_check")" = ok ] && [ "$(sql full.sqlite "SELECT count(*) FROM observations WHERE station = '"'"'01025'"'"'")" -ge 53 ]'

echo "not an archive" > bad.sqlite
"$nimbo" --db bad.sqlite --history 01025 > /dev/null 2> err.txt; rc=$?
check "a file that is no archive is refused with the reason" \
  '[ $rc -eq 2 ] && grep -q "cannot open the archive bad.sqlite: file is not a database" err.txt'
for args in "--history 01025" "--db a.sqlite --history 01025 file" "--db a.sqlite --history 01025 --format geojson" \
            "--db a.sqlite --history 01025 --since 2026-02-30" "--db a.sqlite --since 2026-01-01"; do
  # shellcheck disable=SC2086
  "$nimbo" $args < /dev/null > /dev/null 2> err.txt; rc=$?
  check "nimbo $args is a usage error" '[ $rc -eq 2 ] && [ -s err.txt ]'
done

echo "$fails failed"
[ $fails -eq 0 ]
