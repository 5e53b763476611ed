# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (package mingw-w64).
#
# The "posix" compilers: their C++ library has std::thread and the clocks behind
# it. Programs are run under Wine where CMake or CTest need to run them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLE}-windres)

# Headers and libraries come from the MinGW tree only, and from the libraries that
# scripts/windows-libraries built (CLIMADESK_WINDOWS_LIBRARIES), first; build tools
# from the host.
set(CMAKE_FIND_ROOT_PATH ${CLIMADESK_WINDOWS_LIBRARIES} /usr/${MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR wine)
