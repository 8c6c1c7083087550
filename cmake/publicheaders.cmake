# The public headers under one include root, as programs include them: <vyr/vyrcontrols.h>,
# <vyr/controlwidget.h>, <vyr/commandserver.h>, <vyr/com/variant.h> ... Each header of the
# source tree is copied into <build>/include/vyr with its includes of other public headers
# rewritten to that form; an include of a header outside the set stops the configuration, so
# no installed header reaches into the build's private parts. The copies are made again when a
# header changes (it is a configure dependency).
set(VYR_PUBLIC_INCLUDE_DIR ${CMAKE_BINARY_DIR}/include)

# vyr_public_header(SOURCE_PATH NAME): SOURCE_PATH (relative to the source root) is included
# as <vyr/NAME>. Call vyr_write_public_headers() once all are named.
set_property(GLOBAL PROPERTY VYR_PUBLIC_HEADERS "")
function(vyr_public_header source name)
  set_property(GLOBAL APPEND PROPERTY VYR_PUBLIC_HEADERS "${source}=${name}")
endfunction()

# vyr_public_header_file(ABSOLUTE_PATH NAME): a header made by the build (already in its
# final form), installed with the others.
set_property(GLOBAL PROPERTY VYR_GENERATED_PUBLIC_HEADERS "")
function(vyr_public_header_file path name)
  set_property(GLOBAL APPEND PROPERTY VYR_GENERATED_PUBLIC_HEADERS "${path}=${name}")
endfunction()

function(vyr_write_public_headers)
  get_property(headers GLOBAL PROPERTY VYR_PUBLIC_HEADERS)
  set(map)
  foreach(pair IN LISTS headers)
    string(REPLACE "=" ";" pair "${pair}")
    list(GET pair 0 source)
    list(GET pair 1 name)
    list(APPEND sources ${source})
    set(_name_${source} ${name})
  endforeach()
  foreach(source IN LISTS sources)
    set(file ${PROJECT_SOURCE_DIR}/${source})
    set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
    file(READ ${file} text)
    string(REGEX MATCHALL "#include \"[^\"]+\"" includes "${text}")
    foreach(inc IN LISTS includes)
      string(REGEX REPLACE "#include \"([^\"]+)\"" "\\1" path "${inc}")
      if(NOT DEFINED _name_${path})
        message(FATAL_ERROR "${source}: the public header includes ${path}, which is not public")
      endif()
      string(REPLACE "${inc}" "#include <vyr/${_name_${path}}>" text "${text}")
    endforeach()
    # Written only when it differs, so that an unchanged header keeps its time stamp.
    set(out ${VYR_PUBLIC_INCLUDE_DIR}/vyr/${_name_${source}})
    file(WRITE ${out}.new "${text}")
    configure_file(${out}.new ${out} COPYONLY)
    file(REMOVE ${out}.new)
    get_filename_component(dir ${_name_${source}} DIRECTORY)
    install(FILES ${out} DESTINATION ${VYR_INSTALL_INCLUDEDIR}/${dir} COMPONENT dev)
  endforeach()
  get_property(generated GLOBAL PROPERTY VYR_GENERATED_PUBLIC_HEADERS)
  foreach(pair IN LISTS generated)
    string(REPLACE "=" ";" pair "${pair}")
    list(GET pair 0 path)
    list(GET pair 1 name)
    get_filename_component(dir ${name} DIRECTORY)
    install(FILES ${path} DESTINATION ${VYR_INSTALL_INCLUDEDIR}/${dir} COMPONENT dev)
  endforeach()
endfunction()
