# SPDX-FileCopyrightText: 2026 The Corvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The start-up probe (bench/startup_probe.cpp): Corvane's own start-up in an executable of its
# own, for timing, measuring and tracing whole processes. Included from bench/ and from
# tests/syscalls/, whichever comes first defines it, so that the system-call test has its probe
# also in builds without the benchmarks; it always lands in <build>/bench.
if(NOT TARGET startup_probe)
  add_executable(startup_probe
    ${CMAKE_CURRENT_LIST_DIR}/startup_probe.cpp ${CMAKE_CURRENT_LIST_DIR}/FakeWineHome.h
    ${CMAKE_CURRENT_LIST_DIR}/GameFolder.h ${CMAKE_CURRENT_LIST_DIR}/QuitWhenExposed.h)
  target_link_libraries(startup_probe PRIVATE corvane_app corvane_warnings)
  set_target_properties(startup_probe PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bench)
endif()
