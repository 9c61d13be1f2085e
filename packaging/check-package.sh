#!/usr/bin/env bash
# Builds the Debian package from a configured and built build folder into a
# temporary folder, then checks what a user would get from it: the file name,
# exactly the expected files with sane owners and modes, metainfo that fits
# the desktop entry, the dependencies, a stripped program that starts, and no
# lintian error.
#
#   packaging/check-package.sh BUILD_DIR
set -euo pipefail

build="$(cd "${1:?usage: check-package.sh BUILD_DIR}" && pwd)"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/out" >"$tmp/cpack.log" 2>&1 || {
  cat "$tmp/cpack.log" >&2
  echo "FAIL: cpack did not build the package" >&2
  exit 1
}
deb="$tmp/out/yuzaribo_1.0_$(dpkg --print-architecture).deb"
if [ ! -f "$deb" ]; then
  cat "$tmp/cpack.log" >&2
  echo "FAIL: no $(basename "$deb"); cpack wrote: $(cd "$tmp/out" && ls -- *.deb 2>/dev/null)" >&2
  exit 1
fi
echo "built $(basename "$deb")"

# Exactly these files and nothing else (a stray install rule shows up here).
expected="/usr/bin/yuzaribo
/usr/share/applications/yuzaribo.desktop
/usr/share/doc/yuzaribo/changelog.gz
/usr/share/doc/yuzaribo/copyright
/usr/share/icons/hicolor/scalable/apps/yuzaribo.svg
/usr/share/man/man1/yuzaribo.1.gz
/usr/share/metainfo/io.github.yuzaribo.metainfo.xml
/usr/share/yuzaribo/ReadMe.txt"
root="$tmp/root"
dpkg-deb -x "$deb" "$root"
actual="$(cd "$root" && find . ! -type d | sed 's|^\.||' | LC_ALL=C sort)"
if [ "$actual" != "$expected" ]; then
  fail "the package's files differ from the expected list (< expected, > packaged):"
  diff <(echo "$expected") <(echo "$actual") >&2 || true
fi

# Owned by root, directories and the program 0755, everything else 0644.
while read -r mode owner _ _ _ name; do
  case "$mode" in
    d*) want=drwxr-xr-x ;;
    *) [ "$name" = ./usr/bin/yuzaribo ] && want=-rwxr-xr-x || want=-rw-r--r-- ;;
  esac
  [ "$mode" = "$want" ] || fail "$name has mode $mode, not $want"
  [ "$owner" = root/root ] || fail "$name is owned by $owner, not root/root"
done < <(dpkg-deb -c "$deb")

# The metainfo as installed: its launchable must name the packaged desktop entry.
appstreamcli validate-tree --no-net "$root" >"$tmp/tree.log" 2>&1 \
  || { cat "$tmp/tree.log" >&2; fail "the installed metainfo does not fit the installed files"; }

depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
# libqt6widgets6 can only come from dpkg-shlibdeps: proof that it ran.
for dep in fonts-ipafont-gothic fonts-ipafont-mincho libcups2 libqt6widgets6; do
  grep -Eq "(^|, )$dep( |,|$)" <<<"$depends" || fail "Depends lacks $dep"
done

file -b "$root/usr/bin/yuzaribo" | grep -q ', stripped' || fail "the program is not stripped"

# The packaged program against the system's libraries, with no display at
# all: --version must not need one.
version="$(cd "$tmp" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
  timeout 30 "$root/usr/bin/yuzaribo" --version 2>"$tmp/version.err")" && status=0 || status=$?
if [ "$status" -ne 0 ] || [ "$version" != "Yuzaribo 1.0" ]; then
  fail "yuzaribo --version exited $status and printed '$version', not 'Yuzaribo 1.0'"
  head -c 2000 "$tmp/version.err" >&2
fi

# Lintian: warnings are shown, errors fail.
lintian --fail-on none --tag-display-limit 0 "$deb" >"$tmp/lintian.log" 2>&1 \
  || { cat "$tmp/lintian.log" >&2; fail "lintian did not run"; }
cat "$tmp/lintian.log"
grep -q '^E: ' "$tmp/lintian.log" && fail "lintian reports errors"

if [ "$failed" -ne 0 ]; then
  exit 1
fi
echo "package checks passed"
