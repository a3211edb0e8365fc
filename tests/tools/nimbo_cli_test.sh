#!/usr/bin/env bash
# nimbo end to end over real bulletins: text output equals the decoder's own
# text log, JSON events, any chunking gives the same output, binary input,
# finding the library and catalogue from elsewhere, and the exit statuses.
set -u
nimbo=$1
top=$2
data=$top/tests/data/synop
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fails=0
check() { if eval "$2"; then echo "ok - $1"; else echo "FAIL - $1"; fails=$((fails + 1)); fi; }
cd "$tmp" || exit 1

ships=$data/metno-kvnorcom/synop/data0600
mobile=$data/extracted/awips2_sfcobs_unittest_bulletins.txt
radiation=$data/extracted/pymetdecoder_test_synops.txt

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
mkfifo logs/pipe.wmo
"$nimbo" --text-log "$tmp/logs/pipe" "$ships" > /dev/null 2> err.txt; rc=$?
check "a FIFO as the text log is refused and left as it is" \
  '[ $rc -eq 2 ] && grep -q "it is a FIFO (named pipe), not a regular file" err.txt && [ -p logs/pipe.wmo ]'
if mkdir full && mount -t tmpfs -o size=16k tmpfs full 2>/dev/null; then
  head -c 1M /dev/zero > full/filler 2>/dev/null
  "$nimbo" --text-log "$tmp/full/run" "$ships" > /dev/null 2> err.txt; rc=$?
  umount full
  check "a full disk under the text log is reported once with exit status 2" \
    '[ $rc -eq 2 ] && [ "$(grep -c "No space left on device" err.txt)" -eq 1 ]'
fi

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
# The sanitizer build keeps freed memory in quarantine and shadows it, so its
# bound is wider; a 50 MB token kept whole would still pass both.
bound=${NIMBO_RSS_BOUND_KB:-40000}
check "memory stays flat on a 50 MB run of figures (max RSS ${rss} KB)" '[ "$rss" -lt "$bound" ]'
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
mkdir -p inst/bin inst/lib elsewhere catalogue
cp "$nimbo" inst/bin/
cp "$(dirname "$nimbo")/../lib/libNimbolib.so" inst/lib/
cp "$top/data/wmoids.dat" catalogue/
(cd elsewhere && NIMBO_CATALOGUE_DIR="$tmp/catalogue" "$tmp/inst/bin/nimbo" --json "$ships") > moved.json
rc=$?
check "a copied program finds its library in ../lib" '[ $rc -eq 0 ] && [ -s moved.json ]'
check "and the catalogue: land stations get a position" 'grep -q "\"event\":\"Position\"" moved.json'
mkdir -p inst2/bin
cp "$nimbo" inst2/bin/
(cd elsewhere && "$tmp/inst2/bin/nimbo" "$ships") > /dev/null 2> err.txt; rc=$?
check "without its library it says so with exit status 1" \
  '[ $rc -eq 1 ] && grep -q "libNimbolib.so" err.txt'

# Observations as data: one JSON object per report, CSV under its fixed header,
# GeoJSON that a JSON reader, a schema check and GDAL's reader all take.
"$nimbo" --format obs-json "$ships" > obs.json
"$nimbo" --format csv "$ships" > obs.csv
"$nimbo" --format geojson "$ships" > obs.geojson
"$nimbo" --format text "$ships" | cmp -s - ships.txt; rc=$?
check "--format text is the default output" '[ $rc -eq 0 ]'
check "obs-json gives one object per report" \
  '[ "$(wc -l < obs.json)" -eq "$(grep -c -- "^-----" ships.txt)" ] && python3 -c "import json,sys; [json.loads(l) for l in open(sys.argv[1])]" obs.json'
check "the CSV header is the fixed column set" \
  '[ "$(head -1 obs.csv)" = "kind,station,name,country,region,latitude,longitude,nil,year,month,day,hour,correction,wind_direction_deg,wind_direction_code,wind_calm,wind_variable,wind_speed,wind_speed_unit,wind_speed_source,wind_unit_code,gust,gust_code,visibility_m,visibility_code,visibility_less_than,cloud_cover_oktas,cloud_cover_code,air_temperature_c,dew_point_c,relative_humidity_pct,station_pressure_hpa,sea_level_pressure_hpa,geopotential_surface_hpa,geopotential_height_gpm,pressure_change_hpa,pressure_tendency_code,precipitation_mm,precipitation_trace,precipitation_code,precipitation_period_h,precipitation_period_code,precipitation3_mm,precipitation3_trace,precipitation3_code,precipitation3_period_h,precipitation3_period_code,precipitation24h_mm,precipitation24h_trace,present_weather_code,past_weather1_code,past_weather2_code,automatic_weather_codes,cloud_amount_code,low_cloud_code,middle_cloud_code,high_cloud_code,max_temperature_c,min_temperature_c,snow_depth_cm,sea_temperature_c,wave_period_s,wave_height_m,waves_instrumented,errors" ]'
