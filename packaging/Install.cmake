# What `cmake --install` puts where, and the Debian package made from it by CPack
# (packaging/build-deb.sh). The program finds its manual at ../share/tallion from its own folder
# (src/help/UserManualPath.h), so both keep to bin/ and share/ under the prefix.

install(TARGETS tallion tallion-plant RUNTIME DESTINATION bin)
install(FILES ${TALLION_MANUAL_PDF} DESTINATION share/tallion)
# tallion-plant as a service (installed disabled), and the options file the package's post-install
# copies to /etc/default/tallion-plant when there is none.
install(FILES ${CMAKE_SOURCE_DIR}/packaging/tallion-plant.service DESTINATION lib/systemd/system)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/tallion-plant.default DESTINATION share/tallion)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/tallion.desktop DESTINATION share/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/icons/tallion.svg DESTINATION share/icons/hicolor/scalable/apps)
foreach(size 48 128 256)
    install(FILES ${CMAKE_SOURCE_DIR}/packaging/icons/tallion-${size}.png
            DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME tallion.png)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tallion)
set(CPACK_PACKAGE_VENDOR "Kestrane Tallion Systems LTD")
set(CPACK_PACKAGE_CONTACT "Kestrane Tallion Systems LTD <service@kestrane.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "carcass classification station for a classification probe and a weight scale")
set(CPACK_PACKAGE_DESCRIPTION "Keeps the serial link with a carcass classification probe, decodes its \
measurements, pairs them with carcass weights from a scale, shows each carcass, appends it to a \
TAB-separated log file, prints it, summarises logs by class, sends the probe its commands and \
loads new firmware into it.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY tallion)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The shared libraries (Qt, CUPS, libpq) are found by dpkg-shlibdeps; their packages also carry the X11
# window-system and CUPS print plugins that Qt loads at run time. Help › User Manual wants the
# desktop's opener and a PDF viewer.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The post-install makes tallion-plant's system user.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "adduser")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, evince | pdf-viewer")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_SOURCE_DIR}/packaging/debian/postinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
include(CPack)
