# Cross build for 64-bit Windows with Debian's mingw-w64 (packages g++-mingw-w64-x86-64-posix
# and binutils-mingw-w64-x86-64). The posix thread model gives std::thread and std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZUV_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZUV_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZUV_MINGW_TRIPLET}-g++-posix)
set(CMAKE_ASM_COMPILER ${ZUV_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_RC_COMPILER ${ZUV_MINGW_TRIPLET}-windres)

# Libraries and headers come from the cross root only; programs run on the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${ZUV_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
