# Shared by the ARM toolchain files: Debian's cross compiler for QUORVEL_TRIPLET, the sysroot
# that scripts/sysroot.sh makes for QUORVEL_DEB_ARCH, and QUORVEL_QEMU to run what is built.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_C_COMPILER ${QUORVEL_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${QUORVEL_TRIPLET}-g++)

get_filename_component(CMAKE_SYSROOT ${CMAKE_CURRENT_LIST_DIR}/../build-sysroot-${QUORVEL_DEB_ARCH}/root ABSOLUTE)
if(NOT IS_DIRECTORY ${CMAKE_SYSROOT}/usr/include/SDL)
  message(FATAL_ERROR "No sysroot at ${CMAKE_SYSROOT}: run scripts/sysroot.sh ${QUORVEL_DEB_ARCH}")
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The host's pkg-config reads only the target's .pc files and prefixes their paths.
set(ENV{PKG_CONFIG_SYSROOT_DIR} ${CMAKE_SYSROOT})
set(ENV{PKG_CONFIG_LIBDIR} ${CMAKE_SYSROOT}/usr/lib/${QUORVEL_TRIPLET}/pkgconfig:${CMAKE_SYSROOT}/usr/share/pkgconfig)

# Tests (and GoogleTest's discovery at build time) run under user-mode emulation; -L makes qemu
# find the target's loader and libraries, and open other absolute paths there first.
set(CMAKE_CROSSCOMPILING_EMULATOR ${QUORVEL_QEMU} -L ${CMAKE_SYSROOT})
