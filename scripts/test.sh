#!/usr/bin/env bash
# Builds and runs every test: a debug build (with the benchmarks built, not run) and an
# AddressSanitizer + UndefinedBehaviorSanitizer build with clang, which also runs each fuzzer
# for a few seconds. No display is needed: GUI tests run offscreen, the smoke test under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
jobs=$(nproc)

cmake --preset debug >/dev/null
cmake --build --preset debug -j "$jobs"
ctest --preset debug -j "$jobs"

CC=clang CXX=clang++ cmake --preset asan -DVELMORA_FUZZ=ON >/dev/null
cmake --build --preset asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 ctest --preset asan -j "$jobs"
scripts/test-windows.sh
