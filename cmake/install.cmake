# What `cmake --install` puts under the prefix, and the Debian packages CPack makes of it
# (<libdir> is lib/<multiarch triplet> where the system has one, as Debian's lib/x86_64-linux-gnu):
#   <libdir>/libvyrcontrols.so.1, libvyrqtwidget.so.1 (+ .so links)   the libraries
#   include/vyr/vyrcontrols.h, controlwidget.h, commandserver.h, com/*.h  included as <vyr/...>
#   <libdir>/cmake/VyrControls/, <libdir>/pkgconfig/vyrcontrols.pc, vyrqtwidget.pc
#   <Qt's plugin folder>/designer/libvyrdesigner.so                     the Designer plugin
#   bin/vtx vtxctl vyr-reg vyr-regsvr vyr-tlb vyr-demo, their man pages, the desktop entry and icon
# Components: runtime (the libraries), dev (headers, links, package files), designer (the
# Designer plugin), tool (the programs).
# Rules are given only for the targets this build has (a narrowed VYR_PARTS builds fewer).
set(VYR_VERSION 1.0.0)
set(VYR_SOVERSION 1)

# Debian keeps libraries in the multiarch folder; CMake knows the triplet from the compiler.
# GNUInstallDirs chooses it only for the prefix /usr at configure time, while the packages are
# made from any build, so the folder is set here for every prefix.
if(CMAKE_LIBRARY_ARCHITECTURE AND (NOT DEFINED CACHE{CMAKE_INSTALL_LIBDIR} OR CMAKE_INSTALL_LIBDIR STREQUAL "lib"))
  set(CMAKE_INSTALL_LIBDIR lib/${CMAKE_LIBRARY_ARCHITECTURE} CACHE PATH "Object code libraries (lib/<multiarch>)" FORCE)
