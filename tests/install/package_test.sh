#!/usr/bin/env bash
# scripts/package.sh makes the three Debian packages; unpacked into a scratch root they hold a
# working library, development files and tool, and the container example builds and runs
# against them. lintian, where Debian's is installed, reports no errors.
#   package_test.sh BUILD_DIR SOURCE_DIR WORK_DIR
set -euo pipefail
build_dir=$1 source_dir=$2 work=$3
. "$source_dir/tests/install/common.sh"
rm -rf "$work"
mkdir -p "$work"
VYR_BUILD_DIR="$build_dir" "$source_dir/scripts/package.sh" --no-build "$work/debs" >"$work/debs.txt" ||
  fail "scripts/package.sh"
for name in libvyrcontrols1 libvyrcontrols-dev vtx; do
  ls "$work/debs/${name}_"*.deb >/dev/null 2>&1 || fail "no $name package"
done
ok "packages: $(cd "$work/debs" && echo *.deb)"

depends() { dpkg-deb -f "$work/debs/$1_"*.deb Depends; }
[[ "$(depends libvyrcontrols1)" == *libqt6widgets6* && "$(depends libvyrcontrols1)" == *libsqlite3-0* ]] ||
  fail "libvyrcontrols1 does not depend on Qt and SQLite: $(depends libvyrcontrols1)"
[[ "$(depends vtx)" == *libvyrcontrols1* && "$(depends vtx)" == *libqt6network6* ]] ||
  fail "vtx depends on: $(depends vtx)"
[[ "$(depends libvyrcontrols-dev)" == *"libvyrcontrols1 (="* ]] || fail "libvyrcontrols-dev depends on: $(depends libvyrcontrols-dev)"
ok "dependencies name Debian's Qt and SQLite packages"

if command -v lintian >/dev/null; then
  lintian --fail-on error --suppress-tags-from-file /dev/null "$work/debs/"*.deb >"$work/lintian.txt" 2>&1 ||
    { cat "$work/lintian.txt"; fail "lintian reports errors"; }
  ok "lintian: no errors ($(grep -c '^W:' "$work/lintian.txt" || true) warnings)"
fi

root="$work/root"
for deb in "$work/debs/"*.deb; do
  dpkg -x "$deb" "$root"
done
[[ -f "$root/usr/share/applications/vtx.desktop" ]] || fail "no desktop entry"
[[ -f "$root/usr/share/icons/hicolor/scalable/apps/vtx.svg" ]] || fail "no icon"
check_installed "$root/usr"
check_headers "$root/usr"
check_qtwidget "$root/usr"
check_container "$root/usr"
check_vtx_demo "$root/usr"
echo "package test passed"
