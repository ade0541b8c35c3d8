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

# library VAR TITLE GIVEN ARCHIVE NAME BUILDER CONFIG: sets VAR to the folder of one static
# library for Windows: GIVEN where set; else ARCHIVE, unpacked once; else NAME built once from
# Debian's source by BUILDER into the user's cache. The folder must hold the CMake file CONFIG.
library() {
    local -n folder=$1
    local title=$2 given=$3 archive=$4 name=$5 builder=$6 config=$7 cache
    if [ -n "$given" ]; then
        folder=$given
        echo "$title for Windows: $folder"
    elif [ -f "$archive" ]; then
        cache=$(unpack "$archive" "${name%-*}")
        folder=$cache/${name%-*}
        echo "$title for Windows: $archive, unpacked in $cache"
    else
        folder=${XDG_CACHE_HOME:-$HOME/.cache}/velmora/$name
        if [ ! -f "$folder/built" ]; then
            echo "No $title for Windows at hand: building it from Debian's source into $folder"
            rm -rf "$folder"
            "$builder" "$folder"
            touch "$folder/built"
        fi
        echo "$title for Windows: $folder"
    fi
    [ -f "$folder/$config" ] || {
        echo "$folder holds no $title for CMake" >&2
        exit 1
    }
}

library qt "Qt" "${VELMORA_QT_MINGW:-}" \
    "${VELMORA_QT_ARCHIVE:-$root/../shared/qt6-mingw/qt6-mingw-6.4.2-static.tar.xz}" \
    qt6-mingw-6.4.2 scripts/build-qt-windows.sh lib/cmake/Qt6/qt.toolchain.cmake
lap "qt"
library sdl "SDL" "${VELMORA_SDL_MINGW:-}" \
    "${VELMORA_SDL_ARCHIVE:-$root/../shared/sdl2-mingw/sdl2-mingw-2.26.5-static.tar.xz}" \
    sdl2-mingw-2.26.5 scripts/build-sdl-windows.sh lib/cmake/SDL2/SDL2Config.cmake
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
