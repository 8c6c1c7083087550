# Debian packages of the install components (scripts/package.sh runs CPack with this):
#   libvyrcontrols1     runtime   the control server library and the Qt widget library
#   libvyrcontrols-dev  dev       headers, the .so links, the CMake package and pkg-config files
#   vyr-designer-plugin designer  the Qt Designer plugin (Designer's widget box, QUiLoader)
#   vtx                 tool      vtx, vtxctl, vyr-reg, vyr-regsvr, vyr-demo, man pages,
#                                 desktop entry and icon, schema and demo data (share/vtx)
# Each names the Debian packages of Qt 6 and SQLite it needs.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vyr)
set(CPACK_PACKAGE_VERSION ${VYR_VERSION})
set(CPACK_PACKAGE_VENDOR "Vyr developers")
set(CPACK_PACKAGE_CONTACT "Vyr developers <vyr@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime dev tool)
if(TARGET vyrdesigner)
  list(APPEND CPACK_COMPONENTS_ALL designer)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SOURCE vyr)

set(_vyr_qt ">= 6.4")
set(_vyr_base "libc6 (>= 2.34), libstdc++6 (>= 12), libgcc-s1 (>= 3.0)")
set(_vyr_exact "${VYR_VERSION}-1")

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libvyrcontrols${VYR_SOVERSION})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_DEPENDS
    "${_vyr_base}, libqt6core6 (${_vyr_qt}), libqt6gui6 (${_vyr_qt}), libqt6widgets6 (${_vyr_qt}), libsqlite3-0 (>= 3.37)")
# libvyrqtwidget builds its meta-objects with Qt's private API, which holds only for the Qt
# version it was built with: Debian's Qt provides qt6-base-abi (= <version>) for that.
if(TARGET vyrqtwidget)
  string(APPEND CPACK_DEBIAN_RUNTIME_PACKAGE_DEPENDS ", qt6-base-abi (= ${Qt6Core_VERSION})")
endif()
# A shlibs file for the library's package (the only one with a shared object).
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/packaging/debian/triggers)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Descriptions: the synopsis, then the extended text (CPack indents it).
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION "Vyr control library
The Vyr control server: buttons, frames, sliders, value editors and spectra
displays for instrument software, created through their class identifiers and
driven through their dispatch interfaces, with persisted layouts and command
binding to the host's command server.")

set(CPACK_DEBIAN_DEV_PACKAGE_NAME libvyrcontrols-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "libvyrcontrols${VYR_SOVERSION} (= ${_vyr_exact}), qt6-base-dev (${_vyr_qt})")
set(CPACK_COMPONENT_DEV_DESCRIPTION "Vyr control library - development files
The headers (<vyr/...>), the CMake package (find_package(VyrControls)) and the
pkg-config files (vyrcontrols, vyrqtwidget) for programs that host the Vyr
controls, as COM containers or as Qt widgets.")

# The Designer plugin, a runtime package of its own: QUiLoader needs it to load a form at run
# time, Designer to edit one; neither needs the development files.
set(CPACK_DEBIAN_DESIGNER_PACKAGE_NAME vyr-designer-plugin)
set(CPACK_DEBIAN_DESIGNER_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_DESIGNER_PACKAGE_DEPENDS
    "${_vyr_base}, libvyrcontrols${VYR_SOVERSION} (= ${_vyr_exact}), libqt6core6 (${_vyr_qt}), libqt6gui6 (${_vyr_qt}), libqt6widgets6 (${_vyr_qt})")
set(CPACK_COMPONENT_DESIGNER_DESCRIPTION "Qt Designer plugin of the Vyr controls
Puts every Vyr control into Qt Designer's widget box (group \"Vyr\") and lets
QUiLoader create the Vyr widgets of a form at run time.")

set(CPACK_DEBIAN_TOOL_PACKAGE_NAME vtx)
set(CPACK_DEBIAN_TOOL_PACKAGE_SECTION science)
set(CPACK_DEBIAN_TOOL_PACKAGE_DEPENDS
    "${_vyr_base}, libvyrcontrols${VYR_SOVERSION} (= ${_vyr_exact}), libqt6core6 (${_vyr_qt}), libqt6gui6 (${_vyr_qt}), libqt6widgets6 (${_vyr_qt}), libqt6network6 (${_vyr_qt}), libsqlite3-0 (>= 3.37)")
set(CPACK_COMPONENT_TOOL_DESCRIPTION "detector configuration tool for the Vyr workstation
vtx edits the instrument's System Database so that it describes the fitted
detector module; vtxctl runs its checks and changes from scripts. The package
also holds vyr-reg and vyr-regsvr for the registry store, vyr-demo, a demo
container of every control, and the schema and data of a demo System Database
that vtx --demo makes and opens.")

# Every package carries its copyright and changelog in /usr/share/doc/<package> (installed
# only for a package, not by a plain cmake --install).
foreach(comp IN LISTS CPACK_COMPONENTS_ALL)
  string(TOUPPER ${comp} COMP)
  set(doc ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_DEBIAN_${COMP}_PACKAGE_NAME})
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/debian/copyright DESTINATION ${doc} COMPONENT ${comp} EXCLUDE_FROM_ALL)
  install(FILES ${CMAKE_BINARY_DIR}/package/changelog.Debian.gz DESTINATION ${doc} COMPONENT ${comp} EXCLUDE_FROM_ALL)
endforeach()
# Debian wants the changelog compressed without a time stamp (gzip -n).
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/package/changelog.Debian.gz
    COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/packaging/debian/changelog > ${CMAKE_BINARY_DIR}/package/changelog.Debian.gz
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/debian/changelog)
add_custom_target(vyr_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/package/changelog.Debian.gz)

include(CPack)
