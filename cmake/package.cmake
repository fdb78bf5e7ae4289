# SPDX-License-Identifier: MIT
# `cpack -G DEB` (or `make package` at the top) builds two Debian packages of the installed
# tree: stepwell (the "stepwell" component) and stepwell-gui (the "gui" component).
set(STEPWELL_MAINTAINER "Stepwell maintainers <stepwell@example.org>" CACHE STRING
    "Maintainer named in the Debian packages")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME stepwell)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${STEPWELL_MAINTAINER})
# Installed with DESTDIR into the staging folder, so that the install step sees the prefix
# /usr and puts the system's table in /etc.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL stepwell gui)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${STEPWELL_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_DEBIAN_STEPWELL_PACKAGE_NAME stepwell)
string(CONCAT CPACK_DEBIAN_STEPWELL_DESCRIPTION
       "re-indent HTML and other line-oriented text with tabs\n"
       "Stepwell takes off each line's leading spaces and tabs and writes the line\n"
       "again behind as many tabs as the nesting level, which a tag table that the\n"
       "user edits moves. It changes nothing but leading whitespace, so hand-written\n"
       "and templated pages keep their text exactly.\n"
       "\n"
       "This package holds the command line, with check and diff modes for scripts\n"
       "and CI jobs, the system's tag table and example tables for templates.")
# The window comes in a package of its own, which a desktop user wants too.
set(CPACK_DEBIAN_STEPWELL_PACKAGE_SUGGESTS stepwell-gui)
# The libraries the program links (the C and C++ runtimes) become its dependencies.
set(CPACK_DEBIAN_STEPWELL_PACKAGE_SHLIBDEPS ON)
# dpkg keeps an administrator's edit of the system's table across upgrades, and removes it
# on purge.
file(WRITE ${CMAKE_BINARY_DIR}/packaging/conffiles "/etc/stepwell/StepwellTag.txt\n")
set(CPACK_DEBIAN_STEPWELL_PACKAGE_CONTROL_EXTRA ${CMAKE_BINARY_DIR}/packaging/conffiles)

set(CPACK_DEBIAN_GUI_PACKAGE_NAME stepwell-gui)
string(CONCAT CPACK_DEBIAN_GUI_DESCRIPTION
       "re-indent HTML and other text with tabs - window\n"
       "Stepwell takes off each line's leading spaces and tabs and writes the line\n"
       "again behind as many tabs as the nesting level, which a tag table that the\n"
       "user edits moves.\n"
       "\n"
       "This package holds the window, in which a user picks a folder and a file and\n"
       "converts it or drops files to convert, the dialogs that a run started from a\n"
       "desktop launcher asks its questions in, and the menu entry.")
# The window's Japanese texts need a font that has them.
set(CPACK_DEBIAN_GUI_PACKAGE_RECOMMENDS "fonts-ipafont-gothic | fonts-noto-cjk")
# The module's dependencies (the program, and Qt) are found when cpack starts, by
# packaging/gui_depends.cmake: CPack's own search would also make the package call ldconfig,
# which a module in a private folder does not need.
set(CPACK_DEBIAN_GUI_PACKAGE_SHLIBDEPS OFF)
file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/packaging/project_config.cmake CONTENT
     "set(stepwell_window_module \"$<TARGET_FILE:stepwell_window>\")
set(stepwell_shlibdeps_dir \"${CMAKE_BINARY_DIR}/packaging/shlibdeps\")
include(\"${PROJECT_SOURCE_DIR}/packaging/gui_depends.cmake\")
")
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/packaging/project_config.cmake)

include(CPack)
