# Cross-compiling for 64-bit Windows with Debian's mingw-w64. The POSIX-threads
# variant of the compilers: C++20's std::thread and std::mutex need it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KOLVEX_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KOLVEX_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KOLVEX_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KOLVEX_MINGW_TRIPLE}-windres)

# The target's libraries are mingw's own; CMakeLists.txt finds raylib's prefix
# (cmake/Raylib.cmake).
set(CMAKE_FIND_ROOT_PATH /usr/${KOLVEX_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
