#!/usr/bin/env bash
# Builds the static Qt 6.4.2 for 64-bit Windows (x86_64-w64-mingw32) that the Windows program
# links: Core, Gui, Widgets and Test with the windows, offscreen and minimal platform plugins,
# from Debian's own qt6-base source package, with Debian's mingw-w64 (posix threads). Debian's
# Linux Qt 6.4.2 serves as the host tools (moc, rcc, uic). Optimised for size, as the ready-made
# archive in ../shared/qt6-mingw is, so both ways give the same Qt. About 45 minutes on 2 cores.
#   scripts/build-qt-windows.sh PREFIX [WORKDIR]
# scripts/build-windows.sh calls it when no ready-made archive of this Qt is at hand.
set -euo pipefail
prefix=$(realpath -m "${1:?usage: build-qt-windows.sh PREFIX [WORKDIR]}")
work=$(realpath -m "${2:-${TMPDIR:-/tmp}/velmora-qt6-mingw-build}")
version=6.4.2
debian_version=6.4.2+dfsg-10
scripts=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$work"
cd "$work"

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
"$scripts/deps.sh" build windows qt-windows

# Qt's source from Debian: apt needs source lines, made from the machine's own binary lines.
if ! ls qt6-base_${version}*.orig.tar.xz >/dev/null 2>&1; then
    if ! grep -rqs "^deb-src\|^Types: deb-src" /etc/apt/sources.list /etc/apt/sources.list.d/; then
        for f in /etc/apt/sources.list.d/*.sources; do
            if [ -f "$f" ] && grep -q '^Types: deb$' "$f"; then
                sed 's/^Types: deb$/Types: deb-src/' "$f" |
                    "${sudo_cmd[@]}" tee "/etc/apt/sources.list.d/src-$(basename "$f")" >/dev/null
            fi
        done
        if [ -f /etc/apt/sources.list ] && grep -q '^deb ' /etc/apt/sources.list; then
            grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
                "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/src-sources.list >/dev/null
        fi
        "${sudo_cmd[@]}" apt-get update -qq
    fi
    apt-get source --download-only "qt6-base=$debian_version"
fi

source_dir=qtbase-everywhere-src-$version
if [ ! -d "$source_dir" ]; then
    tar xf "qt6-base_${version}+dfsg.orig.tar.xz"
    # Debian's source leaves out the Wintab headers (src/3rdparty/wintab), so the windows
    # platform plugin is built without Wintab tablet support; everything else is as upstream.
    w=$source_dir/src/plugins/platforms/windows
    no_wintab='#if 0 \/\/ no Wintab headers in the Debian source'
    sed -i "s/#if QT_CONFIG(tabletevent)/$no_wintab/" "$w/qwindowscontext.cpp"
    sed -i "10s/#if QT_CONFIG(tabletevent)/$no_wintab/" "$w/qwindowspointerhandler.cpp"
    has_wintab='AND EXISTS "${QtBase_SOURCE_DIR}\/src\/3rdparty\/wintab\/wintab.h"'
    for plugin in QWindowsIntegrationPlugin QWindowsDirect2DIntegrationPlugin; do
        sed -i "s/qt_internal_extend_target($plugin CONDITION QT_FEATURE_tabletevent\$/& $has_wintab/" \
            "$w/CMakeLists.txt" "$w/../direct2d/CMakeLists.txt"
    done
fi

# Qt's own build needs a toolchain without Velmora's static link flags.
cat >mingw.cmake <<'TOOLCHAIN'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
TOOLCHAIN

cmake -S "$source_dir" -B build -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$work/mingw.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DBUILD_SHARED_LIBS=OFF -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DINPUT_opengl=no \
    -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF \
    -DFEATURE_icu=OFF -DFEATURE_vulkan=OFF -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF \
    -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF \
    -DFEATURE_optimize_size=ON
cmake --build build -j"$(nproc)"
cmake --install build
echo "Qt $version for mingw-w64 installed in $prefix"
