#!/usr/bin/env bash
# Build (installing what is missing) and run every test headless through CTest.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$root/scripts/setup.sh"
# The printing test prints through a real queue; without one it says why.
"$root/scripts/print-queue.sh" || echo "test: no print queue YuzariboPDF; the printing test will say so" >&2
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$root/build" --output-on-failure --no-tests=error -j2 "$@"
