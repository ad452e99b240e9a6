#!/usr/bin/env bash
# --read-scans and --answer-sheets as users run them: the real program, no display at all.
# The table's header, a row per page, the list's names on group sheets, and the exit
# statuses: 1 when a person must look, 2 for a wrong command line or a file not opened.
set -uo pipefail
program=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
fail() { echo "FAIL: $*" >&2; exit 1; }

printf 'Фамилия;Пол;Возраст\r\nПетрова А.В.;Женский;20\r\nSmith J.;мужской;33\r\n' > group.csv
"$program" --answer-sheets group.csv group.pdf || fail "--answer-sheets exit $?"
"$program" --answer-sheet blank.pdf || fail "--answer-sheet exit $?"

"$program" --read-scans group.pdf blank.pdf --out out --group group.csv > summary.txt 2> errors.txt
[ $? -eq 1 ] || fail "unmarked sheets need a person: exit 1"
header=$(printf '\xef\xbb\xbfФайл;Страница;Пол;Возраст;Ответы;Сомнительных;Состояние;Строка списка;Фамилия\r')
[ "$(head -n 1 out/scans.csv)" = "$header" ] || fail "header: $(head -n 1 out/scans.csv)"
[ "$(wc -l < out/scans.csv)" -eq 4 ] || fail "a row per page: $(cat out/scans.csv)"
grep -q '^group.pdf;1;Женский;20;-\{187\};0;прочитан;1;Петрова А.В.' out/scans.csv || fail "row 1 of the list"
grep -q '^group.pdf;2;Мужской;33;-\{187\};0;прочитан;2;Smith J.' out/scans.csv || fail "row 2 of the list"
grep -q '^blank.pdf;1;?;?;-\{187\};0;"прочитан, но строка списка на бланке не найдена' out/scans.csv \
    || fail "a blank sheet is named by nobody: $(grep blank out/scans.csv)"
grep -q 'Страниц: 3' summary.txt || fail "summary: $(cat summary.txt)"

"$program" --read-scans group.pdf missing.tif --out out2 2> errors.txt
[ $? -eq 2 ] || fail "a file not opened: exit 2"
grep -q 'missing.tif' errors.txt || fail "names the file: $(cat errors.txt)"
grep -q '^group.pdf;2;' out2/scans.csv || fail "the other file is still read"

"$program" --read-scans group.pdf 2> errors.txt
[ $? -eq 2 ] || fail "no --out: exit 2"
"$program" --out out 2> errors.txt
[ $? -eq 2 ] || fail "--out alone: exit 2"
echo 'Фамилия;Пол;Возраст' > empty.csv
"$program" --read-scans group.pdf --out out3 --group empty.csv 2> errors.txt
[ $? -eq 2 ] || fail "an empty list: exit 2"
exit 0
