# Cross build of the Windows edition with Debian's mingw-w64, i686, for Windows 2000 and later.
# The -win32 compilers are named explicitly: the plain names follow update-alternatives and may
# pick the posix thread model, whose runtime imports functions that only Vista has.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The PE header's OS and subsystem version: 5.00 is the first Windows of this architecture.
set(QUORVEL_WINDOWS_SUBSYSTEM_VERSION 5.00)
