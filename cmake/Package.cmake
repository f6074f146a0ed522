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
# show there. The window's icon needs Qt's SVG icon engine: without it the
# title bar shows the window manager's symbol. The program runs well without
# the rest, which Debian therefore recommends: Qt's German texts for the
# dialogs (English without), the font every caption of the window was
# measured in (another font, and the window grows to fit), Qt's plugin for
# Wayland desktops (XWayland without).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-liberation2, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Vornamen für deine Wuzels vorschlagen, sammeln und zählen
Tavolin schlägt Vornamen für die Wuzels des Lebenssimulationsspiels vor:
weiblich, männlich oder egal, auf Wunsch mit einem bestimmten Anfang, und
legt sie in die Zwischenablage. Eigene Namen kommen in die Datenbank, eine
Namen-Datenbank anderer Spieler lässt sich mit der eigenen verschmelzen, und
eine Statistik zeigt Anfangsbuchstaben und Längen der Namen.
.
Jeder Benutzer hat seine eigenen Namen in ~/.local/share/tavolin/ und seine
Einstellungen in ~/.config/tavolin/.")
include(CPack)
