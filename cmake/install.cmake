# SPDX-License-Identifier: MIT
# What an installation holds, in two components that `make package` turns into two Debian
# packages: "stepwell", the command line, which loads no Qt library, and "gui", the window
# module and the desktop's files. The program sits beside its window module; an installed
# copy ships no table beside the program, which makes it an installed copy: it keeps each
# user's settings in the user's own folder.
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME stepwell)

install(TARGETS stepwell RUNTIME DESTINATION ${STEPWELL_INSTALL_PROGRAM_DIR} COMPONENT stepwell)
install(TARGETS stepwell_window LIBRARY DESTINATION ${STEPWELL_INSTALL_PROGRAM_DIR}
        COMPONENT gui)

# A stripped install (`cmake --install --strip`, and so the packages) also drops the
# compiler's notes that `strip` keeps.
install(CODE "set(stepwell_program_dir \"${STEPWELL_INSTALL_PROGRAM_DIR}\")
              set(stepwell_strip \"${CMAKE_STRIP}\")"
        ALL_COMPONENTS)
install(CODE [[
  if(CMAKE_INSTALL_DO_STRIP)
    file(GLOB binaries "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${stepwell_program_dir}/stepwell*")
    foreach(binary ${binaries})
      execute_process(COMMAND "${stepwell_strip}" --remove-section=.comment
                              --remove-section=.note "${binary}")
    endforeach()
  endif()
]] ALL_COMPONENTS)

# The system's table, which an administrator may edit, goes where the program looks for it:
# /etc/stepwell for the /usr prefix, PREFIX/etc/stepwell otherwise. The prefix is the one
# of the install run, so that one build installs under any prefix and packages for /usr.
# An edited table is kept; this runs before the shipped original below is replaced, as the
# original is what tells an edit apart.
install(CODE "set(stepwell_new_table \"${PROJECT_SOURCE_DIR}/StepwellTag.txt\")
              set(stepwell_sysconfdir \"${CMAKE_INSTALL_SYSCONFDIR}\")
              set(stepwell_datadir \"${CMAKE_INSTALL_DATADIR}\")"
        COMPONENT stepwell)
install(SCRIPT cmake/install_system_table.cmake COMPONENT stepwell)
install(FILES StepwellTag.txt DESTINATION ${CMAKE_INSTALL_DATADIR}/stepwell COMPONENT stepwell)
install(DIRECTORY examples/ DESTINATION ${CMAKE_INSTALL_DATADIR}/stepwell/examples
        COMPONENT stepwell)

# The link is relative, so the installed tree works under any prefix and inside a staging
# folder (DESTDIR, packages). The program resolves it to find its folder.
file(RELATIVE_PATH stepwell_link_target /prefix/${CMAKE_INSTALL_BINDIR}
     /prefix/${STEPWELL_INSTALL_PROGRAM_DIR}/stepwell)
set(stepwell_link ${CMAKE_BINARY_DIR}/install-link/stepwell)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/install-link)
file(CREATE_LINK ${stepwell_link_target} ${stepwell_link} SYMBOLIC)
install(FILES ${stepwell_link} DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT stepwell)

# The manual page, compressed as man-db and Debian expect it (no name or time in the
# header, so the same page gives the same bytes), and the bash completion, where
# bash-completion looks for it under the prefix.
set(stepwell_man_page ${CMAKE_BINARY_DIR}/doc/stepwell.1.gz)
add_custom_command(
  OUTPUT ${stepwell_man_page}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/doc
  COMMAND sh -c "gzip -9nc \"$1\" > \"$2\"" sh ${PROJECT_SOURCE_DIR}/doc/stepwell.1
          ${stepwell_man_page}
  DEPENDS ${PROJECT_SOURCE_DIR}/doc/stepwell.1
  VERBATIM)
add_custom_target(stepwell_man_page ALL DEPENDS ${stepwell_man_page})
install(FILES ${stepwell_man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT stepwell)
install(FILES packaging/completion.bash
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME stepwell
        COMPONENT stepwell)
# The zsh and fish completions, where those shells look: fish in vendor_completions.d under
# any prefix on its data path; zsh in vendor-completions under /usr, as Debian's zsh does,
# and in site-functions under any other prefix (/usr/local's is on zsh's own path). The
# prefix is the one of the install run, as for the system's table.
install(FILES packaging/completion.fish
        DESTINATION ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d RENAME stepwell.fish
        COMPONENT stepwell)
install(CODE "set(stepwell_zsh_completion \"${PROJECT_SOURCE_DIR}/packaging/completion.zsh\")
              set(stepwell_datadir \"${CMAKE_INSTALL_DATADIR}\")"
        COMPONENT stepwell)
install(CODE [[
  set(zsh_folder "${stepwell_datadir}/zsh/site-functions")
  if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
    set(zsh_folder "${stepwell_datadir}/zsh/vendor-completions")
  endif()
  if(NOT IS_ABSOLUTE "${zsh_folder}")
    set(zsh_folder "${CMAKE_INSTALL_PREFIX}/${zsh_folder}")
  endif()
  file(INSTALL DESTINATION "${zsh_folder}" TYPE FILE RENAME _stepwell
       FILES "${stepwell_zsh_completion}")
]] COMPONENT stepwell)

# The window's part: the menu entry, which claims no file type (Stepwell writes files, so
# it must never become the program that opens one), the icon in every size it is drawn in,
# and the software centre's description.
install(FILES app/stepwell.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
        COMPONENT gui)
foreach(size 16 32 48 64 128 256)
  install(FILES ui/icons/stepwell-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME stepwell.png COMPONENT gui)
endforeach()
install(FILES app/stepwell.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        COMPONENT gui)
install(FILES app/org.example.stepwell.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        COMPONENT gui)

# Installed straight into a live prefix whose icon theme keeps a cache, the cache is
# refreshed so that menus show the icon at once. Packages leave this to the system's
# triggers.
install(CODE [[
  set(icons "${CMAKE_INSTALL_PREFIX}/share/icons/hicolor")
  find_program(update_icon_cache gtk-update-icon-cache)
  if("$ENV{DESTDIR}" STREQUAL "" AND update_icon_cache AND EXISTS "${icons}/icon-theme.cache")
    execute_process(COMMAND ${update_icon_cache} -q -t "${icons}")
  endif()
]] COMPONENT gui)

# Each package's copyright and changelog, in the folder Debian gives it, and what lintian is
# told about stepwell-gui. A plain install leaves them out.
install(FILES packaging/stepwell-gui.lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME stepwell-gui
        COMPONENT gui EXCLUDE_FROM_ALL)
foreach(component stepwell gui)
  set(package stepwell)
  if(component STREQUAL "gui")
    set(package stepwell-gui)
  endif()
  install(FILES packaging/copyright ${CMAKE_BINARY_DIR}/doc/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package}
          COMPONENT ${component} EXCLUDE_FROM_ALL)
endforeach()
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/doc/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/doc
  COMMAND sh -c "gzip -9nc \"$1\" > \"$2\"" sh ${PROJECT_SOURCE_DIR}/packaging/changelog
          ${CMAKE_BINARY_DIR}/doc/changelog.gz
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog
  VERBATIM)
add_custom_target(stepwell_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/doc/changelog.gz)

# The command line's package also carries the user's guide and the upstream changelog,
# compressed as Debian keeps documentation.
set(stepwell_docs)
foreach(doc doc/guide.md CHANGELOG.md)
  get_filename_component(name ${doc} NAME)
  set(compressed ${CMAKE_BINARY_DIR}/doc/${name}.gz)
  add_custom_command(
    OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/doc
    COMMAND sh -c "gzip -9nc \"$1\" > \"$2\"" sh ${PROJECT_SOURCE_DIR}/${doc} ${compressed}
    DEPENDS ${PROJECT_SOURCE_DIR}/${doc}
    VERBATIM)
  list(APPEND stepwell_docs ${compressed})
endforeach()
add_custom_target(stepwell_docs ALL DEPENDS ${stepwell_docs})
install(FILES ${stepwell_docs} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/stepwell
        COMPONENT stepwell EXCLUDE_FROM_ALL)
