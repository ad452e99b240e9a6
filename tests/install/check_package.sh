#!/usr/bin/env bash
# Makes the Debian package of a build, as a user would with `cpack -G DEB`, and has lintian
# check it: it may report neither an error nor a warning.
#   check_package.sh PATH/TO/cpack BUILD_DIR
set -u
cpack=$1
build=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    exit 1
fi
lintian --fail-on error,warning "$work"/zorventest_*.deb
