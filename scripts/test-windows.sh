#!/usr/bin/env bash
# Cross-builds the Qt-free libraries and their tests for 64-bit Windows with mingw-w64 and runs
# them under Wine: the contract's Windows rules (backslashes, the upper-cased emulator folder)
# and the registry layer against a real registry. Installs the cross compiler and Wine when
# they are missing. Everything lives in build/windows, the Wine prefix included, which is made
# afresh on every run so that no registry state survives from one run to the next.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/windows
started=$SECONDS
phase=$SECONDS
lap() {
    printf '%s: %ds\n' "$1" $((SECONDS - phase))
    phase=$SECONDS
}

# The posix thread model, not the win32 one: GoogleTest and std::thread need it.
packages=(g++-mingw-w64-x86-64-posix wine64 wine)
missing=()
for package in "${packages[@]}"; do
    dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq \
        --no-install-recommends "${missing[@]}" >/dev/null
fi
lap "install"

cmake --no-warn-unused-cli -S . -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Debug -DVELMORA_GUI=OFF -DVELMORA_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"
lap "build"

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
# The persistent server keeps them, and the prefix, warm for every test program.
wineserver -p >"$build/wineboot.log" 2>&1
if ! wine wineboot -i >>"$build/wineboot.log" 2>&1; then
    cat "$build/wineboot.log" >&2
    exit 1
fi
lap "prefix"

# Every test program runs whole as one CTest test; no test may take longer than two minutes.
ctest --test-dir "$build" --output-on-failure --timeout 120
cases=$(grep -ho '^\[  PASSED  \] [0-9]* test' "$build/Testing/Temporary/LastTest.log" |
        awk '{ sum += $4 } END { print sum + 0 }')
lap "tests"
echo "Windows: $cases GoogleTest cases passed under Wine in $((SECONDS - started))s"
