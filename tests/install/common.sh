# Shared by the install and package tests: checks of an installed tree, and the container
# example built against it alone. Each check prints "ok ..." or "FAIL ..."; fail() ends the test.

fail() { echo "FAIL: $*" >&2; exit 1; }
ok() { echo "ok $*"; }

# Whether FILES name a folder of the source tree (the scratch folders of the test may lie in
# a build folder inside it; those do not count).
names_source_tree() {
  grep -qE -- "$source_dir(/(controls|platform|tools|vtx|examples|tests)\b|[ \"]|$)" "$@"
}

# check_installed PREFIX: the library with its SONAME, the headers, the package files, the
# programs and their help and man pages.
check_installed() {
  local prefix=$1 lib
  lib=$(find "$prefix/lib" -maxdepth 2 -name 'libvyrcontrols.so.1.*' | head -n1)
  [[ -n "$lib" ]] || fail "no libvyrcontrols.so.1.* under $prefix/lib"
  readelf -d "$lib" | grep -q 'SONAME.*\[libvyrcontrols\.so\.1\]' || fail "$lib has no SONAME libvyrcontrols.so.1"
  [[ -e "$(dirname "$lib")/libvyrcontrols.so.1" ]] || fail "no libvyrcontrols.so.1 link"
  ok "library $(basename "$lib"), SONAME libvyrcontrols.so.1"

  [[ -f "$prefix/include/vyr/controls/core/vyrcontrols.h" ]] || fail "container header missing"
  [[ -f "$prefix/include/vyr/platform/com/variant.h" ]] || fail "COM headers missing"
  [[ -z "$(find "$prefix/include/vyr" -type f ! -name '*.h')" ]] || fail "files other than headers installed"
  [[ -z "$(find "$prefix/include/vyr" -path '*/platform/registry*' -o -path '*/controls/frames*')" ]] ||
    fail "private headers installed"
  [[ -n "$(find "$prefix/lib" -maxdepth 4 -path '*/cmake/VyrControls/VyrControlsConfig.cmake')" ]] ||
    fail "no CMake package"
  ok "headers and CMake package"

  local tool
  for tool in vtx vtxctl vyr-reg vyr-regsvr vyr-tlb vyr-demo; do
    [[ -x "$prefix/bin/$tool" ]] || fail "$tool not installed"
    QT_QPA_PLATFORM=offscreen "$prefix/bin/$tool" --help >"$work/help.txt" 2>&1 ||
      fail "$tool --help failed: $(cat "$work/help.txt")"
    grep -qi "^usage:" "$work/help.txt" && grep -qiE "^ *(usage: *)?$tool( |$)" "$work/help.txt" ||
      fail "$tool --help prints no usage"
  done
  ok "every program answers --help"
  for tool in vtx vtxctl; do
    [[ -f "$prefix/share/man/man1/$tool.1" || -f "$prefix/share/man/man1/$tool.1.gz" ]] || fail "no man page for $tool"
  done
  ok "man pages"
}

# check_headers PREFIX: one file including every installed header compiles with nothing but
# the pkg-config flags, so no header reaches outside the installed set; and a program linked
# by those flags alone creates a control through the class factory.
check_headers() {
  local prefix=$1 pcdir cflags libs libdir
  pcdir=$(dirname "$(find "$prefix/lib" -maxdepth 3 -name vyrcontrols.pc | head -n1)")
  [[ -f "$pcdir/vyrcontrols.pc" ]] || fail "no vyrcontrols.pc"
  cflags=$(PKG_CONFIG_PATH="$pcdir" pkg-config --cflags vyrcontrols) || fail "pkg-config --cflags"
  libs=$(PKG_CONFIG_PATH="$pcdir" pkg-config --libs vyrcontrols) || fail "pkg-config --libs"
  ! names_source_tree <<<"$cflags $libs" || fail "pkg-config points into the source tree"
  {
    (cd "$prefix/include/vyr" && find . -name '*.h' | sort | sed 's|^\./|#include "|; s|$|"|')
    cat <<'CPP'
#include <cstdio>
int main()
{
    IClassFactory* factory = nullptr;
    if (FAILED(DllGetClassObject(vyr::controls::CLSID_Button, IID_IClassFactory, (void**)&factory)))
        return 1;
    IUnknown* button = nullptr;
    const HRESULT hr = factory->CreateInstance(nullptr, IID_IUnknown, (void**)&button);
    factory->Release();
    if (FAILED(hr))
        return 2;
    button->Release();
    std::puts("created");
    return 0;
}
CPP
  } >"$work/headers.cpp"
  libdir=$(PKG_CONFIG_PATH="$pcdir" pkg-config --variable=libdir vyrcontrols)
  # shellcheck disable=SC2086
  (cd "$work" && c++ -std=c++20 -fPIC headers.cpp -o headers $cflags $libs) ||
    fail "the installed headers do not compile on their own"
  [[ "$(QT_QPA_PLATFORM=offscreen LD_LIBRARY_PATH="$libdir" "$work/headers")" == created ]] ||
    fail "a program built by pkg-config cannot create a Button"
  ok "installed headers compile alone; pkg-config links a container"
}

