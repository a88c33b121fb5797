# What an installation on a freedesktop system holds beside the programs: the examples, help,
# desktop entry, MIME package, icons, AppStream metadata, man pages, shell completion and the
# package's documents; and the Debian package CPack makes of it (scripts/kantoria-package).
include(GNUInstallDirs)
set(KANTORIA_DATADIR ${CMAKE_INSTALL_DATADIR}/kantoria)
set(KANTORIA_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/kantoria)

install(FILES examples/MORKA.ZNL DESTINATION ${KANTORIA_DATADIR}/examples)
# The sample documents, and what copies them for a user's first start (app/first_run_sample.h).
install(DIRECTORY examples/samples/ DESTINATION ${KANTORIA_DATADIR}/samples)
install(PROGRAMS scripts/kantoria-make-sample DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/kantoria)
if(TARGET kantoria-extract)
  install(TARGETS kantoria-extract RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/kantoria)
endif()
install(FILES resources/package/kantoria-cli.bash
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME kantoria-cli)
install(FILES resources/package/copyright DESTINATION ${KANTORIA_DOCDIR})

# Debian wants the changelog and the man pages compressed with gzip -9, without a time stamp.
function(kantoria_gzip source target)
  get_filename_component(folder ${target} DIRECTORY)
  add_custom_command(OUTPUT ${target}.gz
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
                     COMMAND ${CMAKE_COMMAND} -E copy ${source} ${target}
                     COMMAND gzip -9nf ${target}
                     DEPENDS ${source} VERBATIM)
endfunction()

configure_file(resources/package/changelog.in changelog @ONLY)
kantoria_gzip(${PROJECT_BINARY_DIR}/changelog ${PROJECT_BINARY_DIR}/package/changelog)
set(kantoria_generated ${PROJECT_BINARY_DIR}/package/changelog.gz)
install(FILES ${PROJECT_BINARY_DIR}/package/changelog.gz DESTINATION ${KANTORIA_DOCDIR})

# Man pages made from the programs' own --help and --version, which answer without a display.
find_program(KANTORIA_HELP2MAN help2man)
function(kantoria_man_page program summary)
  if(NOT KANTORIA_HELP2MAN OR CMAKE_CROSSCOMPILING OR KANTORIA_SANITIZE OR KANTORIA_FUZZ)
    return()
  endif()
  set(page ${PROJECT_BINARY_DIR}/man/${program}.1)
  add_custom_command(OUTPUT ${page}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
                     COMMAND ${KANTORIA_HELP2MAN} --no-info --section=1 --name=${summary}
                             --output=${page} $<TARGET_FILE:${program}>
                     DEPENDS ${program} VERBATIM)
  kantoria_gzip(${page} ${PROJECT_BINARY_DIR}/package/${program}.1)
  set(kantoria_generated ${kantoria_generated} ${PROJECT_BINARY_DIR}/package/${program}.1.gz
      PARENT_SCOPE)
  install(FILES ${PROJECT_BINARY_DIR}/package/${program}.1.gz
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
kantoria_man_page(kantoria-cli "the Kantoria catalogue from the command line")
if(KANTORIA_BUILD_GUI)
  kantoria_man_page(kantoria "a desktop catalogue of documents")
endif()
add_custom_target(kantoria_package_files ALL DEPENDS ${kantoria_generated})

if(KANTORIA_BUILD_GUI)
  install(FILES resources/help/index.html DESTINATION ${KANTORIA_DATADIR}/help)
  install(FILES resources/kantoria.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES resources/kantoria-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
          RENAME kantoria.xml)
  install(DIRECTORY resources/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
  install(FILES resources/icons/kantoria.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  set(metainfo org.example.kantoria.Kantoria.metainfo.xml)
  configure_file(resources/package/${metainfo} ${metainfo} @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/${metainfo} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kantoria)
set(CPACK_PACKAGE_VENDOR "The Kantoria developers")
set(CPACK_PACKAGE_CONTACT "The Kantoria developers <maintainers@kantoria.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop catalogue of documents with a Japanese interface")
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Kantoria keeps a catalogue of documents that lie anywhere on disk, each with a\n"
  "title and a comment of the user's choosing, grouped by folder in a tree; a\n"
  "double-click opens a document with its program, and the automatic search\n"
  "registers whole folders at once.\n"
  ".\n"
  "The catalogue is one .ZNL text file, byte-compatible with catalogues written\n"
  "by the earlier Windows program. The window speaks Japanese; kantoria-cli\n"
  "reads, searches and changes catalogues from the command line.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://kantoria.example.org/)
# The libraries' packages as dpkg-shlibdeps finds them from the programs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beside them: Qt's platform plugins, without which no window opens (only recommended by Qt),
# Qt's Japanese texts for its own dialogs and the MIME database the file-type icons come from.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, shared-mime-info")
# The content search reads old Word, Excel and RTF documents through these when they are there.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "antiword, catdoc, unrtf")
# Stripped programs; their debug symbols go to a kantoria-dbgsym package beside it.
set(CPACK_DEBIAN_DEBUGINFO_PACKAGE ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
