# SPDX-License-Identifier: MIT
# Installs the system's tag table, as the install step of cmake/install.cmake, which sets
# stepwell_new_table (the table to ship), stepwell_sysconfdir and stepwell_datadir.
#
# The table goes to /etc/stepwell for the /usr prefix and PREFIX/etc/stepwell otherwise,
# where the program looks for it. A table already there that is neither the new one nor the
# original the last install shipped (DATADIR/stepwell/StepwellTag.txt) was edited by an
# administrator, and stays as it is, as dpkg keeps an edited conffile.
if(IS_ABSOLUTE "${stepwell_sysconfdir}")
  set(folder "${stepwell_sysconfdir}/stepwell")
elseif(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  set(folder "/etc/stepwell")
else()
  set(folder "${CMAKE_INSTALL_PREFIX}/${stepwell_sysconfdir}/stepwell")
endif()
if(IS_ABSOLUTE "${stepwell_datadir}")
  set(original "$ENV{DESTDIR}${stepwell_datadir}/stepwell/StepwellTag.txt")
else()
  set(original "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${stepwell_datadir}/stepwell/StepwellTag.txt")
endif()
set(table "$ENV{DESTDIR}${folder}/StepwellTag.txt")

set(edited FALSE)
if(EXISTS "${table}")
  file(SHA256 "${table}" installed)
  file(SHA256 "${stepwell_new_table}" new)
  set(shipped "")
  if(EXISTS "${original}")
    file(SHA256 "${original}" shipped)
  endif()
  if(NOT installed STREQUAL new AND NOT installed STREQUAL shipped)
    set(edited TRUE)
  endif()
endif()

if(edited)
  message(STATUS "Keeping: ${table} (edited; the shipped table is ${original})")
else()
  file(INSTALL DESTINATION "${folder}" TYPE FILE FILES "${stepwell_new_table}")
endif()
