#!/usr/bin/env bash
# rttydemod end to end: transmit/receive round trip, line codes, raw PCM from
# a pipe, the pseudo-terminal, the real recording, and the exit statuses.
set -u
rttydemod=$1
telexcat=$2
top=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fails=0
check() { if eval "$2"; then echo "ok - $1"; else echo "FAIL - $1"; fails=$((fails + 1)); fi; }

printf 'RYRYRY\nZCZC 123\nAAXX 27034 01028 41470=\nNNNN\n' > "$tmp/text"
"$rttydemod" --transmit --reverse "$tmp/sig.wav" < "$tmp/text"
"$rttydemod" "$tmp/sig.wav" > "$tmp/back" 2> "$tmp/err"
check "a transmitted text comes back" 'tail -n 3 "$tmp/back" | cmp -s - <(tail -n 3 "$tmp/text")'
check "the tones found go to stderr" 'grep -q "mark 1725 Hz, space 1275 Hz, reverse" "$tmp/err"'

"$rttydemod" --codes "$tmp/sig.wav" 2> /dev/null | "$telexcat" > "$tmp/viacodes"
check "--codes gives line codes telexcat decodes" 'cmp -s "$tmp/back" "$tmp/viacodes"'

"$rttydemod" --transmit --rate 24000 - < "$tmp/text" | tail -c +45 > "$tmp/sig.raw"
cat "$tmp/sig.raw" | "$rttydemod" --raw --rate 24000 - > "$tmp/rawback" 2> /dev/null
check "raw PCM from a pipe" 'tail -n 3 "$tmp/rawback" | cmp -s - <(tail -n 3 "$tmp/text")'

"$rttydemod" --pty --baud 50 --shift 450 "$top/tests/data/rtty/librttywx_dwd_ddk_testloop_8k.wav" > "$tmp/ptyout" 2> /dev/null &
pid=$!
for _ in $(seq 50); do [ -s "$tmp/ptyout" ] && break; sleep 0.1; done
timeout 20 "$telexcat" "$(head -n 1 "$tmp/ptyout")" > "$tmp/ptytext"
wait $pid
check "--pty hands the recording's codes to a serial reader" \
  'grep -q "^FREQUENCIES   4583 KHZ   7646 KHZ   10100.8 KHZ$" "$tmp/ptytext"'

"$rttydemod" --bogus x 2> "$tmp/err"; rc=$?
check "a bad option gives exit status 2" '[ $rc -eq 2 ] && grep -q "unknown option" "$tmp/err"'
"$rttydemod" "$tmp/missing.wav" 2> "$tmp/err"; rc=$?
check "an unreadable input gives exit status 2 with the reason" '[ $rc -eq 2 ] && grep -q "cannot open" "$tmp/err"'
"$rttydemod" --raw - < /dev/null 2> /dev/null; rc=$?
check "--raw without --rate gives exit status 2" '[ $rc -eq 2 ]'
printf 'A%%B\n' | "$rttydemod" --transmit "$tmp/x.wav" 2> "$tmp/err"; rc=$?
check "unsendable characters give exit status 1 with their place" '[ $rc -eq 1 ] && grep -q "line 1, column 2" "$tmp/err"'

echo "$fails failed"
[ $fails -eq 0 ]
