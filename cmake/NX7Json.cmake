# nlohmann_json::nlohmann_json: Debian's header-only JSON library (nlohmann-json3-dev).
if(WIN32)
  # The cross build may not see /usr/include as a whole (the host's C headers would shadow
  # MinGW's), so it gets a folder of its own that holds only the library's headers.
  find_path(NX7_NLOHMANN_JSON_INCLUDE nlohmann/json.hpp PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  if(NOT NX7_NLOHMANN_JSON_INCLUDE)
    message(FATAL_ERROR "nlohmann/json.hpp not found: install nlohmann-json3-dev (scripts/install-deps.sh)")
  endif()
  set(nx7_json_include ${CMAKE_BINARY_DIR}/third_party/include)
  file(MAKE_DIRECTORY ${nx7_json_include})
  file(CREATE_LINK ${NX7_NLOHMANN_JSON_INCLUDE}/nlohmann ${nx7_json_include}/nlohmann SYMBOLIC)
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
  set_target_properties(nlohmann_json::nlohmann_json PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${nx7_json_include})
else()
  find_package(nlohmann_json 3.10 REQUIRED)
endif()
