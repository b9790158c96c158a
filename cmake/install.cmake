# What `cmake --install` puts in place, the CMake and pkg-config packages,
# and the Debian package made from the same install (cpack -G DEB).
include(CMakePackageConfigHelpers)
set(KAVRO_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/KAVRO)

install(FILES toolkit/kavro.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(TARGETS kavro_shared kavro_static kavro_main EXPORT KAVROTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(EXPORT KAVROTargets NAMESPACE KAVRO:: DESTINATION ${KAVRO_CMAKE_DIR})
configure_package_config_file(cmake/KAVROConfig.cmake.in ${CMAKE_BINARY_DIR}/KAVROConfig.cmake
  INSTALL_DESTINATION ${KAVRO_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/KAVROConfigVersion.cmake COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/KAVROConfig.cmake ${CMAKE_BINARY_DIR}/KAVROConfigVersion.cmake
  DESTINATION ${KAVRO_CMAKE_DIR})
# The prefix is found from the file's own place, so a copied or staged install works.
file(RELATIVE_PATH KAVRO_PC_TO_PREFIX /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
string(REGEX REPLACE "/$" "" KAVRO_PC_TO_PREFIX "${KAVRO_PC_TO_PREFIX}")
foreach(pc kavro kavro-main)
  configure_file(cmake/${pc}.pc.in ${CMAKE_BINARY_DIR}/${pc}.pc @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/${pc}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endforeach()

install(TARGETS bridge kavro-replay RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES README.md docs/cheatsheet.md docs/demo.gif docs/pong.gif docs/duel.gif DESTINATION ${CMAKE_INSTALL_DOCDIR})
if(EXISTS ${CMAKE_SOURCE_DIR}/LICENSE)
  install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()
# Each example folder is a project of its own; the folder's list only joins them in this tree.
install(DIRECTORY examples/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples REGEX "/examples/CMakeLists\\.txt$" EXCLUDE)
if(KAVRO_DOCS_DIR)
  install(DIRECTORY ${KAVRO_DOCS_DIR}/html/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/html)
  # Doxygen also writes pages for folders and the cheat sheet; only the API's are wanted.
  install(DIRECTORY ${KAVRO_DOCS_DIR}/man/man3 DESTINATION ${CMAKE_INSTALL_MANDIR}
    PATTERN "_*" EXCLUDE PATTERN "cheatsheet.md.3" EXCLUDE)
endif()

set(CPACK_PACKAGE_NAME kavro)
set(CPACK_PACKAGE_VENDOR "The KAVRO developers")
set(CPACK_PACKAGE_CONTACT "The KAVRO developers <kavro@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION "KAVRO opens a graphics window and a text window, draws shapes and text in 24
named colours and delivers clicks, typed characters and periodic ticks one
event at a time. This package holds the library (shared and static), its
header, CMake and pkg-config files, man pages and tutorial examples, the
bridge cartoon and kavro-replay.")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What a program built against the package needs besides the shared
# libraries found above: the headers behind find_package and pkg-config, and fonts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libsdl2-dev, libfreetype-dev, libfontconfig-dev, libpng-dev, fontconfig, fonts-dejavu-core, fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "pkg-config, cmake, build-essential, man-db")
include(CPack)
