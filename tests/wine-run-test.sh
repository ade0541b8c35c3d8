#!/bin/sh
# cmake/toolchains/wine-run.sh, with /bin/sh standing in for Wine: what a program prints
# reaches CTest while it still runs, so that a program CTest kills for its time still shows its
# output; and the program's exit status is passed on.
#   wine-run-test.sh WINE-RUN.SH
set -u
run=$1
dir=$(mktemp -d) || exit 1
group=
trap '[ -z "$group" ] || kill -s KILL -- "-$group" 2>/dev/null; rm -rf "$dir"' EXIT
mkfifo "$dir/out"

# A program that prints a line and never ends, in a process group of its own, so that it can
# be killed with all its children, as CTest kills a test whose time is up.
setsid "$run" /bin/sh -c 'echo printed; exec sleep 600' >"$dir/out" &
group=$!
IFS= read -r line <"$dir/out"
if [ "$line" != printed ]; then
    echo "wine-run.sh passed on \"$line\" instead of \"printed\"" >&2
    exit 1
fi
kill -s KILL -- "-$group"
group=

"$run" /bin/sh -c 'echo out; echo err >&2; exit 3' >"$dir/both" 2>&1
status=$?
if [ "$status" -ne 3 ] || [ "$(cat "$dir/both")" != "$(printf 'out\nerr')" ]; then
    echo "wine-run.sh gave status $status and: $(cat "$dir/both")" >&2
    exit 1
fi
echo "wine-run.sh passes output on as it comes, and the exit status"
