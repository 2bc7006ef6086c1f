# The Debian package: cpack -G DEB in the build directory makes velnora_<version>_<arch>.deb with
# both programs, the desktop entry, the icon and the example systemd user units, installed
# below /usr. Its dependencies are found by dpkg-shlibdeps from the programs' libraries.
set(CPACK_PACKAGE_NAME velnora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Velnora)
set(CPACK_PACKAGE_CONTACT "Velnora developers <velnora@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "watches web pages and shows the lines that are new since the last check")
set(CPACK_PACKAGE_DESCRIPTION
    "Velnora keeps a tree of web pages, checks them by hand or on a schedule, and reports, line by line, the text that is new on each page since its last check. velnora is the window; velnora-cli checks, lists, searches and exports without one.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The icons are SVG: Qt's SVG plugins come with libqt6svg6, which no program links directly.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
# Japanese text in the window, Qt's own texts in Japanese, and a session bus for notifications.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, qt6-translations-l10n, dbus-user-session")
set(CPACK_GENERATOR DEB)
include(CPack)
