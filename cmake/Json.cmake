# nlohmann/json, header-only (Debian: nlohmann-json3-dev), as the INTERFACE target `json`: the
# unattended program's report and the test server's journal are written through it.
add_library(json INTERFACE)

if(NOT CMAKE_CROSSCOMPILING)
  find_package(nlohmann_json 3 REQUIRED)
  target_link_libraries(json INTERFACE nlohmann_json::nlohmann_json)
  return()
endif()

# A cross build finds nothing of it in its cross root, and the host's /usr/include may not become
# an include folder of the cross compiler: glibc's headers there would stand in for the target's.
# The headers are the same for every target, so the host's nlohmann/ folder alone is copied into
# the build tree and that copy's parent is the include folder.
find_path(ZUV_NLOHMANN_JSON_KATALOG nlohmann/json.hpp
  PATHS /usr/include /usr/local/include
  NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT ZUV_NLOHMANN_JSON_KATALOG)
  message(FATAL_ERROR "nlohmann/json.hpp not found on the build machine: install nlohmann-json3-dev")
endif()
# The major version, as find_package checks it natively: defined in json.hpp itself up to 3.10 and
# in the single-header form, in detail/abi_macros.hpp from 3.11 on.
set(zuv_json_glowna "")
foreach(plik IN ITEMS json.hpp detail/abi_macros.hpp)
  if(EXISTS "${ZUV_NLOHMANN_JSON_KATALOG}/nlohmann/${plik}")
    file(STRINGS "${ZUV_NLOHMANN_JSON_KATALOG}/nlohmann/${plik}" wiersz
         REGEX "^#define NLOHMANN_JSON_VERSION_MAJOR [0-9]+")
    list(APPEND zuv_json_glowna ${wiersz})
  endif()
endforeach()
if(NOT zuv_json_glowna MATCHES "NLOHMANN_JSON_VERSION_MAJOR 3( |$)")
  message(FATAL_ERROR "nlohmann/json 3 is needed; ${ZUV_NLOHMANN_JSON_KATALOG}/nlohmann holds "
                      "another version")
endif()

set(zuv_json_kopia "${CMAKE_BINARY_DIR}/nlohmann-json")
file(REMOVE_RECURSE "${zuv_json_kopia}")
file(COPY "${ZUV_NLOHMANN_JSON_KATALOG}/nlohmann" DESTINATION "${zuv_json_kopia}")
# An update of the host's package configures the build again, and with it the copy.
set_property(DIRECTORY "${PROJECT_SOURCE_DIR}" APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             "${ZUV_NLOHMANN_JSON_KATALOG}/nlohmann/json.hpp")
# SYSTEM, as for a library found natively: its headers are not held to the project's warnings.
target_include_directories(json SYSTEM INTERFACE "${zuv_json_kopia}")
