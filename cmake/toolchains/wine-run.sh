#!/bin/sh
# CTest's emulator for the cross build: runs a Windows program under Wine and passes its
# output and exit status on. The output goes through a file, not straight to CTest: Wine can
# leave a process of its own behind, such as the console host of a console program started
# without a console; holding CTest's output pipe, it would keep CTest waiting until the test's
# time is up although the program had long ended. The file is passed on as it grows, so that
# the output reaches CTest also when CTest's timeout kills the program, and this script with
# it. The file has no name once opened: nothing is left behind, killed or not.
#   wine-run.sh WINE PROGRAM [ARGUMENT...]
wine=$1
shift
out=$(mktemp) || exit 1
exec 4>"$out" 5<"$out"
rm -f "$out"
# A command started with & would read /dev/null instead of our standard input.
exec 3<&0
"$wine" "$@" <&3 >&4 2>&4 3<&- 4>&- 5<&- &
program=$!
exec 3<&- 4>&-
# tail ends once the program has ended and all it wrote has been passed on.
tail -c +1 -f -s 0.2 --pid="$program" <&5 5<&- &
copier=$!
exec 5<&-
wait "$program"
status=$?
wait "$copier"
exit "$status"
