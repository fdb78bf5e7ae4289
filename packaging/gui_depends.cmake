# SPDX-License-Identifier: MIT
# Read by cpack (as CPACK_PROJECT_CONFIG_FILE): stepwell-gui depends on the stepwell package
# of the same version, whose program loads the module, and on the libraries the module
# links, as dpkg-shlibdeps names them. stepwell_window_module and stepwell_shlibdeps_dir
# come from cmake/package.cmake.
if(CPACK_GENERATOR STREQUAL "DEB")
  # dpkg-shlibdeps wants a debian/control in its working folder, even an empty one.
  file(WRITE "${stepwell_shlibdeps_dir}/debian/control" "")
  execute_process(
    COMMAND dpkg-shlibdeps -O "${stepwell_window_module}"
    WORKING_DIRECTORY "${stepwell_shlibdeps_dir}"
    RESULT_VARIABLE status
    OUTPUT_VARIABLE found
    ERROR_VARIABLE complaints)
  if(NOT status EQUAL 0 OR NOT found MATCHES "^shlibs:Depends=([^\n]*)")
    message(FATAL_ERROR "dpkg-shlibdeps failed on ${stepwell_window_module}:\n${complaints}")
  endif()
  set(CPACK_DEBIAN_GUI_PACKAGE_DEPENDS "stepwell (= ${CPACK_PACKAGE_VERSION}), ${CMAKE_MATCH_1}")
endif()
