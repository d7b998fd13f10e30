# `cmake --install`: the application folder under <prefix>/lib/vantorel, a launcher on the PATH,
# a desktop entry and the icon in the hicolor theme.
include(GNUInstallDirs)
# A fixed place beside bin/, so that the launcher finds it from its own location.
set(VANTOREL_INSTALL_APPDIR lib/vantorel)

install(TARGETS vantorel evc RUNTIME DESTINATION ${VANTOREL_INSTALL_APPDIR})
install(TARGETS Res Form LIBRARY DESTINATION ${VANTOREL_INSTALL_APPDIR})
install(FILES ${VANTOREL_APP_DIR}/Help.html DESTINATION ${VANTOREL_INSTALL_APPDIR})
install(DIRECTORY ${VANTOREL_APP_DIR}/Pictures DESTINATION ${VANTOREL_INSTALL_APPDIR})
# An empty Config/ marks the shipped folder; the launcher gives every user a writable one.
install(DIRECTORY DESTINATION ${VANTOREL_INSTALL_APPDIR}/Config)

install(PROGRAMS ${CMAKE_CURRENT_SOURCE_DIR}/vantorel-launcher.sh DESTINATION ${CMAKE_INSTALL_BINDIR}
        RENAME vantorel)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/vantorel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/generated/icons DESTINATION ${CMAKE_INSTALL_DATADIR})
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/vantorel-icon.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME vantorel.svg)
