# The Linux program's icon, its AppStream metadata, its install rules and its
# Debian package (`cpack -G DEB` in the build folder). Paths are taken from
# this file's place.
get_filename_component(QUORVEL_PACKAGE_ROOT "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(QUORVEL_DATA_DIR ${QUORVEL_PACKAGE_ROOT}/data)
set(QUORVEL_ICON_SIZES 16 32 48 256)

include(GNUInstallDirs)
# Debian wants 0755 folders whatever the umask of whoever builds.
set(QUORVEL_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${QUORVEL_DIRECTORY_PERMISSIONS})
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${QUORVEL_DIRECTORY_PERMISSIONS})

# The manual page and the changelog go in compressed, without a time stamp
# or a file name in the gzip header, so that two builds give the same bytes.
find_program(QUORVEL_GZIP gzip REQUIRED)
set(QUORVEL_MAN_PAGE ${CMAKE_CURRENT_BINARY_DIR}/quorvel.1.gz)
set(QUORVEL_CHANGELOG ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${QUORVEL_MAN_PAGE}
  COMMAND ${QUORVEL_GZIP} -9n -c ${QUORVEL_DATA_DIR}/quorvel.1 > ${QUORVEL_MAN_PAGE}
  DEPENDS ${QUORVEL_DATA_DIR}/quorvel.1
  COMMENT "Compressing the manual page")
add_custom_command(OUTPUT ${QUORVEL_CHANGELOG}
  COMMAND ${QUORVEL_GZIP} -9n -c ${QUORVEL_DATA_DIR}/changelog > ${QUORVEL_CHANGELOG}
  DEPENDS ${QUORVEL_DATA_DIR}/changelog
  COMMENT "Compressing the changelog")
add_custom_target(quorvel_package_docs ALL DEPENDS ${QUORVEL_MAN_PAGE} ${QUORVEL_CHANGELOG})

set(QUORVEL_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/quorvel)
install(TARGETS quorvel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Where the program looks for them (cmake/linux.cmake); libraries, not programs.
install(TARGETS quorvel_audio_module quorvel_speechd_module quorvel_espeak_module
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/quorvel
  PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
install(FILES ${QUORVEL_DATA_DIR}/${QUORVEL_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES ${QUORVEL_DATA_DIR}/${QUORVEL_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
foreach(size IN LISTS QUORVEL_ICON_SIZES)
  install(FILES ${QUORVEL_DATA_DIR}/icons/hicolor/${size}x${size}/apps/quorvel.png
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${QUORVEL_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${QUORVEL_DATA_DIR}/copyright ${QUORVEL_CHANGELOG} DESTINATION ${QUORVEL_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvel)
set(CPACK_PACKAGE_VENDOR "The Quorvel developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Quorvel developers <developers@quorvel.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "talking clock that announces notable times")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Quorvel is a small desktop clock in one window. Once a minute it looks at\n"
  "the local time, and when the time matches a rule that is switched on -\n"
  "ascending or descending digits such as 12:34, self-similar times such as\n"
  "11:11, hour-minute mirrors, full hours, or one of two custom alarms - it\n"
  "speaks the time through speech-dispatcher, in the voice the user set up\n"
  "there (espeak-ng without it), or plays a WAV sound of your choice.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# dpkg-shlibdeps finds the libraries (libspeechd2 among them); the fallback's
# voices are data it cannot see. Without the daemon the fallback speaks, so it
# is only recommended.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "espeak-ng-data")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "speech-dispatcher, speech-dispatcher-espeak-ng, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
