#!/usr/bin/env bash
# Batch scoring into a folder that fills up part-way: a 64 KiB tmpfs, a tmpfs out of
# inodes (both in a mount namespace of their own, so nothing outside sees them) and a
# file-size limit. The batch stops with status 2, says so, and leaves only whole reports
# and a table of whole rows that agree: a row for every report, a report for every row.
# Skipped (77) where a mount namespace cannot be made.
#   batch_full_disk.sh PATH/TO/zorventest
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1

answers=$(printf 'abc%.0s' $(seq 62))a
{
    printf '\xEF\xBB\xBFДата;Фамилия;Пол;Возраст;Ответы\r\n'
    for i in $(seq 40); do
        printf '2026-12-08T10:00:00;Респондент %02d;Мужской;30;%s\r\n' "$i" "$answers"
    done
} >in.csv

fail() {
    echo "FAIL: $*" >&2
    cat "$1.stderr" >&2
    exit 1
}

# Runs the batch into folder $1, under the wrapper command that follows if any.
score() {
    local out=$1
    shift
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LC_ALL=ru_RU.UTF-8 \
        "$@" "$program" --score in.csv --out "$out" >/dev/null 2>"$out.stderr"
    echo $? >"$out.status"
}

# The reports in folder $1 and the reports its table names, as two sorted lists.
agreement() {
    local out=$1
    (cd "$out" && ls -- *.txt 2>/dev/null | sort) >"$out.reports"
    tail -n +2 "$out/zorven-results.csv" 2>/dev/null | awk -F';' '{ print $42 }' | tr -d '\r' \
        | sort >"$out.rows"
    for report in "$out"/*.txt; do
        [ -e "$report" ] || continue
        [ "$(grep -c "$(printf "\r")\$" "$report")" = 30 ] || echo "$report" >>"$out.partial"
    done
    tail -c 2 "$out/zorven-results.csv" | od -An -c | tr -d " " >"$out.end"
}

unshare -m true 2>/dev/null || exit 77
mkdir small few
export -f score agreement
export program
unshare -m bash -c '
    mount -t tmpfs -o size=64k tmpfs small || exit 77
    mount -t tmpfs -o size=1m,nr_inodes=12 tmpfs few || exit 77
    for out in small few; do
        score "$out"
        agreement "$out"
    done
'
[ -f small.status ] || exit 77
mkdir limited
score limited prlimit --fsize=3000
agreement limited

for out in small few limited; do
    [ "$(cat "$out.status")" = 2 ] || fail "$out" "a full folder did not stop the batch with status 2 ($out)"
    grep -q 'обработка остановлена; строк этого запуска в таблице' "$out.stderr" \
        || fail "$out" "no message naming what was kept ($out)"
    [ -e "$out.partial" ] && fail "$out" "part-written reports left: $(cat "$out.partial")"
    [ "$(cat "$out.end")" = '\r\n' ] || fail "$out" "the table does not end in a whole row ($out)"
    cmp -s "$out.reports" "$out.rows" || fail "$out" "reports and rows disagree ($out): $(diff "$out.reports" "$out.rows")"
done
[ -s small.rows ] || fail small "the full tmpfs kept no row at all"
exit 0
