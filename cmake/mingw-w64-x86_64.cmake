# SPDX-FileCopyrightText: 2026 The Corvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-building Corvane for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix)
# against the Qt that scripts/qt-for-windows.sh built (its folder is asked of the script, or given
# as CORVANE_QT_WINDOWS). Qt's tools (moc, rcc, uic) are the host Qt's, of the same version. The
# programs built run under Wine (scripts/wine-run.sh), so that ctest runs them as any test. Used
# by the preset windows.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

if(NOT CORVANE_QT_WINDOWS)
  execute_process(COMMAND "${CMAKE_CURRENT_LIST_DIR}/../scripts/qt-for-windows.sh" --print
                  OUTPUT_VARIABLE CORVANE_QT_WINDOWS OUTPUT_STRIP_TRAILING_WHITESPACE)
endif()
if(NOT EXISTS "${CORVANE_QT_WINDOWS}/.complete")
  message(FATAL_ERROR "Qt for Windows is not built in '${CORVANE_QT_WINDOWS}': run scripts/qt-for-windows.sh")
endif()
set(CORVANE_QT_WINDOWS "${CORVANE_QT_WINDOWS}" CACHE PATH "Qt for Windows (scripts/qt-for-windows.sh)")
# Try-compile projects get the same Qt.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES CORVANE_QT_WINDOWS)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 "${CORVANE_QT_WINDOWS}")
set(CMAKE_PREFIX_PATH "${CORVANE_QT_WINDOWS}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Qt's build tools come from the host Qt.
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)

set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh")
