#!/usr/bin/env bash
# Writes a report under every failure an operator's disk can give and checks that the
# operator is told, and that nothing is lost: the earlier report of the same name is
# byte for byte as it was, and no partial or temporary file is left beside it.
#   usage: report_faults.sh PATH/TO/report_probe
# Needs root (to drop to nobody, mount a tmpfs, and as the case where permission bits stop
# nothing); exits 77 (skipped) otherwise.
set -uo pipefail

probe_built=$1
nobody=(setpriv --reuid=65534 --regid=65534 --clear-groups)
earlier=$'Earlier report\r\n'

if [ "$(id -u)" -ne 0 ]; then
    echo "SKIP: the fault cases need root"
    exit 77
fi
for tool in strace setpriv prlimit unshare; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed"; exit 1; }
done

# A fresh directory nobody can reach, wherever the build directory is.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
earlier_copy=$work/earlier.txt
printf '%s' "$earlier" > "$earlier_copy"
probe=$work/report_probe
cp "$probe_built" "$probe"
chmod 755 "$probe"

failures=0
fail() {
    echo "FAIL [$case_name]: $*"
    failures=$((failures + 1))
}

# Faults are injected with strace rather than a preloaded libfiu, which crashes a probe
# built with AddressSanitizer. LeakSanitizer cannot work in a traced process.
traced_asan_options="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

# new_case NAME: a fresh directory holding an earlier report e.txt.
new_case() {
    case_name=$1
    dir=$work/$1
    mkdir "$dir"
    printf '%s' "$earlier" > "$dir/e.txt"
}

# expect EXIT_CODE MESSAGE: the probe's last run ended so and printed the message.
expect() {
    [ "$status" -eq "$1" ] || fail "exit code $status, expected $1"
    [ "$output" = "$2" ] || fail "printed '$output', expected '$2'"
}

expect_earlier_intact() {
    cmp -s "$dir/e.txt" "$earlier_copy" || fail "the earlier report changed"
}

# expect_files NAME...: the directory holds exactly these, so nothing partial or temporary.
expect_files() {
    local found expected
    found=$(ls -A "$dir" | sort | tr '\n' ' ')
    expected=$(printf '%s\n' "$@" | sort | tr '\n' ' ')
    [ "$found" = "$expected" ] || fail "files: $found expected: $expected"
}

# run_probe [WRAPPER...] -- FILE [new]: writes FILE from inside $dir.
run_probe() {
    local wrapper=()
    while [ "$1" != -- ]; do wrapper+=("$1"); shift; done
    shift
    output=$(cd "$dir" && "${wrapper[@]}" "$probe" "$@")
    status=$?
}

# The bytes a working write leaves, to compare the cases that must succeed with.
reference=$work/reference.txt
(cd "$work" && "$probe" reference.txt >/dev/null) || { echo "FAIL: the probe cannot write at all"; exit 1; }

# As nobody in a directory of its own: the unprivileged runs below can work at all.
new_case nobody_replaces_report
chown -R 65534:65534 "$dir"
run_probe "${nobody[@]}" -- e.txt
expect 0 written
cmp -s "$dir/e.txt" "$reference" || fail "the report written is not the reference bytes"
expect_files e.txt

new_case read_only_report_as_nobody
chown -R 65534:65534 "$dir"
chmod 444 "$dir/e.txt"
run_probe "${nobody[@]}" -- e.txt
expect 5 "File access denied."
expect_earlier_intact
expect_files e.txt

# Root could replace it; the user's protection is kept all the same.
new_case read_only_report_as_root
chmod 444 "$dir/e.txt"
run_probe -- e.txt
expect 5 "File access denied."
expect_earlier_intact
expect_files e.txt

# Only the calls naming the report's directory fail: the temporary file is opened there.
new_case open_refused_injected
run_probe env ASAN_OPTIONS="$traced_asan_options" \
    strace -o /dev/null -P "$dir" -e trace=openat -e inject=openat:error=EACCES -- e.txt
expect 5 "File access denied."
expect_earlier_intact
expect_files e.txt

new_case missing_directory
run_probe -- missing/e.txt
expect 2 "File not found."
expect_earlier_intact
expect_files e.txt

new_case unwritable_directory_as_nobody
chown 65534:65534 "$dir/e.txt"
chmod 555 "$dir"
run_probe "${nobody[@]}" -- e.txt
expect 5 "File access denied."
expect_earlier_intact
expect_files e.txt

# A file system without hard links (FAT on a memory stick) refuses link(): a new report is
# then created in place, whole, and nothing is left beside it.
new_case new_report_without_hard_links
run_probe env ASAN_OPTIONS="$traced_asan_options" \
    strace -o /dev/null -e trace=link,linkat -e inject=link,linkat:error=EPERM -- n.txt new
expect 0 written
cmp -s "$dir/n.txt" "$reference" || fail "the new report is not the reference bytes"
expect_earlier_intact
expect_files e.txt n.txt

# The data reached the file but the disk cannot keep it: the first fsync is the writer's.
new_case sync_fails_injected
run_probe env ASAN_OPTIONS="$traced_asan_options" \
    strace -o /dev/null -e trace=fsync -e inject=fsync:error=ENOSPC:when=1 -- e.txt
expect 28 "I/O error 28."
expect_earlier_intact
expect_files e.txt

# A real full disk: a 16 KiB tmpfs, filled, in a mount namespace of its own. The report is
# small enough to sit in QFileDevice's buffer, where a full disk goes unnoticed by commit().
new_case full_tmpfs
output=$(unshare -m bash -c '
    mount -t tmpfs -o size=16k tmpfs "$1" || exit 99
    cd "$1" && printf "%s" "$2" > e.txt && { head -c 65536 /dev/zero > filler; } 2>/dev/null
    "$3" e.txt
    status=$?
    cp e.txt ../e.after
    ls -A | sort | tr "\n" " " > ../files.after
    exit $status' full_tmpfs "$dir" "$earlier" "$probe")
status=$?
if [ "$status" -eq 99 ]; then
    fail "cannot mount a tmpfs"
else
    expect 28 "I/O error 28."
    cmp -s "$work/e.after" "$earlier_copy" || fail "the earlier report changed"
    [ "$(cat "$work/files.after")" = "e.txt filler " ] || fail "files: $(cat "$work/files.after")"
fi

# The disk takes the first 100 bytes of the report and refuses the rest: the write comes
# back short with no error, and the next one fails (EFBIG, 27, from a file size limit,
# which cuts at any byte where a tmpfs cuts at whole pages). Nothing here shields the
# probe from the limit's signal: it must survive it on its own, as the program does.
new_case disk_fills_part_way
run_probe prlimit --fsize=100:100 -- e.txt
expect 27 "I/O error 27."
expect_earlier_intact
expect_files e.txt

if [ "$failures" -ne 0 ]; then
    echo "$failures failure(s)"
    exit 1
fi
echo "all fault cases passed"
