# Cross build for 64-bit ARM Linux with Debian's cross compiler (package g++-aarch64-linux-gnu).
# The programs run on the build machine under qemu-user (package qemu-user), which finds the
# target's C and C++ runtime under the cross root.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(ZUV_AARCH64_TRIPLET aarch64-linux-gnu)
set(CMAKE_C_COMPILER ${ZUV_AARCH64_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${ZUV_AARCH64_TRIPLET}-g++)
set(CMAKE_ASM_COMPILER ${ZUV_AARCH64_TRIPLET}-gcc)

# Libraries and headers come from the cross root only; programs run on the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${ZUV_AARCH64_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The build's own programs (the package checker) and the tests run under qemu.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L /usr/${ZUV_AARCH64_TRIPLET})
