#!/usr/bin/env bash
# nimbo end to end over real bulletins: text output equals the decoder's own
# text log, JSON events, any chunking gives the same output, binary input,
# finding the library and catalogue from elsewhere, and the exit statuses.
set -u
nimbo=$1
top=$2
data=$top/tests/data/sections
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fails=0
check() { if eval "$2"; then echo "ok - $1"; else echo "FAIL - $1"; fails=$((fails + 1)); fi; }
cd "$tmp" || exit 1

ships=$data/kvnorcom-data0600.txt
mobile=$data/awips2-sfcobs-bulletins.txt
radiation=$data/pymetdecoder-test-synops.txt

"$nimbo" "$ships" > ships.txt; rc=$?
check "a real bulletin file decodes with exit status 0" '[ $rc -eq 0 ] && [ -s ships.txt ]'
check "section 2 of the ship reports is decoded" \
  'grep -q "^Sea surface Temp.: " ships.txt && grep -q "^Ship direction:    " ships.txt'
check "sections 3 and 5 of the land reports are decoded" \
  'grep -q "^Max. temperature : \|^Min. temperature : " ships.txt && grep -q "^National data:    " ships.txt'
check "the degree sign comes out in UTF-8" 'grep -q "°c" ships.txt'
check "no Data folder is left behind in the current directory" '[ ! -e Data ]'

mkdir -p logs
"$nimbo" --text-log "$tmp/logs/run" --raw-log "$tmp/logs/run.syn" "$ships" > logged.txt 2> err.txt
rc=$?
check "the logs open in an existing folder" '[ $rc -eq 0 ] && [ -s logs/run.wmo ] && [ -s logs/run.syn ]'
python3 -c 'import sys; sys.stdout.write(open(sys.argv[1], "rb").read().decode("cp1252", "replace"))' \
  logs/run.wmo > log-as-utf8.txt
check "stdout holds exactly what the text log holds" 'cmp -s logged.txt log-as-utf8.txt'
check "the raw log re-frames the reports as bulletins" \
  'grep -q "^ZCZC 00001" logs/run.syn && grep -q "^NNNN" logs/run.syn'
"$nimbo" --text-log "$tmp/no/such/folder/run" "$ships" > /dev/null 2> err.txt; rc=$?
check "a text log that cannot be opened gives exit status 2" \
  '[ $rc -eq 2 ] && grep -q "cannot open the text log" err.txt'

cat "$ships" "$mobile" "$radiation" > all.txt
"$nimbo" all.txt > whole.txt
for n in 1 7 4096; do
  "$nimbo" --chunk "$n" all.txt > "chunk$n.txt"
  check "--chunk $n gives the same output as whole-file input" "cmp -s whole.txt chunk$n.txt"
done
mapfile -d '' real < <(find "$top/tests/data/synop" -type f ! -name README.md -print0 | sort -z)
"$nimbo" "${real[@]}" > real-whole.txt
"$nimbo" --chunk 1 "${real[@]}" > real-chunk1.txt
check "--chunk 1 gives the same output as whole-file input over every real file" \
  '[ -s real-whole.txt ] && cmp -s real-whole.txt real-chunk1.txt'
"$nimbo" "$ships" > /dev/full 2> err.txt; rc=$?
check "a full disk is reported with the system's error text" \
  '[ $rc -eq 2 ] && grep -q "cannot write output: No space left on device" err.txt'
"$nimbo" "$ships" >&- 2> err.txt; rc=$?
check "a closed stdout is reported with the system's error text" \
  '[ $rc -eq 2 ] && grep -q "cannot write output: Bad file descriptor" err.txt'
rss=$(head -c 50000000 /dev/zero | tr '\0' 1 | python3 -c '
import resource, subprocess, sys
subprocess.run([sys.argv[1]], stdout=subprocess.DEVNULL)
print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)' "$nimbo")
check "memory stays flat on a 50 MB run of figures (max RSS ${rss} KB)" '[ "$rss" -lt 40000 ]'
"$nimbo" < all.txt > stdin.txt
check "stdin gives the same output as a file" 'cmp -s whole.txt stdin.txt'
"$nimbo" "$ships" "$mobile" "$radiation" > several.txt
check "several files are read in order as one stream" 'cmp -s whole.txt several.txt'

"$nimbo" --json all.txt > events.json; rc=$?
check "--json exits 0" '[ $rc -eq 0 ]'
check "--json prints one valid JSON object per line, named events only" "python3 - events.json <<'EOF'
import json, sys
names = {'Message', 'Bloc', 'Indicator', 'Guess', 'Error', 'Separator', 'Result',
         'Position', 'Temperature', 'Pressure'}
