# The manual page, and the Debian package that `cpack -G DEB` builds from an
# installed desktop build: the executable, the desktop entry, the icon, the
# .vrn file type and the manual page under /usr.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/varnel.1.gz
                   COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/docs/varnel.1 ${CMAKE_BINARY_DIR}/varnel.1
                   COMMAND gzip -9 -n -f ${CMAKE_BINARY_DIR}/varnel.1
                   DEPENDS ${CMAKE_SOURCE_DIR}/docs/varnel.1 VERBATIM)
add_custom_target(varnel_manual ALL DEPENDS ${CMAKE_BINARY_DIR}/varnel.1.gz)
install(FILES ${CMAKE_BINARY_DIR}/varnel.1.gz DESTINATION share/man/man1)

set(CPACK_PACKAGE_NAME varnel)
set(CPACK_PACKAGE_VENDOR "Varnel")
set(CPACK_PACKAGE_CONTACT "Varnel developers <varnel@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "System-dynamics modelling: stock-and-flow diagrams, model programs, graphs")
set(CPACK_PACKAGE_DESCRIPTION
    "Draw a stock-and-flow diagram, write a short model program beside it and see its curves. Models are single .vrn files; the varnel command also runs, checks, sweeps and converts them without a display.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The Qt libraries the executable links (the SVG icon engine comes with
# libqt6svg6) are found by dpkg-shlibdeps; what Qt loads at run time (the
# platform plugins, the SQLite driver of the help window's search), the
# label font and the Russian texts of Qt's own dialogs are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation, libqt6sql6-sqlite")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, shared-mime-info, desktop-file-utils")
set(CPACK_GENERATOR DEB)
include(CPack)
