# What `cmake --install` puts where, and the Debian package `cpack -G DEB` builds
# from it. The desktop files live in data/.

set(N4_DATA ${CMAKE_SOURCE_DIR}/data)
set(N4_APP_ID jp.numbers4marvo.Numbers4Marvo)

install(TARGETS numbers4marvo numbers4marvo-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${N4_DATA}/${N4_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${N4_DATA}/${N4_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${N4_DATA}/icons/numbers4marvo.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${N4_DATA}/icons/png/numbers4marvo-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME numbers4marvo.png)
endforeach()
install(FILES ${N4_DATA}/completion/numbers4marvo-cli
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

# Manual pages, compressed as Debian keeps them.
set(N4_MAN_PAGES)
foreach(page numbers4marvo.1 numbers4marvo-cli.1)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND gzip -9n -c ${N4_DATA}/man/${page} > ${CMAKE_BINARY_DIR}/man/${page}.gz
    DEPENDS ${N4_DATA}/man/${page} VERBATIM)
  list(APPEND N4_MAN_PAGES ${CMAKE_BINARY_DIR}/man/${page}.gz)
endforeach()
add_custom_target(n4-man ALL DEPENDS ${N4_MAN_PAGES})
install(FILES ${N4_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_PACKAGE_NAME numbers4marvo)
set(CPACK_PACKAGE_VENDOR "Numbers4Marvo")
set(CPACK_PACKAGE_CONTACT "Numbers4Marvo <numbers4marvo@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "Numbers 4 lottery draw history analyses and prediction (ナンバーズ4マーヴォ)")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "\
A desktop program for followers of the Japanese lottery game Numbers 4.
It keeps the history of past draws in an encrypted database, studies it in
fifteen coloured analysis tables and predicts digits for the next draw. The
interface is Japanese. numbers4marvo-cli imports histories and exports every
analysis as TSV, JSON or HTML.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# Libraries through dpkg-shlibdeps; what the program loads by name, by hand:
# the Japanese font and Qt's Japanese button texts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, qt6-translations-l10n")
include(CPack)
