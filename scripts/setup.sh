#!/usr/bin/env bash
# Shared set-up for run.sh and test.sh: install the Debian packages the
# project needs (only those missing), then configure and build in build/.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev
  libicu-dev libcups2-dev libx11-dev
  qt6-translations-l10n
  fonts-ipafont-gothic fonts-ipafont-mincho
  cups printer-driver-cups-pdf poppler-utils
  desktop-file-utils appstream lintian dpkg-dev file time
  glabels-data skkdic-extra
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = installed ] || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}" >&2
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

build="$root/build"
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build"