# check_container PREFIX: examples/container, copied out of the source tree, built against
# PREFIX alone; it loads the sample layout, hosts it, binds its commands and saves it back
# unchanged. A truncated layout is refused without writing anything.
check_container() {
  local prefix=$1 src="$work/container-src" bld="$work/container-build" exe
  rm -rf "$src" "$bld"
  cp -r "$source_dir/examples/container" "$src"
  local launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S "$src" -B "$bld" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF -DCMAKE_EXPORT_COMPILE_COMMANDS=ON "${launcher[@]}" \
    >"$work/container-configure.log" 2>&1 || { cat "$work/container-configure.log"; fail "configure the example"; }
  grep -q "^VyrControls_DIR:PATH=$prefix/" "$bld/CMakeCache.txt" || fail "VyrControls was not found in $prefix"
  ! names_source_tree "$bld/compile_commands.json" "$bld/build.ninja" || fail "the example's build refers to the source tree"
  cmake --build "$bld" >"$work/container-build.log" 2>&1 || { cat "$work/container-build.log"; fail "build the example"; }
  ok "examples/container built against $prefix alone"

  exe="$bld/vyr-container"
  cp "$src/layout.vyr" "$work/loaded.vyr"
  QT_QPA_PLATFORM=offscreen "$exe" "$work/loaded.vyr" --save "$work/saved.vyr" --png "$work/container.png" \
    >"$work/container.out" 2>&1 || { cat "$work/container.out"; fail "the example failed"; }
  cmp "$work/loaded.vyr" "$work/saved.vyr" || fail "the saved layout differs from the loaded one"
  grep -q '^command Frame\.405 nm$' "$work/container.out" || { cat "$work/container.out"; fail "hosted controls did not register their commands"; }
  [[ -s "$work/container.png" ]] || fail "no picture of the container"
  ok "the example saved the layout it loaded, byte for byte, with $(grep -c '^command ' "$work/container.out") commands bound"

  # Layouts the example must refuse without writing anything: cut short, of a class the
  # library does not have, missing.
  head -c 60 "$src/layout.vyr" >"$work/truncated.vyr"
  { printf '\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b\x0c\x0d\x0e\x0f\x10'; tail -c +17 "$src/layout.vyr"; } >"$work/unknown.vyr"
  local bad
  for bad in truncated unknown missing; do
    if QT_QPA_PLATFORM=offscreen "$exe" "$work/$bad.vyr" --save "$work/none.vyr" >"$work/bad.out" 2>&1; then
      fail "the $bad layout was accepted"
    fi
    [[ ! -e "$work/none.vyr" ]] || fail "the refused $bad layout still wrote a file"
    ok "the $bad layout is refused: $(grep '^vyr-container:' "$work/bad.out")"
  done
}

# check_qtwidget PREFIX: vyr::ControlWidget's library and header and the Designer plugin in
# Qt's plugin folder, whose libraries resolve from where it lies; a program built with the
# pkg-config flags alone loads a form through the installed plugin into a working Button.
check_qtwidget() {
  local prefix=$1 lib plugin pcdir libdir flags
  lib=$(find "$prefix/lib" -maxdepth 2 -name 'libvyrqtwidget.so.1.*' | head -n1)
  [[ -n "$lib" ]] || fail "no libvyrqtwidget.so.1.* under $prefix/lib"
  readelf -d "$lib" | grep -q 'SONAME.*\[libvyrqtwidget\.so\.1\]' || fail "$lib has no SONAME libvyrqtwidget.so.1"
  [[ -f "$prefix/include/vyr/controls/qtwidget/controlwidget.h" ]] || fail "ControlWidget header missing"
  plugin=$(find "$prefix/lib" -path '*/qt6/plugins/designer/libvyrdesigner.so' | head -n1)
  [[ -n "$plugin" ]] || fail "no Designer plugin under $prefix/lib"
  ! ldd "$plugin" | grep -q 'not found' || fail "the plugin's libraries do not resolve: $(ldd "$plugin" | grep 'not found')"
  ok "ControlWidget library and header, Designer plugin in $(dirname "${plugin#"$prefix"/}")"

  pcdir=$(dirname "$(find "$prefix/lib" -maxdepth 3 -name vyrcontrols.pc | head -n1)")
  libdir=$(PKG_CONFIG_PATH="$pcdir" pkg-config --variable=libdir vyrcontrols)
  flags=$(PKG_CONFIG_PATH="$pcdir" pkg-config --cflags --libs vyrcontrols Qt6UiTools) || fail "pkg-config Qt6UiTools"
  cat >"$work/qtwidget.cpp" <<'CPP'
#include "controls/qtwidget/controlwidget.h"
#include <QApplication>
#include <QBuffer>
#include <QUiLoader>
#include <cstdio>
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QUiLoader loader;
    loader.addPluginPath(QString::fromLocal8Bit(argv[1]));
    QBuffer ui;
    ui.setData(R"(<ui version="4.0"><widget class="QWidget" name="Form">
      <widget class="VyrSlider" name="gain"><property name="SliderMode"><enum>VyrSlider::List</enum></property></widget>
      </widget></ui>)");
    ui.open(QIODevice::ReadOnly);
    QWidget* form = loader.load(&ui);
    auto* gain = form ? form->findChild<vyr::ControlWidget*>("gain") : nullptr;
    if (!gain || !gain->hasControl())
        return 1;
    std::printf("%s %d\n", gain->metaObject()->className(), gain->property("SliderMode").toInt());
    return 0;
}
CPP
  # shellcheck disable=SC2086
  (cd "$work" && c++ -std=c++20 -fPIC qtwidget.cpp -o qtwidget $flags -lvyrqtwidget) ||
    fail "a program using ControlWidget does not build from the installed files"
  [[ "$(QT_QPA_PLATFORM=offscreen LD_LIBRARY_PATH="$libdir" "$work/qtwidget" "$(dirname "$plugin")" 2>/dev/null)" == "VyrSlider 2" ]] ||
    fail "QUiLoader did not load a form through the installed plugin"
  ok "QUiLoader builds a form's controls through the installed plugin"
}