for line in open(sys.argv[1], encoding='utf-8'):
    event = json.loads(line)
    assert event['event'] in names, event
    if event['event'] == 'Result':
        assert set(event) == {'event', 'data', 'level', 'slevel'} and event['data'], event
sys.exit(0)
EOF"
check "--json Results, Errors and Separators rebuild the text output" "python3 - events.json whole.txt <<'EOF'
import json, sys
out = []
for line in open(sys.argv[1], encoding='utf-8'):
    e = json.loads(line)
    if e['event'] in ('Result', 'Error'):
        out.append(e['data'])
    elif e['event'] == 'Separator':
        out.append({0: '=', 1: '-', 2: '.'}.get(e['level'], ':') * 81 + '\n')
sys.exit(0 if ''.join(out) == open(sys.argv[2], encoding='utf-8').read() else 1)
EOF"
check "--json reports the mobile stations' section 0 and the sea temperatures" \
  'grep -q "\"data\":\"Marsden square:    " events.json && grep -q "\"event\":\"Temperature\",\"tmp\":[-0-9.]*,\"sea\":1" events.json'
check "the JSON form of a Result" \
  "grep -q '^{\"event\":\"Result\",\"data\":\"Wind speed: .*\\\\n\",\"level\":4,\"slevel\":0}\$' events.json"

"$nimbo" "$radiation" > radiation.txt
check "radiation follow-up groups are decoded" \
  'grep -q "^Sun (last 24h):    " radiation.txt && grep -q "^Radiation amount:  " radiation.txt'

"$nimbo" --strict all.txt > strict.txt; rc=$?
"$nimbo" --quiet all.txt > quiet.txt
check "--strict decodes no more than relaxed mode" \
  '[ $rc -eq 0 ] && [ $(wc -l < strict.txt) -le $(wc -l < whole.txt) ]'
check "--quiet leaves lines out" '[ $(wc -l < quiet.txt) -lt $(wc -l < whole.txt) ]'

head -c 20000 /dev/urandom > noise.bin
printf 'ZCZC 1\nSMNO01 ENMI 060600\nAAXX 06061\n\0\x01\xff01001 \x0041/// 1\x00\n' >> noise.bin
cat "$ships" >> noise.bin
"$nimbo" noise.bin > noise.txt; rc=$?
check "binary input is decoded, not refused" '[ $rc -eq 0 ]'
"$nimbo" --chunk 3 noise.bin > noise3.txt
check "binary input decodes the same in fragments" 'cmp -s noise.txt noise3.txt'

# From another folder, with the library found beside the program (an
# installed layout) and the catalogue through NIMBO_CATALOGUE_DIR.
mkdir -p inst/bin inst/lib elsewhere
cp "$nimbo" inst/bin/
cp "$(dirname "$nimbo")/../lib/libNimbolib.so" inst/lib/
(cd elsewhere && NIMBO_CATALOGUE_DIR="$top/data" "$tmp/inst/bin/nimbo" --json "$ships") > moved.json
rc=$?
check "a copied program finds its library in ../lib" '[ $rc -eq 0 ] && [ -s moved.json ]'
check "and the catalogue: land stations get a position" 'grep -q "\"event\":\"Position\"" moved.json'
mkdir -p inst2/bin
cp "$nimbo" inst2/bin/
(cd elsewhere && "$tmp/inst2/bin/nimbo" "$ships") > /dev/null 2> err.txt; rc=$?
check "without its library it says so with exit status 1" \
  '[ $rc -eq 1 ] && grep -q "libNimbolib.so" err.txt'

"$nimbo" --help > help.txt; rc=$?
check "--help exits 0 and prints the usage" '[ $rc -eq 0 ] && grep -q -- "--chunk N" help.txt'
"$nimbo" --bogus < /dev/null 2> err.txt; rc=$?
check "a bad option gives exit status 2" '[ $rc -eq 2 ] && grep -q "unknown option" err.txt'
"$nimbo" --chunk 0 < /dev/null 2> err.txt; rc=$?
check "a bad chunk size gives exit status 2" '[ $rc -eq 2 ] && grep -q -- "--chunk" err.txt'
"$nimbo" --chunk < /dev/null 2> err.txt; rc=$?
check "a missing option value gives exit status 2" '[ $rc -eq 2 ]'
"$nimbo" "$tmp/missing" "$ships" > partial.txt 2> err.txt; rc=$?
check "an unreadable file gives exit status 2 with the reason, the others still decode" \
  '[ $rc -eq 2 ] && grep -q "No such file" err.txt && [ -s partial.txt ]'
"$nimbo" "$tmp" > /dev/null 2> err.txt; rc=$?
check "a folder as input gives exit status 2" '[ $rc -eq 2 ] && grep -q "Is a directory" err.txt'

echo "$fails failed"
[ $fails -eq 0 ]
