# Cross-builds the Qt-free core, the batch front end and the core's tests as static 64-bit Windows
# programs with mingw-w64, and runs them under wine (ctest and gtest_discover_tests use the
# emulator). The "-posix" compilers are the ones whose C++ library has std::thread and std::mutex.
#   cmake --preset mingw && cmake --build --preset mingw && ctest --preset mingw
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(UVLAMP_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${UVLAMP_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${UVLAMP_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${UVLAMP_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${UVLAMP_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static programs need none of the compiler's DLLs beside them, under wine or on a station PC.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

find_program(UVLAMP_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(NOT UVLAMP_WINE64)
    find_program(UVLAMP_WINE64 NAMES wine64 wine)
endif()
if(UVLAMP_WINE64)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${UVLAMP_WINE64})
endif()
