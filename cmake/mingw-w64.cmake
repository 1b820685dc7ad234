# Cross-builds for 64-bit Windows with Debian's mingw-w64, and runs what the
# build produces (test discovery, build-time tools, ctest) through wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

# The posix thread model: GoogleTest needs std::mutex, which GCC 12's win32
# model lacks.
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C and C++ runtimes go into every .exe, so wine needs no DLLs from the
# cross compiler's folders.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Debian's wine64 package puts its loader outside PATH.
find_program(QM_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(QM_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${QM_WINE}")
endif()

# GoogleTest is built for the target from Debian's sources (package googletest).
set(QM_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources built with the project")
