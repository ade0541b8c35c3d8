#!/usr/bin/env bash
# Builds and runs every test: the format check, a debug build (with the benchmarks built, not
# run) and an AddressSanitizer + UndefinedBehaviorSanitizer + LeakSanitizer build with clang,
# which also runs each fuzzer for a few seconds, both with warnings as errors; then the
# Windows build under Wine. No display is needed: GUI tests run offscreen, the smoke tests
# under Xvfb. Every package any step needs is installed first, and every configure requires
# every test: a tool gone missing fails the run instead of quietly dropping its tests.
set -euo pipefail
cd "$(dirname "$0")/.."

started=$SECONDS
phase=$SECONDS
lap() {
    printf 'test.sh %s: %ds\n' "$1" $((SECONDS - phase))
    phase=$SECONDS
}

scripts/deps.sh
jobs=$(nproc)
lap "install"

# The format is checked, not argued: a file clang-format would change fails the run.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
fi

cmake --preset debug -DVELMORA_WERROR=ON -DVELMORA_REQUIRE_ALL_TESTS=ON >/dev/null
cmake --build --preset debug -j "$jobs"
ctest --preset debug -j "$jobs" --no-tests=error
lap "debug"

cmake --preset asan -DVELMORA_FUZZ=ON -DVELMORA_WERROR=ON -DVELMORA_REQUIRE_ALL_TESTS=ON >/dev/null
cmake --build --preset asan -j "$jobs"
# Leaks are looked for; only what Qt and the libraries under it allocate once for the whole
# process is let pass (tests/lsan.supp names those allocations).
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0" \
    UBSAN_OPTIONS=print_stacktrace=1 ctest --preset asan -j "$jobs" --no-tests=error
lap "asan"

scripts/test-windows.sh
lap "windows"
echo "test.sh: every test passed in $((SECONDS - started))s"
