# Installation (cmake --install) and the Debian package (cpack -G DEB).
# The package is built with CMAKE_INSTALL_PREFIX=/usr (scripts/package).
include(GNUInstallDirs)

set(TAMBORO_MAINTAINER "Tamboro maintainers <maintainers@users.noreply.c-seed-99bd399c.example>"
    CACHE STRING "Maintainer named in the Debian package")

# The program tells the installed copy from a portable one by the bin folder
# it runs from, so the folder this build installs into is compiled in.
set_source_files_properties(${PROJECT_SOURCE_DIR}/data/data_folder_rule.cpp DIRECTORY ${PROJECT_SOURCE_DIR}/data
                            PROPERTIES COMPILE_DEFINITIONS TAMBORO_INSTALL_BINDIR="${CMAKE_INSTALL_FULL_BINDIR}")

install(TARGETS tamboro-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TAMBORO_GUI)
  install(TARGETS tamboro RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/tamboro.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
endif()

# Debian wants the copyright file, a compressed changelog and compressed
# manual pages; gzip -n keeps the package reproducible.
set(TAMBORO_PACKAGING_OUT ${PROJECT_BINARY_DIR}/packaging)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${TAMBORO_PACKAGING_OUT}/changelog @ONLY)
set(TAMBORO_GZIPPED "")
foreach(file ${TAMBORO_PACKAGING_OUT}/changelog ${CMAKE_CURRENT_LIST_DIR}/tamboro.1 ${CMAKE_CURRENT_LIST_DIR}/tamboro-cli.1)
  get_filename_component(name ${file} NAME)
  add_custom_command(OUTPUT ${TAMBORO_PACKAGING_OUT}/${name}.gz
                     COMMAND gzip -9n -c ${file} > ${TAMBORO_PACKAGING_OUT}/${name}.gz
                     DEPENDS ${file} VERBATIM)
  list(APPEND TAMBORO_GZIPPED ${TAMBORO_PACKAGING_OUT}/${name}.gz)
endforeach()
add_custom_target(tamboro_packaging_files ALL DEPENDS ${TAMBORO_GZIPPED})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${TAMBORO_PACKAGING_OUT}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tamboro)
install(FILES ${TAMBORO_PACKAGING_OUT}/tamboro-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
if(TAMBORO_GUI)
  install(FILES ${TAMBORO_PACKAGING_OUT}/tamboro.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tamboro)
set(CPACK_PACKAGE_VENDOR "The Tamboro developers")
set(CPACK_PACKAGE_CONTACT "${TAMBORO_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "catalogue of a personal DVD collection (Japanese)")
# Lines of at most 80 characters, as Debian's tools show them.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Tamboro records the discs of a personal DVD collection: titles, genre,\n"
       "purchase and release data, cast and staff, the disc's features, ratings\n"
       "and comments. It logs each viewing, narrows and sorts the collection by\n"
       "many criteria, prints an A4 title list, and backs the data up to a folder\n"
       "of the user's choice. The user interface is in Japanese.\n"
       "\n"
       "The package also holds tamboro-cli, which checks, lists and exports the\n"
       "catalogue from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from the binaries; the font is what the windows are laid out for.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic")
# Qt's own dialogs and menus in Japanese, as the rest of the program.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
