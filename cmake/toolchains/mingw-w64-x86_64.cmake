# Cross-builds the Qt-free libraries and their tests as 64-bit Windows programs with Debian's
# mingw-w64 (g++-mingw-w64-x86-64-posix), to be run under Wine or on Windows itself:
#   cmake -B build/windows -G Ninja \
#         -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake -DVELMORA_GUI=OFF
#
# The posix thread model is the one that has std::thread and std::mutex, which GoogleTest
# needs; the win32 one does not.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-compilers.cmake)

# Everything linked in, the compiler's run-time and winpthreads included, so that the
# programs and the plugin DLLs load under a bare Wine prefix or on a Windows machine without
# any mingw DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Lets CTest (and gtest_discover_tests, should anyone use it) run the programs on Linux. The
# project's configure fails when the tests are built and no Wine is found: without it CTest
# would run every .exe as a shell script.
# Wine runs them through wine-run.sh, so that nothing Wine leaves running holds CTest's pipe.
find_program(VELMORA_WINE NAMES wine wine64)
if(VELMORA_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh ${VELMORA_WINE})
endif()
