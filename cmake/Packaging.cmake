# SPDX-License-Identifier: GPL-2.0-or-later
# What an installed system gets beside the tool: the systemd timer and the service it starts,
# the manual page, the bash completion and the message catalogues. The real snapshot library
# installs itself (lib/lvm); the simulated one and its command never are.

find_program(NORVA_MSGFMT msgfmt REQUIRED)
find_program(NORVA_XGETTEXT xgettext REQUIRED)

set(NORVA_INSTALLED_TOOL ${CMAKE_INSTALL_FULL_SBINDIR}/norva-snapshots-manager)

# systemd's directory for system units. Under the /usr prefix it is the one systemd itself
# names (/lib/systemd/system on Debian 12); under any other prefix the units stay inside it.
if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  find_package(PkgConfig QUIET)
  if(PkgConfig_FOUND)
    pkg_get_variable(NORVA_PKGCONFIG_UNIT_DIR systemd systemdsystemunitdir)
  endif()
endif()
if(NORVA_PKGCONFIG_UNIT_DIR)
  set(NORVA_DEFAULT_UNIT_DIR ${NORVA_PKGCONFIG_UNIT_DIR})
else()
  set(NORVA_DEFAULT_UNIT_DIR ${CMAKE_INSTALL_PREFIX}/lib/systemd/system)
endif()
set(NORVA_UNIT_DIR ${NORVA_DEFAULT_UNIT_DIR} CACHE PATH "Directory of systemd's system units")

