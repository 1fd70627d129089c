# Where everything goes under the prefix, and the Debian package built from the same rules.
include(GNUInstallDirs)

set(KAVRO_APP_ID org.kavro.LoggerUtility)
set(KAVRO_RES ${PROJECT_SOURCE_DIR}/resources)

# kavro, its manual page and completion are installed beside its sources.
install(TARGETS t580-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(KAVRO_BUILD_GUI)
  install(TARGETS kavro-utility RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

install(FILES ${KAVRO_RES}/desktop/${KAVRO_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${KAVRO_RES}/desktop/${KAVRO_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${KAVRO_RES}/desktop/icons/${KAVRO_APP_ID}.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${KAVRO_RES}/desktop/icons/${KAVRO_APP_ID}-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME ${KAVRO_APP_ID}.png)
endforeach()

# udev reads ${prefix}/lib/udev/rules.d when the prefix is /usr (merged /usr on Debian 12).
install(FILES ${KAVRO_RES}/udev/70-kavro-logger.rules DESTINATION lib/udev/rules.d)

# Manual pages ship compressed, as Debian expects; gzip -n keeps the package reproducible.
find_program(KAVRO_GZIP gzip)
set(KAVRO_MAN_PAGES ${KAVRO_RES}/man/kavro-utility.1 ${KAVRO_RES}/man/t580-sim.1)
foreach(page ${KAVRO_MAN_PAGES})
  get_filename_component(name ${page} NAME)
  if(KAVRO_GZIP)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${name}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
      COMMAND ${KAVRO_GZIP} -9n -c ${page} > ${CMAKE_BINARY_DIR}/man/${name}.gz
      DEPENDS ${page} VERBATIM)
    list(APPEND KAVRO_MAN_OUTPUTS ${CMAKE_BINARY_DIR}/man/${name}.gz)
  else()
    install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
endforeach()
if(KAVRO_MAN_OUTPUTS)
  add_custom_target(kavro_man_pages ALL DEPENDS ${KAVRO_MAN_OUTPUTS})
  install(FILES ${KAVRO_MAN_OUTPUTS} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

set(KAVRO_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/kavro-utility)
install(FILES ${KAVRO_RES}/debian/copyright DESTINATION ${KAVRO_DOC_DIR})
if(KAVRO_GZIP)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/changelog.gz
    COMMAND ${KAVRO_GZIP} -9n -c ${KAVRO_RES}/debian/changelog > ${CMAKE_BINARY_DIR}/changelog.gz
    DEPENDS ${KAVRO_RES}/debian/changelog VERBATIM)
  add_custom_target(kavro_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/changelog.gz)
  install(FILES ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${KAVRO_DOC_DIR})
endif()

# The Debian package: cpack -G DEB in the build folder (scripts/package.sh does it all).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kavro-utility)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Kavro)
set(CPACK_PACKAGE_CONTACT "Kavro Logger Utility developers <dev@kavro.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "companion program of the T-580 GPS track logger")
set(CPACK_PACKAGE_DESCRIPTION
"Connects to a T-580 handheld GPS track logger over its USB-serial bridge
(CP210x or Prolific), reads and changes how it records, downloads its
2 MB log memory into one track file per trip, converts tracks to KML,
GPX, NMEA and text in a chosen time zone, geotags camera photos against
a track and updates the logger's firmware while keeping its Bluetooth
address.
.
The package holds the window (kavro-utility), the command line (kavro),
a simulated logger on a pseudo-terminal (t580-sim) and a udev rule that
gives the user at the seat access to the logger's bridge.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://kavro.org/logger-utility)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Named time zones are read from the system's zone database.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "tzdata")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gpsbabel")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${KAVRO_RES}/debian/postinst)
include(CPack)
