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

# The C and C++ runtime support libraries (and winpthreads) linked in, so that the program is
# one file that imports only system libraries.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# CMake switches the linker back to shared libraries after a library it found as a file; the
# runtime libraries the compiler adds at the end must still be the static ones.
set(CMAKE_LINK_SEARCH_END_STATIC ON)

# Test programs run under Wine; scripts/test-windows sets the prefix it uses.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)

# -O2 rather than -O3 for a release: mingw-w64's GCC 12 at -O3 inlines std::string concatenation
# into a false -Wrestrict warning (GCC bug 105329), and the program gains nothing from -O3.
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of a release build")
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of a release build")
