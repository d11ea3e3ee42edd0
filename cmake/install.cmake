# Where `cmake --install` and the Debian package put Quillet: the two programs, the desktop
# entry, the MIME types of .fob and .fbk files, and the program icon, in the standard places.
include(GNUInstallDirs)

install(TARGETS quillet quillet-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/resources/install/quillet.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/install/quillet-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME quillet.xml)
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/quillet.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/file1.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/mimetypes
        RENAME application-x-quillet-fob.svg)
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/file2.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/mimetypes
        RENAME application-x-quillet-fbk.svg)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_PACKAGE_NAME quillet)
set(CPACK_PACKAGE_VENDOR "Harlund")
set(CPACK_PACKAGE_CONTACT "Quillet developers <support@quillet.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Viewer and comparer for object and backup files")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6widgets6, libqt6printsupport6, libqt6svg6, qt6-qpa-plugins, fonts-liberation")
include(CPack)
