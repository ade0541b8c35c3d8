#!/usr/bin/env bash
# Builds the static SDL 2.26.5 for 64-bit Windows (x86_64-w64-mingw32) that the Windows program
# reads game pads with: joysticks and game controllers (XInput, DirectInput, raw input, HIDAPI,
# virtual joysticks), haptics, events, and the video subsystem SDL's Windows joystick code
# needs; no audio, rendering, OpenGL or Vulkan. From Debian's own libsdl2 source package,
# unchanged, with Debian's mingw-w64 (posix threads): the same SDL as the ready-made archive in
# ../shared/sdl2-mingw (the same libSDL2.a, byte for byte), and the version Debian 12 ships
# for Linux. About 3 minutes on 2 cores.
#   scripts/build-sdl-windows.sh PREFIX [WORKDIR]
# scripts/build-windows.sh calls it when no ready-made archive of this SDL is at hand.
set -euo pipefail
prefix=$(realpath -m "${1:?usage: build-sdl-windows.sh PREFIX [WORKDIR]}")
work=$(realpath -m "${2:-${TMPDIR:-/tmp}/velmora-sdl2-mingw-build}")
version=2.26.5
debian_version=2.26.5+dfsg-1
scripts=$(cd "$(dirname "$0")" && pwd)
toolchain=$scripts/../cmake/toolchains/mingw-w64-compilers.cmake
mkdir -p "$work"
cd "$work"

"$scripts/deps.sh" build windows qt-windows

# The source from Debian.
"$scripts/debian-source.sh" libsdl2 "$debian_version"

# Unpacked under a name of our own, whatever the tarball's top folder is called.
source_dir=sdl2-source
if [ ! -f "$source_dir/CMakeLists.txt" ]; then
    orig=$(ls libsdl2_${version}*.orig.tar.* | grep -v '\.asc$' | head -n 1)
    rm -rf "$source_dir"
    mkdir -p "$source_dir"
    tar -C "$source_dir" --strip-components=1 -xf "$orig"
fi

cmake -S "$source_dir" -B build -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=MinSizeRel -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF \
    -DSDL_AUDIO=OFF -DSDL_RENDER=OFF -DSDL_POWER=OFF -DSDL_FILESYSTEM=OFF -DSDL_SENSOR=OFF \
    -DSDL_LOCALE=OFF -DSDL_MISC=OFF -DSDL_HAPTIC=ON -DSDL_HIDAPI=ON -DSDL_JOYSTICK=ON \
    -DSDL_VIDEO=ON -DSDL_OPENGL=OFF -DSDL_OPENGLES=OFF -DSDL_VULKAN=OFF -DSDL_DIRECTX=ON \
    -DSDL_RENDER_D3D=OFF -DCMAKE_INSTALL_PREFIX="$prefix"
cmake --build build -j"$(nproc)"
cmake --install build
# Relocatable, as the archive is: pkg-config finds the prefix from the file's own place, and
# sdl2-config, which names the build's prefix, is left out with the autoconf macro.
sed -i 's|^prefix=.*|prefix=${pcfiledir}/../..|' "$prefix/lib/pkgconfig/sdl2.pc"
rm -rf "$prefix/bin" "$prefix/share/aclocal"
echo "SDL $version for mingw-w64 installed in $prefix"
