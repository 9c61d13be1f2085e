#!/bin/sh
# clang and its sanitizer and libFuzzer runtimes, installed when missing.
# Shared by fuzz/run.sh and scripts/sanitize.sh.
set -eu
missing=
command -v clang >/dev/null 2>&1 && command -v clang++ >/dev/null 2>&1 || missing="$missing clang"
dpkg -s libclang-rt-14-dev >/dev/null 2>&1 || missing="$missing libclang-rt-14-dev"
if [ -n "$missing" ]; then
    sudo=
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    echo "installing:$missing" >&2
    $sudo apt-get update -qq
    # shellcheck disable=SC2086
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing >/dev/null
fi
