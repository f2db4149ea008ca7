# Installs the game where Debian puts a game's files, and packages it as a .deb with CPack.
set(QUORVEL_LAUNCHER_DIR games)
set(QUORVEL_PROGRAM_DIR lib/games/quorvel)
set(QUORVEL_DATA_DIR share/games/quorvel)

# The launcher finds the program and data relative to itself, so any prefix (or a staging
# root) works.
file(RELATIVE_PATH QUORVEL_LAUNCHER_TO_PROGRAM /${QUORVEL_LAUNCHER_DIR} /${QUORVEL_PROGRAM_DIR}/quorvel)
file(RELATIVE_PATH QUORVEL_LAUNCHER_TO_DATA /${QUORVEL_LAUNCHER_DIR} /${QUORVEL_DATA_DIR})
configure_file(packaging/quorvel.in launcher/quorvel @ONLY)

install(TARGETS quorvel RUNTIME DESTINATION ${QUORVEL_PROGRAM_DIR})
install(DIRECTORY data/ DESTINATION ${QUORVEL_DATA_DIR})
install(PROGRAMS ${CMAKE_CURRENT_BINARY_DIR}/launcher/quorvel DESTINATION ${QUORVEL_LAUNCHER_DIR})
install(FILES packaging/quorvel.desktop DESTINATION share/applications)
install(FILES packaging/quorvel.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES packaging/quorvel.png DESTINATION share/icons/hicolor/64x64/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_CONTACT "Quorvel developers <developers@quorvel.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "timed arithmetic bingo game for small touch screens")
set(CPACK_PACKAGE_DESCRIPTION "Twenty-five questions, one minute, a 5 x 5 card of answers: tap the \
square that holds the answer. Bingos and a blackout score; each user keeps their own high scores.")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
# Loaded at run time, never linked: Mesa's drivers, the software renderer among them.
set(QUORVEL_RUNTIME_DEPENDS "libgl1-mesa-dri")
if(CMAKE_CROSSCOMPILING)
  # dpkg-shlibdeps knows only this machine's packages, so the target's are named here.
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${QUORVEL_DEB_ARCH})
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6, libgcc-s1, libstdc++6, libsdl1.2debian, libegl1, libgles1, libx11-6, ${QUORVEL_RUNTIME_DEPENDS}")
else()
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS ${QUORVEL_RUNTIME_DEPENDS})
endif()
include(CPack)