# 01001 11384 73302 10084 20071 30197 40208 56002 60012 70161 8457/ 333 20061 91105 555 ...
check "a CSV row holds the report's values, empty cells where it has none" \
  'grep -qx "AAXX,01001,Jan Mayen,NORWAY,VI: Europe,70.56,-8.4,,[0-9]*,[0-9]*,10,6,,330,33,,,2,m/s,anemometer,1,5,911,50000,84,,7,7,8.4,7.1,,1019.7,1020.8,,,-0.2,6,1,,1,12,2,,,,,,,,1,6,1,,4,5,7,,,6.1,,,,,," obs.csv'
features=$(python3 "$top/tests/tools/check_geojson.py" obs.geojson 2> err.txt)
located=$(grep -c '"latitude"' obs.json)
check "geojson is a valid FeatureCollection of the located observations" \
  '[ -n "$features" ] && [ "$features" -eq "$located" ] && [ "$features" -gt 0 ]'
if command -v ogrinfo > /dev/null; then
  check "GDAL reads the geojson as a point layer" \
    'ogrinfo -ro -al -so obs.geojson 2>&1 | grep -q "Feature Count: $features"'
fi
# The SVG map: well-formed, its size and area as asked, one classed group per
# drawn station whose texts are the plotted values.
"$nimbo" --format svg --region 4,57,12,64 --size 900x700 "$ships" > map.svg; rc=$?
check "svg: a station map of the region at the asked size" "[ $rc -eq 0 ] && python3 -c '
import sys, xml.etree.ElementTree as ET
ns = {\"s\": \"http://www.w3.org/2000/svg\"}
root = ET.parse(sys.argv[1]).getroot()
assert (root.get(\"width\"), root.get(\"height\")) == (\"900\", \"700\")
stations = root.findall(\"s:g[@class=\x27station\x27]\", ns)
assert len(stations) > 20, len(stations)
allowed = {\"barb\", \"calm\", \"cover\", \"temp\", \"dewpoint\", \"pressure\", \"tendency\",
           \"ww\", \"past\", \"visibility\", \"low\", \"middle\", \"high\"}
for g in stations:
    assert g.get(\"data-id\"), g.attrib
    classes = [child.get(\"class\") for child in g]
    assert \"cover\" in classes and set(classes) <= allowed, classes
    for text in g.iter(\"{http://www.w3.org/2000/svg}text\"):
        assert text.text.lstrip(\"+-\").isdigit(), text.text
' map.svg"
# 01304 NIL= early in the file, later: 01304 46/// /2205 10154 20102 30076 40106 53019 ...
check "svg: a station shows its newest report: 15, 10, 106 and +19" \
  'grep "data-id=\"01304\"" map.svg | grep -q "class=\"temp\"[^>]*>15<.*class=\"dewpoint\"[^>]*>10<.*class=\"pressure\"[^>]*>106<.*>+19<"'
for bad in "--region 12,57,4,64" "--region 4,57,12" "--size 900" "--size 5x5"; do
  "$nimbo" --format svg $bad < /dev/null > /dev/null 2> err.txt; rc=$?
  check "svg: $bad is refused with exit status 2" '[ $rc -eq 2 ] && grep -q -- "--" err.txt'
done
# The reports' day 10 lies before 5 January 2011 in December 2010.
"$nimbo" --date 2011-01-05 "$ships" > dated.txt
"$nimbo" --format csv --date 2011-01-05 "$ships" > dated.csv
check "--date places the reports' days before it, in the text and the record" \
  'grep -q "^Observation time:  10/12/2010 06:xx UTC" dated.txt && grep -q "^AAXX,01001,.*,2010,12,10,6," dated.csv'
"$nimbo" --date 2020-02-30 < /dev/null 2> err.txt; rc=$?
check "a date that does not exist gives exit status 2" '[ $rc -eq 2 ] && grep -q -- "--date" err.txt'
"$nimbo" --format obs-json "$data/wmo-synop2bufr/wis2box_data/A_SMRO01YRBK171200CCA_C_EDZW_20230117174401_51649529.txt" > cca.json
check "the heading's BBB is the record's correction" 'grep -q "\"correction\":\"CCA\"" cca.json'
"$nimbo" --format xml < /dev/null 2> err.txt; rc=$?
check "an unknown format gives exit status 2" '[ $rc -eq 2 ] && grep -q "unknown format" err.txt'

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
