# Cross build of the Windows x86-64 module, the simulated host, lwsim and
# the tests with Debian's MinGW-w64 compiler; the tests run under Wine.
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(LWP_MINGW_TRIPLE x86_64-w64-mingw32)
# The POSIX thread model: GoogleTest needs std::mutex.
set(CMAKE_C_COMPILER ${LWP_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LWP_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${LWP_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${LWP_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C++ and GCC runtimes are linked in, so that every file built imports
# system DLLs only: the module installs as one file, and the programs run
# under Wine without the compiler's DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -static)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -static)

# Tests and test discovery run the programs under 64-bit Wine.
find_program(LWP_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(LWP_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${LWP_WINE64})
endif()
