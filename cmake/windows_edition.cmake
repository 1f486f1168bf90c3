# Settings of the Windows edition: one statically linked program per architecture that runs on
# Windows 2000 and later. Included by the top-level CMakeLists when cross-building.
if(NOT DEFINED QUORVEL_WINDOWS_SUBSYSTEM_VERSION)
    message(FATAL_ERROR "Configure the Windows edition with a toolchain file from cmake/toolchains")
endif()

# The headers then hide most functions that Windows 2000 lacks; the import check catches the rest.
add_compile_definitions(_WIN32_WINNT=0x0500 WINVER=0x0500 UNICODE _UNICODE WIN32_LEAN_AND_MEAN
                        NOMINMAX)
# No libstdc++, libgcc or winpthread DLL beside the program; the release programs without
# their symbols, which would double their size. Each function and datum in a section of its own,
# so that the linker leaves out whatever the program never uses.
add_compile_options(-ffunction-sections -fdata-sections)
add_link_options(-static -static-libgcc -static-libstdc++ -Wl,--gc-sections
                 $<$<CONFIG:Release,MinSizeRel>:-s>)
string(REPLACE "." ";" quorvel_subsystem_parts "${QUORVEL_WINDOWS_SUBSYSTEM_VERSION}")
list(GET quorvel_subsystem_parts 0 quorvel_subsystem_major)
list(GET quorvel_subsystem_parts 1 quorvel_subsystem_minor)
math(EXPR quorvel_subsystem_minor "${quorvel_subsystem_minor}")
add_link_options(
    -Wl,--major-subsystem-version,${quorvel_subsystem_major}
    -Wl,--minor-subsystem-version,${quorvel_subsystem_minor}
    -Wl,--major-os-version,${quorvel_subsystem_major}
    -Wl,--minor-os-version,${quorvel_subsystem_minor}
)
