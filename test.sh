#!/usr/bin/env bash
# Build (installing what is missing) and run every test headless through CTest.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$root/scripts/setup.sh"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$root/build" --output-on-failure --no-tests=error -j2 "$@"
