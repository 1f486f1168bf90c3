# CLI11, header-only, from Debian's libcli11-dev. A cross build must not search the host's
# /usr/include, so it gets a folder that holds CLI11's headers and nothing else.
find_path(QUORVEL_CLI11_INCLUDE_DIR CLI/CLI.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH
          REQUIRED)
add_library(quorvel_cli11 INTERFACE)
if(CMAKE_CROSSCOMPILING)
    set(quorvel_cli11_folder ${CMAKE_BINARY_DIR}/cli11-include)
    file(MAKE_DIRECTORY ${quorvel_cli11_folder})
    file(CREATE_LINK ${QUORVEL_CLI11_INCLUDE_DIR}/CLI ${quorvel_cli11_folder}/CLI SYMBOLIC)
    target_include_directories(quorvel_cli11 SYSTEM INTERFACE ${quorvel_cli11_folder})
endif()
