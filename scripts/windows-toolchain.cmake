# Cross-building for 64-bit Windows with Debian's MinGW-w64 (the posix thread model, for std::thread).
# The libraries are looked for only under TRAJEKTON_WIN_PREFIXES (the cache of scripts/build-windows.sh)
# and the compiler's own folder, never among the build machine's.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(TRAJEKTON_WIN_PREFIXES "$ENV{TRAJEKTON_WIN_PREFIXES}" CACHE STRING "Where the cross-built libraries are")
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${TRAJEKTON_WIN_PREFIXES})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The test programs run under wine (gtest_discover_tests, ctest).
set(CMAKE_CROSSCOMPILING_EMULATOR wine)

# Static programs: nothing beside them but the DLLs every Windows has.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
