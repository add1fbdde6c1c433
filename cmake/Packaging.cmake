# `cpack -G DEB` in a build folder: a Debian package of what `cmake --install` puts under /usr.
# The shared-library dependencies are computed by dpkg-shlibdeps (package dpkg-dev) from the
# installed programs, so they follow the build machine's libraries instead of a hand-kept list.
set(CPACK_PACKAGE_NAME wordloom)
set(CPACK_PACKAGE_VENDOR "The Wordloom developers")
set(CPACK_PACKAGE_CONTACT "The Wordloom developers <support@wordloom.example>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://www.wordloom.example/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "translation workbench for Delphi projects")
set(CPACK_PACKAGE_DESCRIPTION
    "Wordloom collects the texts of a Delphi project's forms and units into one strings table, lets\n"
    "translators type the translations into a grid, and rewrites the project's files in place into\n"
    "the chosen language. wordloom-cli runs the same commands without a window.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Not libraries, so not computable: the tool bar's icon theme, the opener of the readme and a
# spelling dictionary (libhunspell itself comes from shlibdeps; spelling is skipped without one), and
# the look-alike of Tahoma that caption widths are measured in (a wider fallback font otherwise).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "adwaita-icon-theme, xdg-utils, hunspell-en-us | hunspell-dictionary, fonts-wine")
set(CPACK_GENERATOR DEB)

include(CPack)
