# Installing and packaging: the game (and the laboratory, when it is built) into bin/, its data
# into share/brikka/, a menu entry, icons drawn by the game's own drawing code and a man page.
# `cpack -G DEB` in the build folder makes a Debian package of the same files. Included last,
# so that every program it installs is already defined.
include(GNUInstallDirs)

# An installed game finds its data from its own folder, wherever the prefix is.
file(RELATIVE_PATH BRIKKA_INSTALLED_DATA ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_DATADIR}/brikka)
set_property(SOURCE ${CMAKE_SOURCE_DIR}/src/app/runtime.cpp APPEND PROPERTY
             COMPILE_DEFINITIONS BRIKKA_INSTALLED_DATA="${BRIKKA_INSTALLED_DATA}")

# The icon drawer is the only program that writes PNG, so only it links SDL2_image.
pkg_check_modules(SDL_IMAGE REQUIRED IMPORTED_TARGET SDL2_image)
target_link_libraries(makeIcons PRIVATE PkgConfig::SDL_IMAGE)

foreach(program brikka brikka-lab)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

if(BRIKKA_BUILD_DATA)
  install(DIRECTORY ${DATA_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/brikka)
  install(FILES packaging/brikka.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

  # Icons for the hicolor theme.
  set(ICON_DIR ${CMAKE_BINARY_DIR}/icons)
  set(ICON_OUTPUTS)
  foreach(size 48 128 256)
    list(APPEND ICON_OUTPUTS ${ICON_DIR}/${size}x${size}/apps/brikka.png)
  endforeach()
  add_custom_command(OUTPUT ${ICON_OUTPUTS}
    COMMAND makeIcons ${CMAKE_SOURCE_DIR}/Storage ${ICON_DIR}
    DEPENDS makeIcons ${SHIPPED_STORAGE} VERBATIM)
  install(DIRECTORY ${ICON_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

  # Debian keeps man pages compressed.
  set(MAN_PAGE ${CMAKE_BINARY_DIR}/man/brikka.6)
  add_custom_command(OUTPUT ${MAN_PAGE}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/packaging/brikka.6 ${MAN_PAGE}
    COMMAND gzip -9 -n -f ${MAN_PAGE}
    DEPENDS packaging/brikka.6 VERBATIM)
  install(FILES ${MAN_PAGE}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

  add_custom_target(brikka_install_files ALL DEPENDS ${ICON_OUTPUTS} ${MAN_PAGE}.gz)

  if(TARGET brikka)
    add_test(NAME install_run_installed
             COMMAND bash ${CMAKE_SOURCE_DIR}/tests/install/installed.sh ${CMAKE_BINARY_DIR})
    add_test(NAME install_debian_package
             COMMAND bash ${CMAKE_SOURCE_DIR}/tests/install/package.sh ${CMAKE_BINARY_DIR})
    set_tests_properties(install_run_installed install_debian_package PROPERTIES
                         RUN_SERIAL TRUE TIMEOUT 180)
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
# The font, music and sounds ship inside the package; only the libraries come from Debian.
# dpkg-shlibdeps reads them off the programs, with versions (MPI too, for the laboratory).
find_program(DPKG_SHLIBDEPS dpkg-shlibdeps)
if(DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libsdl2-2.0-0, libsdl2-ttf-2.0-0, libsdl2-mixer-2.0-0")
endif()
include(CPack)
