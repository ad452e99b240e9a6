#!/usr/bin/env bash
# Batch scoring as a laboratory runs it: the real program with no display at all
# (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM unset) and standard error not a terminal,
# so nothing but rejections may be printed. Exit statuses 0, 1 and 2; CR-only line ends;
# a batch run again into its folder; the table's decimal comma in any locale. The command
# line's other answers (--help, --version, a refused option) need no display either.
#   batch_without_display.sh PATH/TO/zorventest VERSION
set -u
program=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1

fail() {
    echo "FAIL: $*" >&2
    echo "standard error was:" >&2
    cat stderr >&2
    exit 1
}

# Runs the program without a display, under the wrapper command given before "--" if any;
# prints its exit status.
score() {
    local wrapper=()
    if [ "${1:-}" = under ]; then
        shift
        while [ "$1" != -- ]; do wrapper+=("$1"); shift; done
        shift
    fi
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LC_ALL=ru_RU.UTF-8 \
        "${wrapper[@]}" "$program" "$@" >stdout 2>stderr
    echo $?
}

answers=$(printf 'abc%.0s' $(seq 62))a
header=$'\xEF\xBB\xBFДата;Фамилия;Пол;Возраст;Ответы\r\n'
good_row="2026-12-08T10:00:00;Иванов;Мужской;30;$answers"$'\r\n'
printf '%s%s' "$header" "$good_row" >good.csv
printf '%s%s%s' "$header" "$good_row" "2026-12-08T10:00:00;Петров;X;30;$answers"$'\r\n' >bad.csv

[ "$(score --score good.csv --out out)" = 0 ] || fail "a valid table did not exit with 0"
[ -s stdout ] || [ -s stderr ] && fail "a batch off a terminal printed more than its rejections"
iconv -f cp1251 -t utf-8 out/Иванов.txt | grep -qx $'Дата проведения: 08.12.2026\r' \
    || fail "the report has not the date of column 1 in the regional format"
[ "$(grep -c $'\r$' out/zorven-results.csv)" = 2 ] || fail "the table has not its header and one row"

[ "$(score --score bad.csv --out out2)" = 1 ] || fail "a table with a rejected row did not exit with 1"
[ "$(cat stderr)" = "bad.csv:3: пол «X» не «Мужской» и не «Женский»" ] || fail "wrong rejection"
[ -s out2/Иванов.txt ] || fail "the valid row beside a rejected one was not scored"

[ "$(score --score good.csv)" = 2 ] || fail "a usage error did not exit with 2"
grep -q '^Использование: zorventest --score' stderr || fail "no usage line"
grep -q '^zorventest: не указан параметр --out ПАПКА' stderr || fail "the missing --out was not named"
[ "$(score --score=good.csv --out=out-equals)" = 0 ] || fail "--score=IN --out=DIR did not exit with 0"
[ -s out-equals/Иванов.txt ] || fail "--score=IN --out=DIR wrote no report"

[ "$(score --help)" = 0 ] || fail "--help did not exit with 0"
[ -s stderr ] || ! grep -q '^Использование: zorventest' stdout && fail "--help printed no usage on standard output"
[ "$(score --version)" = 0 ] || fail "--version did not exit with 0"
[ "$(cat stdout)" = "zorventest $version" ] || fail "--version printed «$(cat stdout)»"
[ "$(score --bogus)" = 2 ] || fail "an unknown option did not exit with 2"
[ -s stdout ] || [ "$(head -n 1 stderr)" != "zorventest: неизвестный параметр «--bogus»" ] \
    && fail "an unknown option was not refused on standard error"
grep -q '^Использование: zorventest' stderr || fail "no usage after a refused option"
[ "$(score --score)" = 2 ] || fail "an option without its value did not exit with 2"
[ "$(score)" = 2 ] || fail "the window without a display did not exit with 2"
grep -q 'нет графического дисплея' stderr || fail "the window without a display did not say why"

[ "$(score --score missing.csv --out out3)" = 2 ] || fail "an unreadable input did not exit with 2"
[ -e out3 ] && fail "an unreadable input left an output folder"

# A spreadsheet's CR-only line ends: every row is read.
tr -d '\n' <bad.csv | sed 's/Петров;X/Петров;Мужской/' >cr.csv
[ "$(score --score cr.csv --out out5)" = 0 ] || fail "a table with CR-only line ends was not scored"
[ "$(grep -c 'Мужской;30' out5/zorven-results.csv)" = 2 ] || fail "rows of a CR-only table were lost"

# Run again into the same folder, with one row more: the kept row is skipped and said so,
# the new one added; no row twice.
[ "$(score --score cr.csv --out out)" = 0 ] || fail "a batch run again did not exit with 0"
grep -q 'пропущено строк, которые уже есть в таблице .* после прежнего запуска: 1$' stderr \
    || fail "no word of the skipped row"
[ "$(grep -c ';Иванов;' out/zorven-results.csv)" = 1 ] || fail "a row was duplicated by running again"
[ "$(grep -c ';Петров;' out/zorven-results.csv)" = 1 ] || fail "the new row was not added"

# The table is a data file: F1..F4 with a decimal comma also where the locale has a point,
# while the report follows the locale.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LC_ALL=C.UTF-8 \
    "$program" --score good.csv --out out6 2>stderr || fail "the C locale stopped the batch"
tail -n 1 out6/zorven-results.csv | cut -d';' -f38-41 | grep -q '^"[0-9-]*,[0-9]"' \
    || fail "F1 in the table has no decimal comma under the C locale"
grep -aqE '^F1[[:space:]]+-?[0-9]+\.[0-9]' out6/Иванов.txt || fail "the report does not follow the C locale"

# A file-size limit makes the writes fail; nothing here shields the program from the
# limit's signal, so it must survive it on its own and say why it could not write.
[ "$(score under prlimit --fsize=300 -- --score good.csv --out out4)" = 2 ] \
    || fail "under a file-size limit the program did not end with 2"
grep -q 'предельного размера' stderr || fail "no word of the size limit"
exit 0
