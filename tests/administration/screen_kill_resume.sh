#!/bin/bash
# A session on the respondent's screen killed with SIGKILL half-way, then taken up again by
# the next start: the sheet ends with every answer given, and its report and row are those
# of the same answers given without a break. No journal is left behind. On the way, one
# sync of the journal fails (a full disk, by strace): that answer is not taken, is given
# again, and stands in the journal once.
set -u
probe=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

# 187 letters, a, b, c in no simple order.
abc=abc
letters=""
for q in $(seq 1 187); do letters+=${abc:$(( (q * q + q / 7) % 3 )):1}; done

mkdir "$work/straight" "$work/killed"
(cd "$work/straight" && "$probe" "$letters" >/dev/null 2>&1) || { echo "straight session failed"; exit 1; }

cd "$work/killed"
coproc PROBE { exec strace -f -o /dev/null -e trace=fsync -e inject=fsync:error=ENOSPC:when=40 \
                    "$probe" "$letters" 93 2>/dev/null; }
tracer=$PROBE_PID # bash forgets it once the coprocess ends
while read -r line <&"${PROBE[0]}"; do
    [ "$line" = "answered 93" ] && break
done
kill -9 "$(pgrep -P "$tracer")"
wait "$tracer" 2>/dev/null
journals=$(ls zorven-session-*.journal 2>/dev/null | wc -l)
[ "$journals" = 1 ] || { echo "expected one journal after the kill, found $journals"; exit 1; }

"$probe" "$letters" >"$work/resumed.out" 2>/dev/null || { echo "the session was not taken up"; exit 1; }
resumed=$(head -n 1 "$work/resumed.out")
[ "$resumed" = "resumed at 94" ] || { echo "expected to go on at 94, got: $resumed"; exit 1; }

fail=0
report='Петрова А.В..txt'
cmp -s "$work/straight/$report" "$report" || { echo "the reports differ"; fail=1; }
# The rows apart from their time (column 1) and minutes (column 45).
row() { tail -n 1 "$1" | cut -d';' -f2-44; }
[ "$(row "$work/straight/zorven-results.csv")" = "$(row zorven-results.csv)" ] || { echo "the rows differ"; fail=1; }
[ "$(tail -n 1 zorven-results.csv | cut -d';' -f5)" = "$letters" ] || { echo "answers lost"; fail=1; }
leftover=$(ls zorven-session-* 2>/dev/null)
[ -z "$leftover" ] || { echo "left behind: $leftover"; fail=1; }
[ $fail = 0 ] && echo "killed at 93, went on at 94: the same report and row"
exit $fail
