# The Debian package (scripts/package): the system-wide layout under /usr,
# staged with DESTDIR so that the install sees its real prefix, and left as
# tavolin_<version>_amd64.deb in the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavolin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Zendrik <zendrik@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.example.org/tavolin/)
# The libraries come from the program itself; what it loads by name does not
# show there: Qt's German texts for the dialogs, the font every caption of
# the window fits in, and Qt's plugin for Wayland desktops.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, fonts-liberation2, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Vornamen für deine Wuzels vorschlagen, sammeln und zählen
Tavolin schlägt Vornamen für die Wuzels des Lebenssimulationsspiels vor:
weiblich, männlich oder egal, auf Wunsch mit einem bestimmten Anfang, und
legt sie in die Zwischenablage. Eigene Namen kommen in die Datenbank, eine
Namen-Datenbank anderer Spieler lässt sich mit der eigenen verschmelzen, und
eine Statistik zeigt Anfangsbuchstaben und Längen der Namen.
.
Jeder Benutzer hat seine eigenen Namen und Einstellungen in
~/.local/share/tavolin/.")
include(CPack)
