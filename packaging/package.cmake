# What the installed program needs beside itself, the files a Debian user
# expects of a package (manual page, copyright, changelog, AppStream record,
# README.Debian), and the package itself: cpack -G DEB, from the build folder.

set(VELDRIX_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(VELDRIX_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/veldrix)
set(VELDRIX_APPSTREAM_ID org.example.veldrix)

# Qt's French catalogue is Debian's (qttranslations5-l10n): the installed
# translations/ folder holds links to it instead of copies. The links are
# relative when Qt's folder lies under the install prefix, as /usr/share/qt5
# does under /usr, and absolute otherwise (an install into a private prefix).
set(VELDRIX_QT_QM_NAMES)
foreach(qm ${VELDRIX_QT_QM})
  get_filename_component(name ${qm} NAME)
  list(APPEND VELDRIX_QT_QM_NAMES ${name})
endforeach()
install(CODE "
  set(qtdir \"${QT_TRANSLATIONS_DIR}\")
  set(dir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${VELDRIX_INSTALL_DIR}/translations\")
  file(MAKE_DIRECTORY \"\${dir}\")
  string(FIND \"\${qtdir}/\" \"\${CMAKE_INSTALL_PREFIX}/\" at)
  foreach(name ${VELDRIX_QT_QM_NAMES})
    set(target \"\${qtdir}/\${name}\")
    if(at EQUAL 0)
      file(RELATIVE_PATH target \"\${CMAKE_INSTALL_PREFIX}/${VELDRIX_INSTALL_DIR}/translations\" \"\${target}\")
    endif()
    message(STATUS \"Linking: \${dir}/\${name} -> \${target}\")
    file(REMOVE \"\${dir}/\${name}\")
    file(CREATE_LINK \"\${target}\" \"\${dir}/\${name}\" SYMBOLIC)
  endforeach()")

# The manual page and the changelog are kept as text and compressed the way
# Debian wants them: gzip -9, without name or time stamp.
set(VELDRIX_MAN_GZ ${CMAKE_BINARY_DIR}/packaging/veldrix.1.gz
                   ${CMAKE_BINARY_DIR}/packaging/veldrix-cli.1.gz)
set(VELDRIX_CHANGELOG_GZ ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
foreach(source veldrix.1 veldrix-cli.1 changelog)
  set(output ${CMAKE_BINARY_DIR}/packaging/${source}.gz)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
    COMMAND gzip -9nc ${VELDRIX_PACKAGING_DIR}/${source} > ${output}
    DEPENDS ${VELDRIX_PACKAGING_DIR}/${source}
    COMMENT "Compressing ${source}")
endforeach()
add_custom_target(veldrix_packaging_docs ALL DEPENDS ${VELDRIX_MAN_GZ} ${VELDRIX_CHANGELOG_GZ})

install(FILES ${VELDRIX_MAN_GZ} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${VELDRIX_CHANGELOG_GZ} ${VELDRIX_PACKAGING_DIR}/copyright
              ${VELDRIX_PACKAGING_DIR}/README.Debian
        DESTINATION ${VELDRIX_DOC_DIR})
install(FILES ${VELDRIX_PACKAGING_DIR}/veldrix.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        RENAME ${VELDRIX_APPSTREAM_ID}.metainfo.xml)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME veldrix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Veldrix")
set(CPACK_PACKAGE_CONTACT "Veldrix <veldrix@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configurator of the VELDRIX GPS-to-CAN module")
set(CPACK_PACKAGE_DESCRIPTION [[
Finds the VELDRIX module on the USB serial ports, reads its settings into
one form, checks them and writes them back; it can also restart the module
or return it to its factory settings. French interface, with an English
translation.
.
The command veldrix-cli keeps a module's settings as a TOML profile and
writes a profile back, to one module or to every module plugged in.]])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's French texts come from qttranslations5-l10n; the form's narrow captions
# are drawn in Liberation Sans Narrow.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qttranslations5-l10n, fonts-liberation")
include(CPack)
