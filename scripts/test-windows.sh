#!/usr/bin/env bash
# The Windows step of the test command: builds the whole Windows program and its tests with
# scripts/build-windows.sh, then runs every test program under Wine in a fresh prefix in
# build/windows/wineprefix: the Qt-free libraries (the contract's Windows rules, the registry
# layer against a real registry), the process runner, the windows and dialogs (Qt's offscreen
# platform, no display), the game pad with SDL's virtual devices, and the smoke test,
# Velmora.exe in real windows on Xvfb. Checks that the zip holds Velmora.exe alone and stays
# under 7 MB. Installs Wine and the smoke test's tools when missing. The
# prefix is made afresh on every run, so no registry state survives from one run to the next.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/windows
started=$SECONDS
phase=$SECONDS
lap() {
    printf 'windows %s: %ds\n' "$1" $((SECONDS - phase))
    phase=$SECONDS
}

# Wine and the smoke test's tools before the build's configure, which looks for them.
scripts/deps.sh build gui-tests windows
lap "install"

VELMORA_WINDOWS_BUILD=$build scripts/build-windows.sh -DVELMORA_WERROR=ON \
    -DVELMORA_REQUIRE_ALL_TESTS=ON
phase=$SECONDS

contents=$(unzip -Z1 "$build"/Velmora-*-win64.zip)
if [ "$contents" != "Velmora.exe" ]; then
    echo "The zip should hold Velmora.exe alone, not: $contents" >&2
    exit 1
fi
# The download carries no symbols or debug information: they would more than double its size.
unzip -p "$build"/Velmora-*-win64.zip Velmora.exe >"$build/zipped-Velmora.exe"
if x86_64-w64-mingw32-objdump -h "$build/zipped-Velmora.exe" | grep -q '\.debug_' ||
    x86_64-w64-mingw32-objdump -t "$build/zipped-Velmora.exe" | grep -q '^\['; then
    echo "The zip's Velmora.exe is not stripped" >&2
    exit 1
fi
zip_bytes=$(stat -c %s "$build"/Velmora-*-win64.zip)
printf 'windows zip: %s bytes, Velmora.exe in it %s bytes\n' \
    "$zip_bytes" "$(stat -c %s "$build/zipped-Velmora.exe")"
# The download stays under 7 MB, with Qt and SDL linked in.
if [ "$zip_bytes" -ge 7000000 ]; then
    echo "The zip has grown to $zip_bytes bytes; it must stay under 7 MB" >&2
    exit 1
fi

# Quiet and unattended: no debug channels, no offer to install Mono or Gecko.
export WINEPREFIX="$PWD/$build/wineprefix"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

stop_wine() {
    wineserver -k >/dev/null 2>&1 || true
}
stop_wine  # one left behind by an interrupted run would hold the old prefix
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
trap stop_wine EXIT

# Wine starts its background services once, here, with their output going to a log: started
# from inside a test they would inherit CTest's output pipe and keep CTest waiting for ever.
# The persistent server keeps them, and the prefix, warm for every test program. No display
# here: each program that wants one (the smoke test) brings its own.
# Making the prefix leaves a second service manager behind, which keeps the RPC service from
# starting: every Qt program then waits ten seconds for it. So the server is started afresh on
# the finished prefix.
boot() {
    wineserver -p >>"$build/wineboot.log" 2>&1
    if ! env -u DISPLAY wine wineboot "$@" >>"$build/wineboot.log" 2>&1; then
        cat "$build/wineboot.log" >&2
        exit 1
    fi
}
: >"$build/wineboot.log"
boot -i
wineserver -k
wineserver -w
boot
lap "prefix"

# One test program after the other: they share the one registry, as programs on one Windows
# machine do. No test may take longer than three minutes, unless it says otherwise itself
# (cli_tests: five).
ctest --test-dir "$build" --output-on-failure --timeout 180 --no-tests=error -E '^smoke_windows$'
cases=$(grep -ho '^\[  PASSED  \] [0-9]* test' "$build/Testing/Temporary/LastTest.log" |
        awk '{ sum += $4 } END { print sum + 0 }')
lap "tests"

# The tests ran without a display, and the server keeps what Wine started for them, its
# desktop among it: a window on the smoke test's display then never comes. The smoke test gets
# a server of its own.
wineserver -k
wineserver -w
wineserver -p >>"$build/wineboot.log" 2>&1
ctest --test-dir "$build" --output-on-failure --timeout 180 --no-tests=error -R '^smoke_windows$'
lap "smoke"
echo "Windows: $cases GoogleTest cases and the smoke test passed under Wine in $((SECONDS - started))s"
