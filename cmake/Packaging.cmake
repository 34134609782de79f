# The Debian package: `cmake --build BUILD --target deb` builds what ships
# and packs it into BUILD/zavio_VERSION_ARCH.deb with CPack. CPack rather
# than a debian/ folder: the package then takes its version from project()
# like everything else, and is made from the build a developer already has.
include(GNUInstallDirs)

set(ZAVIO_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/zavio)
install(FILES LICENSE CHANGELOG.md README.md DESTINATION ${ZAVIO_DOC_DIR})

set(ZAVIO_PACKAGE_MAINTAINER "Zavio maintainers <maintainers@users.noreply.c-seed-07a0c293.example>"
    CACHE STRING "The Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zavio)
set(CPACK_PACKAGE_VENDOR "Zavio")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "convert WinHelp manuscripts into HTML Help or homepage-type help")
set(CPACK_PACKAGE_DESCRIPTION
    "Zavio turns the sources of an old WinHelp project, the help manuscript that\n"
    "Word saved as a Web page and the .cnt contents file, into an HTML Help\n"
    "project (pages, .hhp, Table of Contents.hhc, keyword index) or into\n"
    "homepage-type help (one HTML page per topic and a contents page).\n"
    "It is a Japanese MDI text editor (zavio) with a command-line converter\n"
    "for scripts (zavio-convert). Everything it writes is Shift-JIS (CP932).")
string(CONCAT CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGE_CONTACT "${ZAVIO_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link, found by dpkg-shlibdeps; beside them what
# Qt loads or starts at run time: the display plugins, a Japanese font for
# the interface, xdg-open for the help, and the CHM compiler for the projects.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "fonts-noto-cjk | fonts-ipafont-gothic | fonts-vlgothic | fonts-takao-gothic, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "fp-utils")
# Debian's shape for what a plain install leaves as it is: compressed manual
# pages and changelog, the licence as the copyright file.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/DebianLayout.cmake)
include(CPack)

# cpack packs what is built; the package target builds what ships, and only
# that (the tests and benchmarks stay out of the way).
set(ZAVIO_SHIPPED_TARGETS zavio-convert)
if(TARGET zavio)
  list(APPEND ZAVIO_SHIPPED_TARGETS zavio)
endif()
if(TARGET zavio_help)
  list(APPEND ZAVIO_SHIPPED_TARGETS zavio_help)
endif()
add_custom_target(deb
  COMMAND ${CMAKE_CPACK_COMMAND} -G DEB --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  DEPENDS ${ZAVIO_SHIPPED_TARGETS}
  USES_TERMINAL
  COMMENT "Packing the Debian package")
