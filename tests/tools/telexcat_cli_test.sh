#!/usr/bin/env bash
# telexcat end to end: the bundled capture, the encode/decode round trip,
# characters that cannot be sent, and the exit statuses.
set -u
telexcat=$1
top=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fails=0
check() { if eval "$2"; then echo "ok - $1"; else echo "FAIL - $1"; fails=$((fails + 1)); fi; }

"$telexcat" "$top/data/samples/capture.ita2" > "$tmp/sample.txt"
# CR CR LF line ends come out as one line end.
tr -d '\r' < "$top/data/samples/bulletins.txt" > "$tmp/bulletins.txt"
check "bundled capture decodes to the bundled bulletins" \
  'cmp -s "$tmp/sample.txt" "$tmp/bulletins.txt"'

printf 'ZCZC 123\nRYRY 0123456789 (TEST) ?:.,/=+\nNNNN\n' > "$tmp/text"
"$telexcat" --encode < "$tmp/text" | "$telexcat" > "$tmp/back"
check "encode then decode gives the text back" 'cmp -s "$tmp/text" "$tmp/back"'

printf 'WIND!; "OK" & $\n' > "$tmp/tlx"
"$telexcat" --encode --alphabet tlx < "$tmp/tlx" | "$telexcat" --alphabet tlx > "$tmp/tlxback"
check "TLX alphabet round trip" 'cmp -s "$tmp/tlx" "$tmp/tlxback"'

printf 'AB%%C\nD\xc3\xa9\n' | "$telexcat" --encode > "$tmp/codes" 2> "$tmp/err"
rc=$?
check "unsendable characters give exit status 1" '[ $rc -eq 1 ]'
check "unsendable characters are reported with their position" \
  'grep -q "line 1, column 3: U+0025" "$tmp/err" && grep -q "line 2, column 2: U+00E9" "$tmp/err"'
check "the sendable rest is still encoded" '[ "$("$telexcat" < "$tmp/codes")" = "$(printf "ABC\nD")" ]'

printf '\x9b\x0eA\x00' | "$telexcat" --code ascii8 > "$tmp/ascii"
check "ASCII8 control characters" '[ "$(cat "$tmp/ascii")" = "<9B>A<00>" ]'

"$telexcat" --help > "$tmp/help"
check "--help exits 0 and prints the usage" '[ $? -eq 0 ] && grep -q -- "--encode" "$tmp/help"'
"$telexcat" --bogus < /dev/null 2> "$tmp/err"; rc=$?
check "a bad option gives exit status 2" '[ $rc -eq 2 ] && grep -q "unknown option" "$tmp/err"'
"$telexcat" "$tmp/missing" 2> "$tmp/err"; rc=$?
check "an unreadable input gives exit status 2 with the reason" \
  '[ $rc -eq 2 ] && grep -q "No such file" "$tmp/err"'
"$telexcat" --mode 7 < /dev/null 2> /dev/null; rc=$?
check "a bad mode gives exit status 2" '[ $rc -eq 2 ]'

echo "$fails failed"
[ $fails -eq 0 ]
