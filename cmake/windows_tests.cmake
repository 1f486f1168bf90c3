# Tests of the Windows edition: GoogleTest from Debian's sources, built with the same
# toolchain, and every test program run under wine by ctest.

set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(target gtest gtest_main)
    # See the shim: GoogleTest's thread handshake needs what the win32 thread model lacks.
    target_compile_options(${target} PUBLIC -include ${PROJECT_SOURCE_DIR}/cmake/gtest_notification_shim.h)
    # Not our code: its warnings are not ours to fix.
    target_compile_options(${target} PRIVATE -w)
    set_target_properties(${target} PROPERTIES COMPILE_WARNING_AS_ERROR OFF)
endforeach()

# Every test program runs under wine: the x86_64 ones with wine64, the i686 ones with the
# 32-bit loader in a 32-bit prefix (scripts/test-windows-i686.sh).
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh ${CMAKE_SYSTEM_PROCESSOR})
