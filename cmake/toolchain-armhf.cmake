# Cross-builds for 32-bit ARM with hardware floating point (Debian armhf).
set(CMAKE_SYSTEM_PROCESSOR arm)
set(QUORVEL_DEB_ARCH armhf)
set(QUORVEL_TRIPLET arm-linux-gnueabihf)
set(QUORVEL_QEMU qemu-arm-static)
include(${CMAKE_CURRENT_LIST_DIR}/cross-debian.cmake)
