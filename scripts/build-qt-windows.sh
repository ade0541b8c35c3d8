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
toolchain=$scripts/../cmake/toolchains/mingw-w64-compilers.cmake
mkdir -p "$work"
cd "$work"

"$scripts/deps.sh" build windows qt-windows

# The source from Debian.
"$scripts/debian-source.sh" qt6-base "$debian_version"

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

cmake -S "$source_dir" -B build -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
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
