# Cross-builds for 64-bit ARM (Debian arm64).
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(QUORVEL_DEB_ARCH arm64)
set(QUORVEL_TRIPLET aarch64-linux-gnu)
set(QUORVEL_QEMU qemu-aarch64-static)
include(${CMAKE_CURRENT_LIST_DIR}/cross-debian.cmake)
