# Keeps the clean build fast on a small machine: ccache when it is installed
# (with the source folder as its base, so a fresh clone in another folder hits
# the same cache) and precompiled headers for the heavy header-only libraries
# and Qt.

find_program(TRAVENO_CCACHE ccache)
if(TRAVENO_CCACHE)
  set(CMAKE_CXX_COMPILER_LAUNCHER
      ${CMAKE_COMMAND} -E env CCACHE_BASEDIR=${PROJECT_SOURCE_DIR}
      CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
      CCACHE_NOHASHDIR=true ${TRAVENO_CCACHE})
endif()

# traveno_light_optimisation(target): glue code heavy in templates (the command
# line's parser and JSON, the tests) compiles twice as fast with fewer
# optimisations and line tables only; its speed never matters.
function(traveno_light_optimisation target)
  if(CMAKE_BUILD_TYPE STREQUAL "RelWithDebInfo")
    target_compile_options(${target} PRIVATE -O1 -g1)
  endif()
endfunction()

# traveno_precompile(target kind...) gives the target a precompiled header of
# the libraries of the given kinds: std, cli (CLI11, JSON), qt (Widgets),
# gtest (GoogleTest and GoogleMock).
function(traveno_precompile target)
  set(headers <string> <vector> <map> <optional> <memory> <functional>
              <algorithm> <sstream> <stdexcept> <cstdint>)
  foreach(kind IN LISTS ARGN)
    if(kind STREQUAL "cli")
      list(APPEND headers <CLI/CLI.hpp> <nlohmann/json.hpp>)
    elseif(kind STREQUAL "qt")
      list(APPEND headers <QtWidgets> <QtGui> <QtCore>)
    elseif(kind STREQUAL "gtest")
      list(APPEND headers <gtest/gtest.h> <gmock/gmock.h>)
    elseif(NOT kind STREQUAL "std")
      message(FATAL_ERROR "traveno_precompile: unknown kind ${kind}")
    endif()
  endforeach()
  target_precompile_headers(${target} PRIVATE ${headers})
endfunction()

# traveno_precompile_qt(target) lets a Qt target reuse the one precompiled
# header of the shared widgets library instead of building its own: the Qt
# headers are the heaviest part of every window's compilation.
function(traveno_precompile_qt target)
  if(target STREQUAL "traveno_ui")
    traveno_precompile(${target} std qt)
  else()
    target_precompile_headers(${target} REUSE_FROM traveno_ui)
  endif()
endfunction()
