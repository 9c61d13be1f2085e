#!/usr/bin/env bash
# Build (installing what is missing) and start Yuzaribo: ./run.sh [file.csv]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run.sh: no display (neither DISPLAY nor WAYLAND_DISPLAY is set); start it from a desktop session." >&2
  exit 1
fi
"$root/scripts/setup.sh" >/dev/null
exec "$root/build/yuzaribo" "$@"
