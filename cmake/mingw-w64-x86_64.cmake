# Cross build for 64-bit Windows 10 and later with Debian's mingw-w64 g++ (posix threads,
# package g++-mingw-w64-x86-64-posix). The programs and tests run here under Wine
# (package wine64) through wine-run.sh.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_VERSION 10.0)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZZ_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZZ_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZZ_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ZZ_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZZ_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every program and test runs under Wine, in a Wine prefix of the build folder's own.
set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh ${CMAKE_BINARY_DIR}/wine-prefix)
