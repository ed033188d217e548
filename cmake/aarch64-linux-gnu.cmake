# Cross-builds the Linux tool for 64-bit ARM (aarch64) with Debian's
# g++-aarch64-linux-gnu; its programs run on the build machine under
# qemu-aarch64 (qemu-user), with the target's C and C++ runtimes from
# /usr/aarch64-linux-gnu.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(CORVANE_CROSS_PREFIX aarch64-linux-gnu)
set(CMAKE_C_COMPILER ${CORVANE_CROSS_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${CORVANE_CROSS_PREFIX}-g++)

# Libraries and headers come from the cross environment only; programs run
# on the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${CORVANE_CROSS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
