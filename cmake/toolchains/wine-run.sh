#!/bin/sh
# CTest's emulator for the cross build: runs a Windows program under Wine, its output going
# through a file, then passes that output and the program's exit status on. Wine can leave a
# process of its own behind, such as the console host of a console program started without a
# console; holding CTest's output pipe, it would keep CTest waiting until the test's time is up
# although the program had long ended.
#   wine-run.sh WINE PROGRAM [ARGUMENT...]
wine=$1
shift
out=$(mktemp) || exit 1
"$wine" "$@" >"$out" 2>&1
status=$?
cat "$out"
rm -f "$out"
exit "$status"
