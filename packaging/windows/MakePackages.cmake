# SPDX-FileCopyrightText: 2026 The Corvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes Corvane's two Windows packages from a built tree (cmake -P, called by the build):
# installs the program with everything it loads into a staging folder, zips that folder as the
# portable package, and makes the NSIS installer of the same files.
# Defines: BINARY_DIR, STAGE, ZIP, SETUP, NSI, MAKENSIS, VERSION, ICON, PUBLISHER, HOMEPAGE.
cmake_minimum_required(VERSION 3.22)

set(top "Corvane-${VERSION}")
file(REMOVE_RECURSE "${STAGE}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BINARY_DIR}" --prefix "${STAGE}/${top}" --strip
                OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)

# The portable package: one folder, as it was installed.
file(REMOVE "${ZIP}")
execute_process(COMMAND "${CMAKE_COMMAND}" -E tar cf "${ZIP}" --format=zip "${top}"
                WORKING_DIRECTORY "${STAGE}" COMMAND_ERROR_IS_FATAL ANY)

# The installer's lists: every file to install, and to remove again (files, then the folders
# from the deepest up), so that the uninstaller removes what the installer put there and no more.
file(GLOB_RECURSE files RELATIVE "${STAGE}/${top}" "${STAGE}/${top}/*")
list(SORT files)
set(install_lines "")
set(uninstall_lines "")
set(folders "")
set(current_folder "")
set(size 0)
foreach(file IN LISTS files)
  file(SIZE "${STAGE}/${top}/${file}" bytes)
  math(EXPR size "${size} + ${bytes}")
  get_filename_component(folder "${file}" DIRECTORY)
  string(REPLACE "/" "\\" windows_file "${file}")
  string(REPLACE "/" "\\" windows_folder "${folder}")
  if(NOT folder STREQUAL current_folder)
    string(APPEND install_lines "  SetOutPath \"$INSTDIR\\${windows_folder}\"\n")
    set(current_folder "${folder}")
  endif()
  string(APPEND install_lines "  File \"${STAGE}/${top}/${file}\"\n")
  string(APPEND uninstall_lines "  Delete \"$INSTDIR\\${windows_file}\"\n")
  while(folder)
    list(APPEND folders "${folder}")
    get_filename_component(folder "${folder}" DIRECTORY)
  endwhile()
endforeach()
list(REMOVE_DUPLICATES folders)
list(SORT folders)
list(REVERSE folders)  # a folder's subfolders sort after it
foreach(folder IN LISTS folders)
  string(REPLACE "/" "\\" windows_folder "${folder}")
  string(APPEND uninstall_lines "  RMDir \"$INSTDIR\\${windows_folder}\"\n")
endforeach()
math(EXPR size_kb "(${size} + 1023) / 1024")
get_filename_component(setup_folder "${SETUP}" DIRECTORY)
set(list_file "${STAGE}/files.nsh")
file(WRITE "${list_file}"
     "!macro InstallFiles\n${install_lines}  SetOutPath \"$INSTDIR\"\n!macroend\n"
     "!macro UninstallFiles\n${uninstall_lines}!macroend\n")

string(REGEX MATCHALL "[0-9]+" numbers "${VERSION}")
list(APPEND numbers 0 0 0 0)
list(SUBLIST numbers 0 4 numbers)
list(JOIN numbers "." version4)
execute_process(
  COMMAND "${MAKENSIS}" -V2 -NOCD "-DVERSION=${VERSION}" "-DVERSION4=${version4}"
          "-DFILES=${list_file}" "-DSIZE_KB=${size_kb}" "-DICON=${ICON}"
          "-DPUBLISHER=${PUBLISHER}" "-DHOMEPAGE=${HOMEPAGE}" "-DOUTFILE=${SETUP}" "${NSI}"
  COMMAND_ERROR_IS_FATAL ANY)
