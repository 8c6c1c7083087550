#!/usr/bin/env bash
# scripts/package.sh makes the Debian packages; unpacked into a scratch root (dpkg -x) they hold
# a working library, development files, Designer plugin and tool where Debian's Qt and linker
# look (the multiarch library folder, `qtpaths6 --plugin-dir`), and the examples build and run
# against them. lintian, where Debian's is installed, reports no errors.
#   package_test.sh BUILD_DIR SOURCE_DIR WORK_DIR CLASSES
set -euo pipefail
build_dir=$1 source_dir=$2 work=$3 classes=$4
. "$source_dir/tests/install/common.sh"
rm -rf "$work"
mkdir -p "$work"
VYR_BUILD_DIR="$build_dir" "$source_dir/scripts/package.sh" --no-build "$work/debs" >"$work/debs.txt" ||
  fail "scripts/package.sh"
for name in libvyrcontrols1 libvyrcontrols-dev vyr-designer-plugin vtx; do
  ls "$work/debs/${name}_"*.deb >/dev/null 2>&1 || fail "no $name package"
done
ok "packages: $(cd "$work/debs" && echo *.deb)"

depends() { dpkg-deb -f "$work/debs/$1_"*.deb Depends; }
[[ "$(depends libvyrcontrols1)" == *libqt6widgets6* && "$(depends libvyrcontrols1)" == *libsqlite3-0* ]] ||
  fail "libvyrcontrols1 does not depend on Qt and SQLite: $(depends libvyrcontrols1)"
[[ "$(depends vtx)" == *libvyrcontrols1* && "$(depends vtx)" == *libqt6network6* ]] ||
  fail "vtx depends on: $(depends vtx)"
[[ "$(depends libvyrcontrols-dev)" == *"libvyrcontrols1 (="* ]] || fail "libvyrcontrols-dev depends on: $(depends libvyrcontrols-dev)"
# The Qt widget library uses Qt's private API, bound to the exact Qt it was built with.
qt_version=$(qtpaths6 --qt-query QT_VERSION 2>/dev/null || qtpaths6 --query QT_VERSION)
[[ "$(depends libvyrcontrols1)" == *"qt6-base-abi (= $qt_version)"* ]] ||
  fail "libvyrcontrols1 does not depend on qt6-base-abi (= $qt_version): $(depends libvyrcontrols1)"
[[ "$(depends vyr-designer-plugin)" == *"libvyrcontrols1 (="* && "$(depends vyr-designer-plugin)" != *-dev* ]] ||
  fail "vyr-designer-plugin depends on: $(depends vyr-designer-plugin)"
ok "dependencies name Debian's Qt and SQLite packages, qt6-base-abi (= $qt_version)"

if command -v lintian >/dev/null; then
  lintian --fail-on error --suppress-tags-from-file /dev/null "$work/debs/"*.deb >"$work/lintian.txt" 2>&1 ||
    { cat "$work/lintian.txt"; fail "lintian reports errors"; }
  ok "lintian: no errors ($(grep -c '^W:' "$work/lintian.txt" || true) warnings)"
fi

root="$work/root"
for deb in "$work/debs/"*.deb; do
  dpkg -x "$deb" "$root"
done
# Where Debian's Qt and linker look: the plugin at `qtpaths6 --plugin-dir`/designer inside its
# own package, the libraries and package files in the multiarch folder, nothing in /usr/lib.
plugin_dir=$(qtpaths6 --plugin-dir)/designer
multiarch=/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)
# grep reads the whole listing (no -q): under pipefail a writer cut off early fails the pipe.
dpkg-deb -c "$work/debs/vyr-designer-plugin_"*.deb | grep " \.$plugin_dir/libvyrdesigner\.so$" >/dev/null ||
  fail "vyr-designer-plugin does not hold $plugin_dir/libvyrdesigner.so: $(dpkg-deb -c "$work/debs/vyr-designer-plugin_"*.deb)"
[[ -f "$root$plugin_dir/libvyrdesigner.so" ]] || fail "no plugin at $plugin_dir"
for f in libvyrcontrols.so.1 libvyrqtwidget.so.1 libvyrcontrols.so libvyrqtwidget.so pkgconfig/vyrcontrols.pc \
         pkgconfig/vyrqtwidget.pc cmake/VyrControls/VyrControlsConfig.cmake; do
  [[ -e "$root$multiarch/$f" ]] || fail "no $multiarch/$f"
done
[[ -z "$(find "$root/usr/lib" -maxdepth 1 -type f)" ]] || fail "files directly in /usr/lib: $(find "$root/usr/lib" -maxdepth 1 -type f)"
ok "plugin in $plugin_dir, libraries and package files in $multiarch"
[[ -f "$root/usr/share/applications/vtx.desktop" ]] || fail "no desktop entry"
[[ -f "$root/usr/share/icons/hicolor/scalable/apps/vtx.svg" ]] || fail "no icon"
check_installed "$root/usr"
check_headers "$root/usr"
check_qtwidget "$root/usr" "$classes"
check_container "$root/usr"
check_vtx_demo "$root/usr"
check_qt_example "$root/usr"
echo "package test passed"
