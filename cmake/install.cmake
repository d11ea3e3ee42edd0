# Where `cmake --install` and the Debian packages put Quillet. Two components, two packages:
# `cli` (quillet-cli, which links only the C++ runtime, for servers without a display) and
# `window` (quillet with its desktop entry, MIME types, icons and AppStream metadata).
include(GNUInstallDirs)
include(${CMAKE_CURRENT_LIST_DIR}/docs.cmake)

set(quillet_install ${PROJECT_SOURCE_DIR}/resources/install)
set(quillet_man1 ${CMAKE_INSTALL_MANDIR}/man1)

install(TARGETS quillet-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT cli)
install(FILES ${QUILLET_DOCS}/quillet-cli.1.gz DESTINATION ${quillet_man1} COMPONENT cli)
# Where each shell's own packages put their completions.
install(FILES ${QUILLET_BASH_COMPLETION}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions COMPONENT cli)
install(FILES ${QUILLET_ZSH_COMPLETION}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions COMPONENT cli)
install(FILES ${QUILLET_FISH_COMPLETION}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d COMPONENT cli)

install(TARGETS quillet RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT window)

# A stripped program loses the compilers' notes too, as Debian's own packages do: they only name
# the compiler versions the build ran.
if(CMAKE_OBJCOPY)
  foreach(program quillet-cli:cli quillet:window)
    string(REPLACE ":" ";" program ${program})
    list(GET program 0 name)
    list(GET program 1 component)
    install(CODE "if(CMAKE_INSTALL_DO_STRIP)
  execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${name}\"
    COMMAND_ERROR_IS_FATAL ANY)
endif()" COMPONENT ${component})
  endforeach()
endif()
install(FILES ${QUILLET_DOCS}/quillet.1.gz DESTINATION ${quillet_man1} COMPONENT window)
install(FILES ${quillet_install}/quillet.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT window)
install(FILES ${QUILLET_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT window)
install(FILES ${quillet_install}/quillet-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME quillet.xml COMPONENT window)
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/quillet.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT window)
# Each kind of file's icon, named after its MIME type, as the table of file kinds gives them.
set(quillet_file_kinds ${PROJECT_SOURCE_DIR}/src/objects/file_kinds.h)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${quillet_file_kinds})
file(STRINGS ${quillet_file_kinds} quillet_kind_lines
     REGEX "^ +\\{\"\\.[A-Za-z0-9]+\", \"[^\"]*\", \"[^\"]+\", \"[^\"]+\"\\},$")
file(STRINGS ${quillet_file_kinds} quillet_kind_starts REGEX "^ +\\{\"\\.")
list(LENGTH quillet_kind_lines kinds_read)
list(LENGTH quillet_kind_starts kinds_listed)
if(kinds_read EQUAL 0 OR NOT kinds_read EQUAL kinds_listed)
  message(FATAL_ERROR "${quillet_file_kinds}: each file kind must stand on one line of its own")
endif()
foreach(line IN LISTS quillet_kind_lines)
  string(REGEX MATCH "\"([^\"]+)\", \"([^\"]+)\"\\},$" found "${line}")
  string(REPLACE "/" "-" icon_name "${CMAKE_MATCH_1}")
  install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/${CMAKE_MATCH_2}
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/mimetypes
          RENAME ${icon_name}.svg COMPONENT window)
endforeach()

# Each package's documentation under its own name, as Debian has it.
foreach(component cli window)
  set(package quillet)
  if(component STREQUAL cli)
    set(package quillet-cli)
  endif()
  install(FILES ${quillet_install}/copyright ${QUILLET_DOCS}/changelog.gz
                ${PROJECT_SOURCE_DIR}/README.md
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${component})
endforeach()
# What --format=json writes, for the programs that read it.
install(FILES ${PROJECT_SOURCE_DIR}/docs/output.schema.json
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quillet-cli COMPONENT cli)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillet)
set(CPACK_PACKAGE_VENDOR "Harlund")
set(CPACK_PACKAGE_CONTACT "The Quillet developers <support@quillet.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Only the installed copies are stripped; the build keeps its debug information.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL cli window)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE quillet)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.quillet.example/")
# The licence allows no changes, so by Debian's rules the packages belong to non-free.
set(CPACK_DEBIAN_PACKAGE_SECTION non-free/devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link, with their versions, as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

set(CPACK_DEBIAN_CLI_PACKAGE_NAME quillet-cli)
set(CPACK_DEBIAN_CLI_DESCRIPTION
    "list and compare object and backup files from the command line
quillet-cli lists the objects of an object file (.fob) or a backup file
(.fbk), from the text directory at the start of the file, or compares two
such files: the objects equal in both, those of each file with no equal in
the other, what changed between them, or an upgrade analysis of two files
against their base. The rows come out as text, CSV, JSON, an HTML report or
filter lines, and as a PDF printout on request.

It is meant for developers who keep objects in such files, and for scripts
and build servers that check them: the exit status tells whether the files
differ, and it needs no display and no graphical libraries.")

set(CPACK_DEBIAN_WINDOW_PACKAGE_NAME quillet)
set(CPACK_DEBIAN_WINDOW_DESCRIPTION
    "viewer and comparer for object and backup files
Quillet lists the objects of object files (.fob) and backup files (.fbk) in
a window: it reads the text directory at the start of each file (type, ID,
name, version list, date, time and data size of each object) and shows it as
a list to filter by type, sort by any column, save and print. Two files load
side by side and compare on the attributes you tick.

It is meant for developers who want to see at a glance what such a file
holds, or what differs between two of them. The package quillet-cli does the
same from the command line.")
# What the window needs at run time that it does not link, so dpkg-shlibdeps cannot see it:
# the Qt platform plugins (input methods, platform themes), the SVG plugins that draw its
# icons, and Liberation Mono, the stand-in for the printout's Courier New.
set(CPACK_DEBIAN_WINDOW_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6, fonts-liberation")

include(CPack)