set(NORVA_BASH_COMPLETION_DIR ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

# --- the tool, its metrics companion and the administrator's guide -----------------------------
install(TARGETS norva-snapshots-manager norva-snapshots-metrics norva-snapshots-restore
  DESTINATION ${CMAKE_INSTALL_SBINDIR} COMPONENT tool)
set(NORVA_INSTALLED_METRICS ${CMAKE_INSTALL_FULL_SBINDIR}/norva-snapshots-metrics)
install(FILES README.md BENCHMARKS.md DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT tool)
# Prometheus alerting rules on the metrics, for a fleet to copy.
install(FILES data/prometheus/norva-snapshots-alerts.yml
  DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples COMPONENT tool)

# --- systemd units ----------------------------------------------------------------------------
set(NORVA_UNIT_BUILD_DIR ${PROJECT_BINARY_DIR}/data/systemd)
configure_file(data/systemd/norva-snapshots.service.in
  ${NORVA_UNIT_BUILD_DIR}/norva-snapshots.service @ONLY)
configure_file(data/systemd/norva-snapshots.timer
  ${NORVA_UNIT_BUILD_DIR}/norva-snapshots.timer COPYONLY)
install(FILES
  ${NORVA_UNIT_BUILD_DIR}/norva-snapshots.service
  ${NORVA_UNIT_BUILD_DIR}/norva-snapshots.timer
  DESTINATION ${NORVA_UNIT_DIR} COMPONENT tool)
# systemd's presets sit beside its units (system-preset next to system).
cmake_path(GET NORVA_UNIT_DIR PARENT_PATH NORVA_UNIT_PARENT_DIR)
install(FILES data/systemd/80-norva-snapshots.preset
  DESTINATION ${NORVA_UNIT_PARENT_DIR}/system-preset COMPONENT tool)

# --- manual page ------------------------------------------------------------------------------
set(NORVA_MAN_PAGE ${PROJECT_BINARY_DIR}/doc/norva-snapshots-manager.8)
configure_file(doc/norva-snapshots-manager.8.in ${NORVA_MAN_PAGE} @ONLY)
configure_file(doc/norva-snapshots-metrics.8.in ${PROJECT_BINARY_DIR}/doc/norva-snapshots-metrics.8
  @ONLY)
configure_file(doc/norva-snapshots-restore.8.in ${PROJECT_BINARY_DIR}/doc/norva-snapshots-restore.8
  @ONLY)
install(FILES ${NORVA_MAN_PAGE} ${PROJECT_BINARY_DIR}/doc/norva-snapshots-metrics.8
  ${PROJECT_BINARY_DIR}/doc/norva-snapshots-restore.8
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man8 COMPONENT tool)

# --- bash completion --------------------------------------------------------------------------
install(FILES data/bash-completion/norva-snapshots-manager data/bash-completion/norva-snapshots-restore
  DESTINATION ${NORVA_BASH_COMPLETION_DIR} COMPONENT tool)

# --- the restore points' hooks: APT's before every package change, update-grub's for a
# look-around boot. Under the /usr prefix they go to /etc, where APT and update-grub read them
# (GNUInstallDirs' rule); under any other prefix they stay inside it.
install(FILES data/apt/80norva-snapshots-restore
  DESTINATION ${CMAKE_INSTALL_FULL_SYSCONFDIR}/apt/apt.conf.d COMPONENT tool)
install(PROGRAMS data/grub/42_norva-snapshots-restore
  DESTINATION ${CMAKE_INSTALL_FULL_SYSCONFDIR}/grub.d COMPONENT tool)

# --- translations -----------------------------------------------------------------------------
# Every message id reaches gettext through tr() or is marked with trNoop(). One script extracts
# them from the sources: the `pot` target writes the template kept in po/, and the tests compare
# a fresh extraction with it. File names are relative to the source tree, so the template names
# no build machine.
set(NORVA_TEXT_DOMAIN norva-snapshots-manager)
file(GLOB_RECURSE NORVA_MESSAGE_SOURCES RELATIVE ${PROJECT_SOURCE_DIR} CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/src/*.cpp ${PROJECT_SOURCE_DIR}/src/*.h)
list(SORT NORVA_MESSAGE_SOURCES)
list(JOIN NORVA_MESSAGE_SOURCES " " NORVA_MESSAGE_SOURCE_WORDS)
set(NORVA_EXTRACT_MESSAGES ${PROJECT_BINARY_DIR}/po/extract-messages)
file(CONFIGURE OUTPUT ${NORVA_EXTRACT_MESSAGES} @ONLY CONTENT [[#!/bin/sh
# Writes the message template of the sources to the file named by $1.
set -eu
output=$(realpath -m "$1")
cd '@PROJECT_SOURCE_DIR@'
exec '@NORVA_XGETTEXT@' --language=C++ --from-code=UTF-8 --keyword=tr --keyword=trNoop   --add-location=file --package-name='@PROJECT_NAME@' --package-version='@PROJECT_VERSION@'   --copyright-holder='The norva-snapshots-manager authors' --output="$output"   @NORVA_MESSAGE_SOURCE_WORDS@
]])
file(CHMOD ${NORVA_EXTRACT_MESSAGES}
  PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ
  WORLD_EXECUTE)
add_custom_target(pot
  COMMAND ${NORVA_EXTRACT_MESSAGES} ${PROJECT_SOURCE_DIR}/po/${NORVA_TEXT_DOMAIN}.pot
  COMMENT "Extracting the message ids into po/${NORVA_TEXT_DOMAIN}.pot"
  VERBATIM)

# The tool binds its text domain to /usr/share/locale whatever the prefix, so the catalogues go
# there too.
set(NORVA_CATALOGUE_DIR /usr/share/locale CACHE PATH "Directory the tool reads catalogues from")
file(STRINGS ${PROJECT_SOURCE_DIR}/po/LINGUAS NORVA_LINGUAS REGEX "^[^#]")
set(NORVA_LOCALE_BUILD_DIR ${PROJECT_BINARY_DIR}/locale)
set(NORVA_CATALOGUES)
foreach(language IN LISTS NORVA_LINGUAS)
  string(STRIP "${language}" language)
  set(po ${PROJECT_SOURCE_DIR}/po/${language}.po)
  set(mo ${NORVA_LOCALE_BUILD_DIR}/${language}/LC_MESSAGES/${NORVA_TEXT_DOMAIN}.mo)
  add_custom_command(OUTPUT ${mo}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${NORVA_LOCALE_BUILD_DIR}/${language}/LC_MESSAGES
    COMMAND ${NORVA_MSGFMT} --check --output-file=${mo} ${po}
    DEPENDS ${po}
    COMMENT "Compiling the ${language} message catalogue"
    VERBATIM)
  list(APPEND NORVA_CATALOGUES ${mo})
  install(FILES ${mo} DESTINATION ${NORVA_CATALOGUE_DIR}/${language}/LC_MESSAGES COMPONENT tool)
endforeach()
add_custom_target(translations ALL DEPENDS ${NORVA_CATALOGUES})
