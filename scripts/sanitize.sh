#!/usr/bin/env bash
# Builds the whole program and its tests with clang's AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan/ and runs every test there,
# headless. Any finding fails the test that ran into it. Extra arguments go
# to ctest (e.g. scripts/sanitize.sh -R print).
#
# Expects the packages of scripts/setup.sh (./test.sh installs them) and
# the print queue of scripts/print-queue.sh; adds clang when it is missing.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install-clang.sh"

build="$root/build-asan"
if [ ! -f "$build/build.ninja" ]; then
  # Q_ASSERT stays on so Qt's own bounds checks fire as well.
  flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer -UQT_NO_DEBUG"
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
fi
cmake --build "$build"

export QT_QPA_PLATFORM=offscreen
# Leaks are left out: the system's font and print libraries keep caches for
# the life of the process, which LeakSanitizer would report at every exit.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1:strict_string_checks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
# The package's checks are about files, not memory: ./test.sh runs them once.
ctest --test-dir "$build" --output-on-failure --no-tests=error -j2 -E '^package_' "$@"
