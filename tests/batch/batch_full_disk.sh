#!/usr/bin/env bash
# Batch scoring into a folder that fills up part-way (a 64 KiB tmpfs in a mount namespace
# of its own, so nothing outside sees it): the batch stops with status 2 at the first
# report that does not fit, says so, and leaves only whole reports and a table of whole
# rows. Skipped (77) where a mount namespace cannot be made.
#   batch_full_disk.sh PATH/TO/zorventest
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
mkdir out

answers=$(printf 'abc%.0s' $(seq 62))a
{
    printf '\xEF\xBB\xBFДата;Фамилия;Пол;Возраст;Ответы\r\n'
    for i in $(seq 40); do
        printf '2026-12-08T10:00:00;Респондент %02d;Мужской;30;%s\r\n' "$i" "$answers"
    done
} >in.csv

unshare -m true 2>/dev/null || exit 77
unshare -m sh -c '
    mount -t tmpfs -o size=64k tmpfs out || exit 77
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LC_ALL=ru_RU.UTF-8 \
        "$1" --score in.csv --out out >stdout 2>stderr
    echo $? >status
    for report in out/*.txt; do
        [ "$(grep -c "$(printf "\r")\$" "$report")" = 30 ] || echo "$report" >>partial
    done
    tail -c 2 out/zorven-results.csv | od -An -c | tr -d " " >table_end
' sh "$program"
[ -f status ] || exit 77

fail() {
    echo "FAIL: $*" >&2
    cat stderr >&2
    exit 1
}
[ "$(cat status)" = 2 ] || fail "a full folder did not stop the batch with status 2"
grep -q 'на диске нет места; обработка остановлена$' stderr || fail "no message that the batch stopped"
[ -e partial ] && fail "part-written reports left: $(cat partial)"
[ "$(cat table_end)" = '\r\n' ] || fail "the table does not end in a whole row"
exit 0
