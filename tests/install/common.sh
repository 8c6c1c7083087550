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
  readelf -d "$lib" | grep 'SONAME.*\[libvyrcontrols\.so\.1\]' >/dev/null || fail "$lib has no SONAME libvyrcontrols.so.1"
  [[ -e "$(dirname "$lib")/libvyrcontrols.so.1" ]] || fail "no libvyrcontrols.so.1 link"
  ok "library $(basename "$lib"), SONAME libvyrcontrols.so.1"

  local h
  for h in vyrcontrols.h com/variant.h controlwidget.h commandserver.h vyrwidgets.h; do
    [[ -f "$prefix/include/vyr/$h" ]] || fail "<vyr/$h> missing"
  done
  [[ -z "$(find "$prefix/include/vyr" -type f ! -name '*.h')" ]] || fail "files other than headers installed"
  [[ -z "$(find "$prefix/include/vyr" -mindepth 1 -type d ! -name com)" ]] || fail "headers outside <vyr/...> and <vyr/com/...>"
  ! grep -rq '#include "' "$prefix/include/vyr" || fail "an installed header includes by a source-tree path: $(grep -rl '#include "' "$prefix/include/vyr")"
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

# check_headers PREFIX: one file including every installed header as <vyr/...> compiles with
# nothing but the pkg-config flags, so no header reaches outside the installed set; and a
# program linked by those flags alone creates a control through the class factory.
check_headers() {
  local prefix=$1 pcdir cflags libs libdir
  pcdir=$(dirname "$(find "$prefix/lib" -maxdepth 3 -name vyrcontrols.pc | head -n1)")
  [[ -f "$pcdir/vyrcontrols.pc" ]] || fail "no vyrcontrols.pc"
  [[ -f "$pcdir/vyrqtwidget.pc" ]] || fail "no vyrqtwidget.pc"
  cflags=$(PKG_CONFIG_PATH="$pcdir" pkg-config --cflags vyrqtwidget) || fail "pkg-config --cflags"
  libs=$(PKG_CONFIG_PATH="$pcdir" pkg-config --libs vyrqtwidget) || fail "pkg-config --libs"
  ! names_source_tree <<<"$cflags $libs" || fail "pkg-config points into the source tree"
  {
    (cd "$prefix/include" && find vyr -name '*.h' | sort | sed 's|^|#include <|; s|$|>|')
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

# The library folder of PREFIX (lib/<multiarch> on Debian).
libdir_of() { dirname "$(find "$1/lib" -maxdepth 2 -name 'libvyrcontrols.so.1' | head -n1)"; }

# check_qtwidget PREFIX CLASSES: the Qt widget library and the Designer plugin in Qt's plugin
# folder, whose libraries resolve from where it lies; a program built with the pkg-config
# flags alone, with Qt's default plugin search (QT_PLUGIN_PATH naming only PREFIX's plugin
# folder), gets every Vyr widget of CLASSES (one class name a line) from QUiLoader and loads a
# form into a working Slider.
check_qtwidget() {
  local prefix=$1 classes=$2 lib plugin pcdir libdir flags plugins
  lib=$(find "$prefix/lib" -maxdepth 2 -name 'libvyrqtwidget.so.1.*' | head -n1)
  [[ -n "$lib" ]] || fail "no libvyrqtwidget.so.1.* under $prefix/lib"
  readelf -d "$lib" | grep 'SONAME.*\[libvyrqtwidget\.so\.1\]' >/dev/null || fail "$lib has no SONAME libvyrqtwidget.so.1"
  plugin=$(find "$prefix/lib" -path '*/qt6/plugins/designer/libvyrdesigner.so' | head -n1)
  [[ -n "$plugin" ]] || fail "no Designer plugin under $prefix/lib"
  ! ldd "$plugin" | grep 'not found' >/dev/null || fail "the plugin's libraries do not resolve: $(ldd "$plugin" | grep 'not found')"
  plugins=$(dirname "$(dirname "$plugin")")
  ok "Qt widget library, Designer plugin in ${plugin#"$prefix"/}"

  pcdir=$(dirname "$(find "$prefix/lib" -maxdepth 3 -name vyrqtwidget.pc | head -n1)")
  libdir=$(PKG_CONFIG_PATH="$pcdir" pkg-config --variable=libdir vyrqtwidget)
  flags=$(PKG_CONFIG_PATH="$pcdir" pkg-config --cflags --libs vyrqtwidget Qt6UiTools) || fail "pkg-config vyrqtwidget Qt6UiTools"
  cat >"$work/qtwidget.cpp" <<'CPP'
#include <vyr/controlwidget.h>
#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QUiLoader>
#include <cstdio>
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QUiLoader loader; // Qt's own plugin search: QT_PLUGIN_PATH and Qt's plugin folder
    QFile list(QString::fromLocal8Bit(argv[1]));
    if (!list.open(QIODevice::ReadOnly))
        return 3;
    int made = 0;
    for (const QByteArray& name : list.readAll().split('\n')) {
        if (name.isEmpty())
            continue;
        QWidget* w = loader.createWidget(QString::fromUtf8(name));
        auto* control = qobject_cast<vyr::ControlWidget*>(w);
        if (!control || !control->hasControl() || name != control->metaObject()->className()) {
            std::printf("no %s\n", name.constData());
            return 1;
        }
        delete w;
        ++made;
    }
    QBuffer ui;
    ui.setData(R"(<ui version="4.0"><widget class="QWidget" name="Form">
      <widget class="VyrSlider" name="gain"><property name="SliderMode"><enum>VyrSlider::List</enum></property></widget>
      </widget></ui>)");
    ui.open(QIODevice::ReadOnly);
    QWidget* form = loader.load(&ui);
    auto* gain = form ? form->findChild<vyr::ControlWidget*>("gain") : nullptr;
    if (!gain || !gain->hasControl())
        return 2;
    std::printf("%d %s %d\n", made, gain->metaObject()->className(), gain->property("SliderMode").toInt());
    return 0;
}
CPP
  # shellcheck disable=SC2086
  (cd "$work" && c++ -std=c++20 -fPIC qtwidget.cpp -o qtwidget $flags) ||
    fail "a program using ControlWidget does not build from the installed files"
  local expected got
  expected="$(grep -c . "$classes") VyrSlider 2"
  got=$(QT_QPA_PLATFORM=offscreen QT_PLUGIN_PATH="$plugins" LD_LIBRARY_PATH="$libdir" "$work/qtwidget" "$classes" 2>"$work/qtwidget.err") ||
    { cat "$work/qtwidget.err"; fail "QUiLoader did not create the Vyr widgets through the installed plugin: $got"; }
  [[ "$got" == "$expected" ]] || fail "QUiLoader: $got, expected $expected"
  ok "QUiLoader with Qt's default plugin search creates all $(grep -c . "$classes") Vyr widgets and loads a form"
}

# check_readme PREFIX: every ```cpp block of the README compiles against PREFIX with the
# pkg-config flags alone. A block is a fragment: its #include lines go first, the rest into a
# function whose parameters are the names the README's blocks take from their surroundings.
check_readme() {
  local prefix=$1 pcdir flags n=0 block
  pcdir=$(dirname "$(find "$prefix/lib" -maxdepth 3 -name vyrqtwidget.pc | head -n1)")
  flags=$(PKG_CONFIG_PATH="$pcdir" pkg-config --cflags vyrqtwidget Qt6UiTools) || fail "pkg-config"
  rm -rf "$work/readme" && mkdir -p "$work/readme"
  awk -v dir="$work/readme" '/^```cpp$/ { n++; inside = 1; next } /^```/ { inside = 0 } inside { print > (dir "/block" n ".txt") }' \
    "$source_dir/README.md"
  for block in "$work/readme"/block*.txt; do
    [[ -e "$block" ]] || fail "the README has no C++ blocks"
    {
      grep '^#include' "$block" || true
      cat <<'CPP'
#include <vyr/vyrcontrols.h>
#include <vyr/com/comptr.h>
#include <vyr/com/persist.h>
#include <vyr/com/streamio.h>
#include <QColor>
#include <QDebug>
#include <QFile>
#include <QUiLoader>
using vyr::com::ComPtr;
[[maybe_unused]] static void block(IStream* stream, IVyrSite* site, QWidget* parent, QWidget* parentWidget,
                                   RECT rect, void* window, ICommandServer* server)
{
    (void)stream, (void)site, (void)parent, (void)parentWidget, (void)rect, (void)window, (void)server;
    { // a block may declare a name the surroundings provide
CPP
      grep -v '^#include' "$block"
      echo "}}"
    } >"${block%.txt}.cpp"
    # shellcheck disable=SC2086
    c++ -std=c++20 -fPIC -fsyntax-only -Wall -Wno-unused-variable "${block%.txt}.cpp" $flags 2>"${block%.txt}.err" ||
      { cat "${block%.txt}.cpp" "${block%.txt}.err"; fail "README block $(basename "$block" .txt) does not compile"; }
    n=$((n + 1))
  done
  ok "all $n C++ blocks of the README compile against the installed headers"
}

# check_qt_example PREFIX: examples/qt-widgets, copied out of the source tree, built against
# PREFIX alone (its form through uic); run offscreen, a value typed into its ValueEdit arrives
# as the server's signal and a value set through the server moves its Slider.
check_qt_example() {
  local prefix=$1 src="$work/qt-widgets-src" bld="$work/qt-widgets-build"
  rm -rf "$src" "$bld"
  cp -r "$source_dir/examples/qt-widgets" "$src"
  local launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S "$src" -B "$bld" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF -DCMAKE_EXPORT_COMPILE_COMMANDS=ON "${launcher[@]}" \
    >"$work/qt-widgets-configure.log" 2>&1 || { cat "$work/qt-widgets-configure.log"; fail "configure examples/qt-widgets"; }
  grep -q "^VyrControls_DIR:PATH=$prefix/" "$bld/CMakeCache.txt" || fail "VyrControls was not found in $prefix"
  ! names_source_tree "$bld/compile_commands.json" "$bld/build.ninja" || fail "the Qt example's build refers to the source tree"
  cmake --build "$bld" >"$work/qt-widgets-build.log" 2>&1 || { cat "$work/qt-widgets-build.log"; fail "build examples/qt-widgets"; }
  [[ -f "$bld/vyr-qt-widgets_autogen/include/ui_mainwindow.h" ]] || fail "the form was not compiled by uic"
  ok "examples/qt-widgets built against $prefix alone, its form compiled by uic"
  QT_QPA_PLATFORM=offscreen "$bld/vyr-qt-widgets" --check --png "$work/qt-widgets.png" >"$work/qt-widgets.out" 2>&1 ||
    { cat "$work/qt-widgets.out"; fail "the Qt example's check failed"; }
  grep -q '^valueChanged Gain 4.5$' "$work/qt-widgets.out" || { cat "$work/qt-widgets.out"; fail "the window did not report the typed value"; }
  [[ -s "$work/qt-widgets.png" ]] || fail "no picture of the Qt example"
  ok "the Qt example: $(grep -c '^ok ' "$work/qt-widgets.out") checks passed"
}

# check_vtx_demo PREFIX: the vtx package's own start: with no System Database configured vtx
# says how to configure one and how to try the demo, and fails; `vtx --demo` makes the demo
# database from the installed schema and data in the user's data folder, names it in the
# registry store and renders its diagram offscreen.
check_vtx_demo() {
  local prefix=$1 home="$work/vtx-home" png="$work/vtx-demo.png" db out
  rm -rf "$home"
  mkdir -p "$home"
  [[ -f "$prefix/share/vtx/schema.sql" && -f "$prefix/share/vtx/demo.sql" ]] || fail "no schema and demo data in share/vtx"
  local env=(env -u XDG_DATA_HOME -u VTX_DATA_DIR HOME="$home" VYR_REGISTRY="$home/registry.db"
             QT_QPA_PLATFORM=offscreen VTX_SNAPSHOT_PNG="$png")
  if "${env[@]}" "$prefix/bin/vtx" >"$work/vtx-none.out" 2>&1; then
    fail "vtx with no database configured exited 0: $(cat "$work/vtx-none.out")"
  fi
  grep -q "No System Database is configured" "$work/vtx-none.out" && grep -q "vtx --demo" "$work/vtx-none.out" ||
    fail "vtx with no database configured says: $(cat "$work/vtx-none.out")"
  [[ ! -e "$png" ]] || fail "vtx with no database configured showed a window"
  ok "vtx without a configured database says how to configure one and how to try the demo"

  out=$("${env[@]}" "$prefix/bin/vtx" --demo 2>"$work/vtx-demo.err") || fail "vtx --demo: $(cat "$work/vtx-demo.err")"
  [[ "$out" == "$png" ]] || fail "vtx --demo printed: $out $(cat "$work/vtx-demo.err")"
  db="$home/.local/share/vtx/demo/System.mdb"
  [[ -f "$db" ]] || fail "no demo database in $db"
  "${env[@]}" "$prefix/bin/vyr-reg" query 'HKEY_LOCAL_MACHINE\SOFTWARE\Halvern\CP\Database' /v Path |
    grep -qF "$db" || fail "the registry store does not name the demo database"
  "${env[@]}" "$prefix/bin/vtxctl" show "$db" | grep -F '"can": ["CANK", "CANL", "CANM", "CANB"]' >/dev/null ||
    fail "the demo database does not hold the demo module"
  # The diagram is drawn: PNG of the main window with the detectors' fill (E0E0E0).
  command -v python3 >/dev/null || { ok "vtx --demo rendered $png (not inspected: no python3)"; return; }
  python3 - "$png" <<'PY' || fail "the picture of vtx --demo shows no diagram"
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
assert data[:8] == b"\x89PNG\r\n\x1a\n"
pos, idat, ihdr = 8, b"", None
while pos < len(data):
    n, kind = struct.unpack(">I4s", data[pos:pos + 8])
    body = data[pos + 8:pos + 8 + n]
    if kind == b"IHDR":
        ihdr = struct.unpack(">IIBBBBB", body)
    elif kind == b"IDAT":
        idat += body
    pos += 12 + n
w, h, depth, colour = ihdr[:4]
assert depth == 8 and colour in (2, 6) and w >= 600 and h >= 400, ihdr
bpp = 3 if colour == 2 else 4
raw, stride, prev, rows = zlib.decompress(idat), w * bpp, bytearray(w * bpp), []
for y in range(h):
    f, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
    for i in range(stride):
        a = line[i - bpp] if i >= bpp else 0
        b, c = prev[i], prev[i - bpp] if i >= bpp else 0
        if f == 1: line[i] = (line[i] + a) & 255
        elif f == 2: line[i] = (line[i] + b) & 255
        elif f == 3: line[i] = (line[i] + (a + b) // 2) & 255
        elif f == 4:
            p = a + b - c
            pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
            line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
    rows.append(line)
    prev = line
fill = sum(1 for line in rows for x in range(0, stride, bpp) if line[x:x + 3] == b"\xe0\xe0\xe0")
assert fill > 4 * 1500, fill   # four detector shapes of about 56 x 60
PY
  ok "vtx --demo made $db, named it in the registry store and rendered its diagram"
}
