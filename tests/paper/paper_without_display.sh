#!/usr/bin/env bash
# The booklet and the blank answer sheet written as a laboratory writes them before a
# group session: the real program with no display at all (DISPLAY, WAYLAND_DISPLAY and
# QT_QPA_PLATFORM unset). A file that cannot be written is told in Russian with status 2,
# and a link planted under the name is never written through. As from cron or ssh, there
# is no runtime folder (XDG_RUNTIME_DIR unset): nothing is printed on success.
#   paper_without_display.sh PATH/TO/zorventest
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1

fail() {
    echo "FAIL: $*" >&2
    echo "standard error was:" >&2
    cat stderr >&2
    exit 1
}

run() {
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_RUNTIME_DIR LC_ALL=ru_RU.UTF-8 \
        "$program" "$@" >stdout 2>stderr
    echo $?
}

pages() {
    pdfinfo "$1" | sed -n 's/^Pages: *//p'
}

[ "$(run --booklet 'буклет.pdf')" = 0 ] || fail "--booklet did not exit with 0"
[ "$(pages 'буклет.pdf')" -gt 1 ] || fail "the booklet has no statement pages"
[ ! -s stderr ] || fail "--booklet printed something on success"
[ "$(run --answer-sheet бланк.pdf)" = 0 ] || fail "--answer-sheet did not exit with 0"
[ "$(pages бланк.pdf)" = 1 ] || fail "the answer sheet is not one page"

# Qt's own options are no options of Qt's here: -platform is only the file's name.
[ "$(run --answer-sheet -platform)" = 0 ] || fail "a file named -platform was not written"
[ "$(pages ./-platform)" = 1 ] || fail "the file named -platform is no answer sheet"
[ "$(run --booklet a.pdf --booklet b.pdf)" = 2 ] || fail "a repeated option did not exit with 2"
grep -q "параметр --booklet указан дважды" stderr || fail "the repeated option is not named"
[ ! -e a.pdf ] && [ ! -e b.pdf ] || fail "a repeated option still wrote a file"

echo "kept" >victim.txt
ln -s victim.txt link.pdf
[ "$(run --answer-sheet link.pdf)" = 2 ] || fail "a link under the name did not exit with 2"
grep -q "не сохранён в файл link.pdf" stderr || fail "the refusal does not name the file in Russian"
[ "$(cat victim.txt)" = kept ] || fail "the answer sheet was written through a link"
echo "PASS"
