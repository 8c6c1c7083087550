# What `cmake --install` puts under the prefix, and the Debian packages CPack makes of it:
#   lib/libvyrcontrols.so.1 (+ .so link)                the control server
#   include/vyr/controls/core/vyrcontrols.h, include/vyr/platform/com/*.h
#                                                       what a container compiles against
#   lib/cmake/VyrControls/, lib/pkgconfig/vyrcontrols.pc
#   lib/libvyrqtwidget.so.1, include/vyr/controls/qtwidget/controlwidget.h, the Designer plugin
#   bin/vtx vtxctl vyr-reg vyr-regsvr vyr-tlb vyr-demo, their man pages, the desktop entry and icon
# Components: runtime (the library), dev (headers, link, package files), tool (the programs).
# Rules are given only for the targets this build has (a narrowed VYR_PARTS builds fewer).
set(VYR_VERSION 1.0.0)
set(VYR_SOVERSION 1)

include(GNUInstallDirs)
set(VYR_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/vyr)
set(VYR_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/VyrControls)
set(VYR_INSTALL_PKGCONFIGDIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# Installed programs find the library relative to themselves (bin/../lib), in any prefix.
file(RELATIVE_PATH _vyr_bin_to_lib /${CMAKE_INSTALL_BINDIR} /${CMAKE_INSTALL_LIBDIR})

if(TARGET vyrcontrols)
  set_target_properties(vyrcontrols PROPERTIES VERSION ${VYR_VERSION} SOVERSION ${VYR_SOVERSION})
  install(TARGETS vyrcontrols
          LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_SKIP)
  install(TARGETS vyrcontrols
          LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev NAMELINK_ONLY)

  # The container header and the portable COM headers it builds on: the whole folder, so
  # that headers added there later are installed too.
  install(FILES ${PROJECT_SOURCE_DIR}/controls/core/vyrcontrols.h
          DESTINATION ${VYR_INSTALL_INCLUDEDIR}/controls/core COMPONENT dev)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/platform/com/
          DESTINATION ${VYR_INSTALL_INCLUDEDIR}/platform/com COMPONENT dev
          FILES_MATCHING PATTERN "*.h")

  # CMake package: VyrControls::vyrcontrols, an imported target written by hand so that it
  # names only the installed library and headers (the build's static parts stay inside).
  include(CMakePackageConfigHelpers)
  configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/VyrControlsConfig.cmake.in
      ${CMAKE_BINARY_DIR}/package/VyrControlsConfig.cmake
      INSTALL_DESTINATION ${VYR_INSTALL_CMAKEDIR}
      PATH_VARS VYR_INSTALL_INCLUDEDIR CMAKE_INSTALL_LIBDIR)
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
endif()

# vyr::ControlWidget (libvyrqtwidget, runtime; its header, dev) and the Qt Designer plugin (dev),
# in Qt's plugin folder under the prefix: lib/<arch>/qt6/plugins/designer for /usr, where
# Designer and QUiLoader look; elsewhere add <prefix>/lib/qt6/plugins to QT_PLUGIN_PATH.
if(TARGET vyrqtwidget)
  set_target_properties(vyrqtwidget PROPERTIES VERSION ${VYR_VERSION} SOVERSION ${VYR_SOVERSION}
                        INSTALL_RPATH "\$ORIGIN")
  install(TARGETS vyrqtwidget
          LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_SKIP)
  install(TARGETS vyrqtwidget
          LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev NAMELINK_ONLY)
  install(FILES ${PROJECT_SOURCE_DIR}/controls/qtwidget/controlwidget.h
          DESTINATION ${VYR_INSTALL_INCLUDEDIR}/controls/qtwidget COMPONENT dev)
endif()
if(TARGET vyrdesigner)
  set(VYR_INSTALL_DESIGNERDIR ${CMAKE_INSTALL_LIBDIR}/qt6/plugins/designer)
  file(RELATIVE_PATH _vyr_plugin_to_lib /${VYR_INSTALL_DESIGNERDIR} /${CMAKE_INSTALL_LIBDIR})
  set_target_properties(vyrdesigner PROPERTIES INSTALL_RPATH "\$ORIGIN/${_vyr_plugin_to_lib}")
  install(TARGETS vyrdesigner LIBRARY DESTINATION ${VYR_INSTALL_DESIGNERDIR} COMPONENT dev)
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
