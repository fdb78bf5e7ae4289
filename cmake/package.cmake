# `cpack -G DEB` (or `make package` at the top) builds a Debian package of the installed tree.
set(STEPWELL_MAINTAINER "Stepwell maintainers <stepwell@example.org>" CACHE STRING
    "Maintainer named in the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME stepwell)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "re-indents HTML and other line-oriented text with tabs")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Stepwell takes off each line's leading spaces and tabs and writes the line\n"
       "again behind as many tabs as the nesting level, which a user-editable tag\n"
       "table moves. It changes nothing but leading whitespace, so hand-written and\n"
       "templated pages keep their text exactly.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT ${STEPWELL_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${STEPWELL_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The shared libraries the program links (the C++ runtime, later Qt) become dependencies.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)

include(CPack)
