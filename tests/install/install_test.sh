#!/usr/bin/env bash
# cmake --install into a scratch prefix; the installed tree is complete and stands alone.
#   install_test.sh BUILD_DIR SOURCE_DIR WORK_DIR CLASSES
set -euo pipefail
build_dir=$1 source_dir=$2 work=$3 classes=$4
. "$source_dir/tests/install/common.sh"
rm -rf "$work"
mkdir -p "$work"
# The same layout as the package test's unpacked root, so that ccache serves the second build.
prefix="$work/root/usr"
cmake --install "$build_dir" --prefix "$prefix" >"$work/install.log" || fail "cmake --install"
ok "installed into $prefix"
check_installed "$prefix"
check_headers "$prefix"
check_qtwidget "$prefix" "$classes"
check_readme "$prefix"

# The documented registration step: the installed library enters a registry store.
lib="$(libdir_of "$prefix")/libvyrcontrols.so.1"
export VYR_REGISTRY="$work/registry.db"
"$prefix/bin/vyr-regsvr" /s "$lib" || fail "vyr-regsvr $lib"
"$prefix/bin/vyr-reg" query 'HKEY_CLASSES_ROOT\CLSID\{4D5EA736-923A-11D3-A344-0000CB751FFC}\InprocServer32' \
  >"$work/inproc.txt" || fail "the Frame is not registered"
grep -q "$(readlink -f "$lib")" "$work/inproc.txt" || { cat "$work/inproc.txt"; fail "InprocServer32 does not name the installed library"; }
ok "vyr-regsvr registered the installed library"

check_container "$prefix"
check_vtx_demo "$prefix"
check_qt_example "$prefix"
echo "install test passed"
