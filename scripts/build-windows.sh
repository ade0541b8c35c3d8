#!/usr/bin/env bash
# Builds the whole Windows program with Debian's mingw-w64: Velmora.exe (static, GUI subsystem),
# the stand-in ZINC.EXE and the sample plugin DLLs, the test programs, a demo emulator folder in
# build/windows/demo, and Velmora-<version>-win64.zip (cpack -G ZIP), which holds Velmora.exe
# alone. Installs what it needs.
#   scripts/build-windows.sh [extra cmake arguments]
#
# Qt for Windows, static, is taken from the first of:
#   - VELMORA_QT_MINGW: an unpacked Qt for x86_64-w64-mingw32, used as it is;
#   - the archive ../shared/qt6-mingw/qt6-mingw-6.4.2-static.tar.xz beside the repository (or
#     VELMORA_QT_ARCHIVE), checked against its SHA256SUMS and unpacked once into
#     build/qt6-mingw/<its SHA256>;
#   - scripts/build-qt-windows.sh, which builds it from Debian's source into
#     ${XDG_CACHE_HOME:-~/.cache}/velmora/qt6-mingw-6.4.2 (about 45 minutes, once).
#
# SDL 2 for Windows (game pads), static, likewise from the first of:
#   - VELMORA_SDL_MINGW: an unpacked SDL for x86_64-w64-mingw32, used as it is;
#   - the archive ../shared/sdl2-mingw/sdl2-mingw-2.26.5-static.tar.xz (or VELMORA_SDL_ARCHIVE),
#     checked and unpacked once into build/sdl2-mingw/<its SHA256>;
#   - scripts/build-sdl-windows.sh, which builds it from Debian's source into
#     ${XDG_CACHE_HOME:-~/.cache}/velmora/sdl2-mingw-2.26.5 (a few minutes, once).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${VELMORA_WINDOWS_BUILD:-build/windows}

phase=$SECONDS
lap() {
    printf 'windows %s: %ds\n' "$1" $((SECONDS - phase))
    phase=$SECONDS
}

# The host's Qt gives moc, rcc and uic; GoogleTest is built for Windows from Debian's sources;
# Wine runs the tests, and the configure below requires it when the tests are built.
"$root/scripts/deps.sh" build windows
lap "install"

# unpack ARCHIVE NAME: checks ARCHIVE against the SHA256SUMS beside it and unpacks it once into
# build/NAME/<its SHA256>; that folder on standard output.
unpack() {
    local archive=$1 name=$2 sums sum cache
    sums=$(dirname "$archive")/SHA256SUMS
    sum=$(sha256sum "$archive" | cut -d' ' -f1)
    if [ -f "$sums" ] && ! grep -q "^$sum " "$sums"; then
        echo "$archive does not match $sums" >&2
        return 1
    fi
    cache=$root/build/$name/$sum
    # The marker is written last, so an unpacking cut short is never taken for a whole one.
    if [ ! -f "$cache/unpacked" ]; then
        rm -rf "$cache"
        mkdir -p "$cache"
        tar -C "$cache" -xJf "$archive"
        touch "$cache/unpacked"
    fi
    echo "$cache"
}

qt=${VELMORA_QT_MINGW:-}
archive=${VELMORA_QT_ARCHIVE:-$root/../shared/qt6-mingw/qt6-mingw-6.4.2-static.tar.xz}
if [ -n "$qt" ]; then
    echo "Qt for Windows: $qt"
elif [ -f "$archive" ]; then
    cache=$(unpack "$archive" qt6-mingw)
    qt=$cache/qt6-mingw
    echo "Qt for Windows: $archive, unpacked in $cache"
else
    qt=${XDG_CACHE_HOME:-$HOME/.cache}/velmora/qt6-mingw-6.4.2
    if [ ! -f "$qt/built" ]; then
        echo "No Qt for Windows at hand: building it from Debian's source into $qt"
        rm -rf "$qt"
        scripts/build-qt-windows.sh "$qt"
        touch "$qt/built"
    fi
    echo "Qt for Windows: $qt"
fi
[ -f "$qt/lib/cmake/Qt6/qt.toolchain.cmake" ] || {
    echo "$qt holds no Qt 6 for CMake" >&2
    exit 1
}
lap "qt"

sdl=${VELMORA_SDL_MINGW:-}
archive=${VELMORA_SDL_ARCHIVE:-$root/../shared/sdl2-mingw/sdl2-mingw-2.26.5-static.tar.xz}
if [ -n "$sdl" ]; then
    echo "SDL for Windows: $sdl"
elif [ -f "$archive" ]; then
    cache=$(unpack "$archive" sdl2-mingw)
    sdl=$cache/sdl2-mingw
    echo "SDL for Windows: $archive, unpacked in $cache"
else
    sdl=${XDG_CACHE_HOME:-$HOME/.cache}/velmora/sdl2-mingw-2.26.5
    if [ ! -f "$sdl/built" ]; then
        echo "No SDL for Windows at hand: building it from Debian's source into $sdl"
        rm -rf "$sdl"
        scripts/build-sdl-windows.sh "$sdl"
        touch "$sdl/built"
    fi
    echo "SDL for Windows: $sdl"
fi
[ -f "$sdl/lib/cmake/SDL2/SDL2Config.cmake" ] || {
    echo "$sdl holds no SDL 2 for CMake" >&2
    exit 1
}
lap "sdl"

# Qt's toolchain file loads ours. The host rcc compresses with zstd, which this Qt lacks.
# Release: the tests run the very program that goes into the zip.
cmake --no-warn-unused-cli -S . -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$root/cmake/toolchains/mingw-w64-x86_64.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_AUTORCC_OPTIONS=--no-zstd -DCMAKE_BUILD_TYPE=Release \
    -DSDL2_DIR="$sdl/lib/cmake/SDL2" \
    -DVELMORA_GUI=ON -DVELMORA_BENCH=OFF "$@" >/dev/null
lap "configure"

cmake --build "$build" -j "$(nproc)"
cmake --build "$build" -j "$(nproc)" --target demo_dir
lap "build"

(cd "$build" && cpack -G ZIP >/dev/null)
zip=$build/Velmora-$(sed -n 's/^project(Velmora VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)-win64.zip
[ -f "$zip" ] || {
    echo "cpack made no $zip" >&2
    exit 1
}
lap "package"
echo "Windows program: $build/src/app/Velmora.exe; demo folder: $build/demo; download: $zip"
