# Installing and packaging: the game (and the laboratory, when it is built) into bin/, its data
# into share/brikka/, a menu entry, icons drawn by the game's own drawing code and a man page.
# `cpack -G DEB` in the build folder makes two Debian packages of the same files: brikka (the
# game and its data) and brikka-lab (the laboratory, which uses the game's data), so that only
# those who train and measure bots install Open MPI. Included last, so that every program it
# installs is already defined.
include(GNUInstallDirs)

# An installed game finds its data from its own folder, wherever the prefix is.
file(RELATIVE_PATH BRIKKA_INSTALLED_DATA ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_DATADIR}/brikka)
set_property(SOURCE ${CMAKE_SOURCE_DIR}/src/app/runtime.cpp APPEND PROPERTY
             COMPILE_DEFINITIONS BRIKKA_INSTALLED_DATA="${BRIKKA_INSTALLED_DATA}")

# The icon drawer is the only program that writes PNG, so only it links SDL2_image.
pkg_check_modules(SDL_IMAGE REQUIRED IMPORTED_TARGET SDL2_image)
target_link_libraries(makeIcons PRIVATE PkgConfig::SDL_IMAGE)

if(TARGET brikka)
  install(TARGETS brikka RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT game)
endif()
if(TARGET brikka-lab)
  install(TARGETS brikka-lab RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT lab)
endif()

if(BRIKKA_BUILD_DATA)
  install(DIRECTORY ${DATA_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/brikka COMPONENT game)
  install(DIRECTORY ${LOCALE_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/locale COMPONENT game)
  install(FILES packaging/brikka.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
          COMPONENT game)

  # Icons for the hicolor theme.
  set(ICON_DIR ${CMAKE_BINARY_DIR}/icons)
  set(ICON_OUTPUTS)
  foreach(size 48 128 256)
    list(APPEND ICON_OUTPUTS ${ICON_DIR}/${size}x${size}/apps/brikka.png)
  endforeach()
  add_custom_command(OUTPUT ${ICON_OUTPUTS}
    COMMAND makeIcons ${CMAKE_SOURCE_DIR}/Storage ${ICON_DIR}
    DEPENDS makeIcons ${SHIPPED_STORAGE} VERBATIM)
  install(DIRECTORY ${ICON_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor
          COMPONENT game)

  # Debian keeps man pages compressed.
  set(MAN_PAGE ${CMAKE_BINARY_DIR}/man/brikka.6)
  add_custom_command(OUTPUT ${MAN_PAGE}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/packaging/brikka.6 ${MAN_PAGE}
    COMMAND gzip -9 -n -f ${MAN_PAGE}
    DEPENDS packaging/brikka.6 VERBATIM)
  install(FILES ${MAN_PAGE}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6 COMPONENT game)

  add_custom_target(brikka_install_files ALL DEPENDS ${ICON_OUTPUTS} ${MAN_PAGE}.gz)

  if(TARGET brikka)
    add_test(NAME install_run_installed
             COMMAND bash ${CMAKE_SOURCE_DIR}/tests/install/installed.sh ${CMAKE_BINARY_DIR})
    add_test(NAME install_debian_package
             COMMAND bash ${CMAKE_SOURCE_DIR}/tests/install/package.sh ${CMAKE_BINARY_DIR})
    # Two packages, each stripped and read by dpkg-shlibdeps: minutes on a loaded machine.
    set_tests_properties(install_run_installed install_debian_package PROPERTIES
                         RUN_SERIAL TRUE TIMEOUT 300)
  endif()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brikka)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Brikka developers <brikka@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "falling-block puzzle game with a trainable computer opponent")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_STRIP_FILES ON)
# One package per component; the laboratory's asks for the game's of the same version.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL game)
if(TARGET brikka-lab)
  list(APPEND CPACK_COMPONENTS_ALL lab)
endif()
set(CPACK_DEBIAN_GAME_PACKAGE_NAME brikka)
set(CPACK_DEBIAN_LAB_PACKAGE_NAME brikka-lab)
set(CPACK_COMPONENT_GAME_DESCRIPTION
    "falling-block puzzle game with a trainable computer opponent")
set(CPACK_COMPONENT_LAB_DESCRIPTION
    "laboratory for Brikka's computer players: play, measure, train and tune them headless")
set(CPACK_COMPONENT_LAB_DEPENDS game)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
# The font, music and sounds ship inside the game's package; only the libraries come from
# Debian. dpkg-shlibdeps reads them off each package's programs, with versions (MPI only for
# the laboratory).
find_program(DPKG_SHLIBDEPS dpkg-shlibdeps)
if(DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_GAME_PACKAGE_DEPENDS "libsdl2-2.0-0, libsdl2-ttf-2.0-0, libsdl2-mixer-2.0-0")
  set(CPACK_DEBIAN_LAB_PACKAGE_DEPENDS
      "libsdl2-2.0-0, libsdl2-ttf-2.0-0, libsdl2-mixer-2.0-0, libsdl2-image-2.0-0, libopenmpi3")
endif()
include(CPack)
