# The program is built in layers, one library each, that depend on one another downwards only:
#
#   common -> platform (interfaces) -> model -> buttons, i18n, store, performance -> macros
#   platform -> device -> download -> app -> windows
#   platform back-ends (virtual; posix or win32) implement the platform interfaces.
#
# A layer's headers are reachable only through the layer: each has an include folder of its own
# under the build tree holding links to just its headers, and a library sees the folders of the
# layers it depends on. A file that includes a header of a layer above it fails to compile, so
# the build itself proves the arrows point down.

set(NX7_LAYER_INCLUDE_ROOT ${CMAKE_BINARY_DIR}/layers)
file(REMOVE_RECURSE ${NX7_LAYER_INCLUDE_ROOT})

# nx7_warnings(TARGET): the project's warnings, errors when NX7_WERROR is on (CI).
function(nx7_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-unused-parameter)
  if(NX7_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# nx7_layer(NAME [DEPENDS layer...] [LIBS system-lib...]): declares a layer. Sources and headers
# are added by the folders with nx7_layer_sources.
function(nx7_layer name)
  cmake_parse_arguments(L "" "" "DEPENDS;LIBS" ${ARGN})
  add_library(${name} STATIC)
  set(include_dir ${NX7_LAYER_INCLUDE_ROOT}/${name})
  file(MAKE_DIRECTORY ${include_dir})
  target_include_directories(${name} PUBLIC ${include_dir})
  target_link_libraries(${name} PUBLIC ${L_DEPENDS} ${L_LIBS})
  nx7_warnings(${name})
endfunction()

# nx7_layer_sources(LAYER file...): files of the current folder (paths relative to it) that belong
# to LAYER. Sources are compiled into it; headers are linked into its include folder under their
# path below src/.
function(nx7_layer_sources layer)
  file(RELATIVE_PATH folder ${CMAKE_SOURCE_DIR}/src ${CMAKE_CURRENT_SOURCE_DIR})
  foreach(file ${ARGN})
    if(file MATCHES "\\.h$")
      set(link ${NX7_LAYER_INCLUDE_ROOT}/${layer}/${folder}/${file})
      get_filename_component(link_dir ${link} DIRECTORY)
      file(MAKE_DIRECTORY ${link_dir})
      file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR}/${file} ${link} SYMBOLIC)
    else()
      target_sources(${layer} PRIVATE ${file})
    endif()
  endforeach()
endfunction()
