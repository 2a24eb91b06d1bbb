# The Debian package: `cpack -G DEB` in the build folder makes
# tamlo_VERSION_ARCH.deb from what `cmake --install` installs (the program,
# the menu entry, the icon, the drawing file type, the software-centre
# description, the copyright and the README). dpkg-shlibdeps finds the
# libraries the program links; the font and Qt's own translations are named
# here because nothing links them.
#
# Tamlo is under the GNU General Public License, version 3 or later (see
# LICENSE): the video export links FFmpeg built with x264, which is GPL.
include(GNUInstallDirs)
# Debian's place for a package's documents is named after the package.
set(tamlo_docdir ${CMAKE_INSTALL_DATAROOTDIR}/doc/tamlo)

set(TAMLO_PACKAGE_MAINTAINER "The Tamlo developers <tamlo@users.noreply.github.com>"
    CACHE STRING "The Maintainer field of the Debian package")
set(TAMLO_HOMEPAGE "https://github.com/tamlo/tamlo" CACHE STRING "The project's home page")

install(FILES README.md DESTINATION ${tamlo_docdir})
install(FILES desktop/copyright DESTINATION ${tamlo_docdir})
# Debian wants the changelog and the manual page compressed, reproducibly.
find_program(TAMLO_GZIP gzip REQUIRED)
foreach(doc changelog tamlo.1)
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/${doc}.gz
    COMMAND sh -c "\"$1\" -9nc \"$2\" > \"$3\"" gzip ${TAMLO_GZIP} ${CMAKE_SOURCE_DIR}/desktop/${doc}
            ${CMAKE_BINARY_DIR}/${doc}.gz
    DEPENDS ${CMAKE_SOURCE_DIR}/desktop/${doc}
    VERBATIM)
endforeach()
add_custom_target(tamlo_package_docs ALL DEPENDS ${CMAKE_BINARY_DIR}/changelog.gz ${CMAKE_BINARY_DIR}/tamlo.1.gz)
# `--target tamlo` is enough for cpack afterwards.
add_dependencies(tamlo tamlo_package_docs)
install(FILES ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${tamlo_docdir})
install(FILES ${CMAKE_BINARY_DIR}/tamlo.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_PACKAGE_NAME tamlo)
set(CPACK_PACKAGE_VENDOR "The Tamlo developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${TAMLO_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "drawing program for young children that replays how a picture was made")
set(CPACK_RESOURCE_FILE_LICENSE "${CMAKE_SOURCE_DIR}/LICENSE")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TAMLO_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TAMLO_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The font of texts on the canvas; the rest comes from dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic")
# Qt's own dialog texts (file dialogs, buttons) in Japanese.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
# CPack puts the summary above this as the first line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Tamlo is a vector drawing program for young children, with a Japanese
interface written mostly in hiragana. Children draw lines, free-hand
strokes, ellipses, rectangles, polylines, polygons, texts and stamps, and
fix them afterwards. Every change is kept as a time-stamped step: the view
mode replays a drawing step by step, so a child can watch how the picture
was made.
.
Drawings export as BMP, JPEG or PNG pictures, as a numbered series of every
step, or as a time-lapse video (MP4 or GIF), also from the command line for
a whole class at once. Schools can set and lock the settings for every
child, with a kiosk mode for shared computers.")

include(CPack)

# The package tests: build the package once (a fixture), take it apart and
# run the installed program, lintian (the sanitizer build leaves these to
# the everyday build); and the validation of the menu entry and of the
# software-centre description.
if(TAMLO_BUILD_TESTS)
  set(tamlo_pkg_tests ${CMAKE_SOURCE_DIR}/tests/package)
  set(tamlo_pkg_out ${CMAKE_BINARY_DIR}/package-test)
  add_test(NAME desktop.entry_validates
           COMMAND ${tamlo_pkg_tests}/desktop_entry.sh ${CMAKE_SOURCE_DIR}/desktop/tamlo.desktop
                   ${CMAKE_SOURCE_DIR}/desktop/tamlo-mime.xml)
  add_test(NAME desktop.metainfo_validates
           COMMAND ${tamlo_pkg_tests}/metainfo.sh ${CMAKE_SOURCE_DIR}/desktop/io.github.tamlo.tamlo.metainfo.xml
                   ${CMAKE_SOURCE_DIR}/desktop/changelog ${PROJECT_VERSION} ${CMAKE_SOURCE_DIR})
  set_tests_properties(desktop.entry_validates desktop.metainfo_validates PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120)
  if(NOT TAMLO_SANITIZE)
    add_test(NAME package.deb_builds COMMAND ${tamlo_pkg_tests}/build_deb.sh ${CMAKE_BINARY_DIR} ${tamlo_pkg_out})
    add_test(NAME package.installs_and_runs
             COMMAND ${tamlo_pkg_tests}/install_and_run.sh ${tamlo_pkg_out} ${CMAKE_SOURCE_DIR}/docs/making-of.tlo
                     ${PROJECT_VERSION})
    add_test(NAME package.lintian_clean COMMAND ${tamlo_pkg_tests}/lintian.sh ${tamlo_pkg_out})
    set_tests_properties(package.deb_builds PROPERTIES FIXTURES_SETUP tamlo_deb)
    set_tests_properties(package.installs_and_runs package.lintian_clean PROPERTIES FIXTURES_REQUIRED tamlo_deb)
    set_tests_properties(package.deb_builds package.installs_and_runs package.lintian_clean
                         PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 600)
  endif()
endif()