endif()
include(GNUInstallDirs)
set(VYR_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/vyr)
set(VYR_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/VyrControls)
set(VYR_INSTALL_PKGCONFIGDIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# Qt's plugin folder relative to Qt's prefix (lib/x86_64-linux-gnu/qt6/plugins on Debian): the
# folder `qtpaths6 --plugin-dir` names, where Designer and QUiLoader look by default.
if(NOT DEFINED CACHE{VYR_INSTALL_QTPLUGINDIR})
  set(_vyr_plugindir ${CMAKE_INSTALL_LIBDIR}/qt6/plugins)
  find_program(VYR_QTPATHS NAMES qtpaths6 qtpaths HINTS ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS})
  if(VYR_QTPATHS)
    execute_process(COMMAND ${VYR_QTPATHS} --query QT_INSTALL_PREFIX OUTPUT_VARIABLE _vyr_qtprefix
                    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    execute_process(COMMAND ${VYR_QTPATHS} --query QT_INSTALL_PLUGINS OUTPUT_VARIABLE _vyr_qtplugins
                    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(_vyr_qtprefix AND _vyr_qtplugins MATCHES "^${_vyr_qtprefix}/")
      file(RELATIVE_PATH _vyr_plugindir ${_vyr_qtprefix} ${_vyr_qtplugins})
    endif()
  endif()
  set(VYR_INSTALL_QTPLUGINDIR ${_vyr_plugindir} CACHE PATH "Qt's plugin folder, relative to the prefix")
endif()

# Installed programs find the library relative to themselves (bin/../lib), in any prefix.
file(RELATIVE_PATH _vyr_bin_to_lib /${CMAKE_INSTALL_BINDIR} /${CMAKE_INSTALL_LIBDIR})

include(${CMAKE_CURRENT_LIST_DIR}/publicheaders.cmake)

if(TARGET vyrcontrols)
  set_target_properties(vyrcontrols PROPERTIES VERSION ${VYR_VERSION} SOVERSION ${VYR_SOVERSION})
  install(TARGETS vyrcontrols
          LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_SKIP)
  install(TARGETS vyrcontrols
          LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev NAMELINK_ONLY)

  # The container header and the portable COM headers it builds on: the whole folder, so
  # that headers added there later are public too.
  vyr_public_header(controls/core/vyrcontrols.h vyrcontrols.h)
  file(GLOB _vyr_com_headers RELATIVE ${PROJECT_SOURCE_DIR} CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/platform/com/*.h)
  foreach(h IN LISTS _vyr_com_headers)
    get_filename_component(name ${h} NAME)
    vyr_public_header(${h} com/${name})
  endforeach()

  # CMake package: VyrControls::vyrcontrols, an imported target written by hand so that it
  # names only the installed library and headers (the build's static parts stay inside).
  include(CMakePackageConfigHelpers)
  configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/VyrControlsConfig.cmake.in
      ${CMAKE_BINARY_DIR}/package/VyrControlsConfig.cmake
      INSTALL_DESTINATION ${VYR_INSTALL_CMAKEDIR}
      PATH_VARS CMAKE_INSTALL_INCLUDEDIR CMAKE_INSTALL_LIBDIR)
  write_basic_package_version_file(${CMAKE_BINARY_DIR}/package/VyrControlsConfigVersion.cmake
      VERSION ${VYR_VERSION} COMPATIBILITY SameMajorVersion)
  install(FILES ${CMAKE_BINARY_DIR}/package/VyrControlsConfig.cmake
                ${CMAKE_BINARY_DIR}/package/VyrControlsConfigVersion.cmake
          DESTINATION ${VYR_INSTALL_CMAKEDIR} COMPONENT dev)

  # pkg-config: paths relative to the .pc file, so that any prefix (or an unpacked package
  # root) works without rewriting it.
  file(RELATIVE_PATH VYR_PC_TO_PREFIX /${VYR_INSTALL_PKGCONFIGDIR} /)
  string(REGEX REPLACE "/$" "" VYR_PC_TO_PREFIX "${VYR_PC_TO_PREFIX}")
  configure_file(${CMAKE_CURRENT_LIST_DIR}/vyrcontrols.pc.in ${CMAKE_BINARY_DIR}/package/vyrcontrols.pc @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/package/vyrcontrols.pc
          DESTINATION ${VYR_INSTALL_PKGCONFIGDIR} COMPONENT dev)
  if(TARGET vyrqtwidget)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/vyrqtwidget.pc.in ${CMAKE_BINARY_DIR}/package/vyrqtwidget.pc @ONLY)
    install(FILES ${CMAKE_BINARY_DIR}/package/vyrqtwidget.pc
            DESTINATION ${VYR_INSTALL_PKGCONFIGDIR} COMPONENT dev)
  endif()
endif()

# libvyrqtwidget (runtime; its headers, dev) and the Qt Designer plugin (designer), in Qt's
# plugin folder under the prefix: for /usr the folder Designer and QUiLoader search; elsewhere
# add <prefix>/<VYR_INSTALL_QTPLUGINDIR> to QT_PLUGIN_PATH.
if(TARGET vyrqtwidget)
  set_target_properties(vyrqtwidget PROPERTIES VERSION ${VYR_VERSION} SOVERSION ${VYR_SOVERSION}
                        INSTALL_RPATH "\$ORIGIN")
  install(TARGETS vyrqtwidget
          LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_SKIP)
  install(TARGETS vyrqtwidget
          LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev NAMELINK_ONLY)
  vyr_public_header(controls/core/host.h host.h)
  vyr_public_header(controls/qtwidget/controlwidget.h controlwidget.h)
  vyr_public_header(controls/qtwidget/commandserver.h commandserver.h)
  vyr_public_header_file(${VYR_WIDGETS_DIR}/install/vyr/vyrwidgets.h vyrwidgets.h)
endif()
if(TARGET vyrdesigner)
  set(VYR_INSTALL_DESIGNERDIR ${VYR_INSTALL_QTPLUGINDIR}/designer)
  file(RELATIVE_PATH _vyr_plugin_to_lib /${VYR_INSTALL_DESIGNERDIR} /${CMAKE_INSTALL_LIBDIR})
  set_target_properties(vyrdesigner PROPERTIES INSTALL_RPATH "\$ORIGIN/${_vyr_plugin_to_lib}")
  install(TARGETS vyrdesigner LIBRARY DESTINATION ${VYR_INSTALL_DESIGNERDIR} COMPONENT designer)
endif()
if(TARGET vyrcontrols)
  vyr_write_public_headers()
endif()

# The programs, with a man page each made from its --help (when help2man is there),
# compressed as Debian keeps them.
find_program(VYR_HELP2MAN help2man)
set(_vyr_man_pages)
foreach(tool vtx vtxctl vyr-reg vyr-regsvr vyr-tlb vyr-demo)
  if(NOT TARGET ${tool})
    continue()
  endif()
  set_target_properties(${tool} PROPERTIES INSTALL_RPATH "\$ORIGIN/${_vyr_bin_to_lib}")
  install(TARGETS ${tool} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT tool)
  if(VYR_HELP2MAN AND NOT VYR_FUZZ)
    set(page ${CMAKE_BINARY_DIR}/man/${tool}.1.gz)
    set(include_file ${PROJECT_SOURCE_DIR}/packaging/man/${tool}.h2m)
    set(include_args)
    set(include_deps)
    if(EXISTS ${include_file})
      set(include_args --include=${include_file})
      set(include_deps ${include_file})
    endif()
    add_custom_command(OUTPUT ${page}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
        COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
                ${VYR_HELP2MAN} --no-info --no-discard-stderr --version-string=${VYR_VERSION}
                ${include_args} --output=${CMAKE_BINARY_DIR}/man/${tool}.1 $<TARGET_FILE:${tool}>
        COMMAND gzip -9nf ${CMAKE_BINARY_DIR}/man/${tool}.1
        DEPENDS ${tool} ${include_deps}
        COMMENT "Man page of ${tool}" VERBATIM)
    list(APPEND _vyr_man_pages ${page})
    install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT tool)
  endif()
endforeach()
if(_vyr_man_pages)
  add_custom_target(vyr_man_pages ALL DEPENDS ${_vyr_man_pages})
endif()

if(TARGET vtx)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/vtx.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT tool)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/vtx.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT tool)
endif()

include(${CMAKE_CURRENT_LIST_DIR}/debian.cmake)
