# The one version of the program, nx7ctl and the packages: the VERSION file at the top of the tree.
# Code and resource scripts read it from the generated nx7_version.h (target nx7_version).
set(nx7_version_file ${CMAKE_SOURCE_DIR}/VERSION)
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${nx7_version_file})

# The resource's four-part numbers take the three parts and a zero.
set(NX7_VERSION ${PROJECT_VERSION})
set(NX7_VERSION_QUAD "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
set(NX7_VERSION_QUAD_TEXT "${PROJECT_VERSION}.0")
set(nx7_version_include ${CMAKE_BINARY_DIR}/generated/version)
configure_file(${CMAKE_SOURCE_DIR}/cmake/nx7_version.h.in ${nx7_version_include}/nx7_version.h @ONLY)

add_library(nx7_version INTERFACE)
target_include_directories(nx7_version INTERFACE ${nx7_version_include})
