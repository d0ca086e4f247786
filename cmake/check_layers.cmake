# The layer test: every #include of the program's sources follows the layer order of
# DESIGN.md ("Layers"), and the plain layers include no Qt Widgets.
#   cmake -DROOT=<source dir> -DWIDGETS_DIR=<QtWidgets include dir> -P check_layers.cmake
# Fails (FATAL_ERROR) naming every include that breaks a rule.
#
# Ranks, lowest first: a file may include its own layer and any layer of lower rank, never
# one of the same rank or above. files/ sits below settings/ because MouseSession (settings)
# owns the profile and patch files, and above device/ because the file flows run transfers;
# device/ reaches the few files it touches and the backups only through interfaces of its
# own (device/file_access.h, device/backup_sink.h) that files/ implements. skin/ (tables
# and pictures, no widgets) beside files/.
cmake_minimum_required(VERSION 3.25)

set(rank_image 0)
set(rank_device 1)
set(rank_files 2)
set(rank_skin 2)
set(rank_macro 3)
set(rank_xinput 4)  # the recorder's desktop-wide source: macro/ and Xlib
set(rank_settings 4)
set(rank_ui 5)
set(rank_app 6)
set(rank_tools 6)
# No Qt at all below the model (plain C++); no Qt Widgets anywhere below ui/.
set(no_qt image device xinput)
set(no_widgets image device macro xinput files skin settings)

if(NOT ROOT)
  message(FATAL_ERROR "check_layers: ROOT not given")
endif()

set(widget_headers "")
if(WIDGETS_DIR AND IS_DIRECTORY "${WIDGETS_DIR}")
  file(GLOB widget_headers RELATIVE "${WIDGETS_DIR}" "${WIDGETS_DIR}/Q*")
  list(FILTER widget_headers EXCLUDE REGEX "\\.")
endif()
list(LENGTH widget_headers widget_count)
if(widget_count LESS 20)
  message(FATAL_ERROR "check_layers: no QtWidgets headers found in '${WIDGETS_DIR}'")
endif()

set(globs "")
foreach(layer image device files skin macro xinput settings ui app tools)
  list(APPEND globs "${ROOT}/${layer}/*.h" "${ROOT}/${layer}/*.cpp")
endforeach()
file(GLOB_RECURSE sources RELATIVE "${ROOT}" ${globs})

set(problems "")
set(checked 0)
foreach(src ${sources})
  string(REGEX MATCH "^[^/]+" layer "${src}")
  set(own ${rank_${layer}})
  file(STRINGS "${ROOT}/${src}" lines REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS lines)
    math(EXPR checked "${checked} + 1")
    if(line MATCHES "#[ \t]*include[ \t]*\"([a-z_]+)/")
      set(target "${CMAKE_MATCH_1}")
      if(DEFINED rank_${target} AND NOT target STREQUAL layer AND NOT rank_${target} LESS own)
        list(APPEND problems "${src}: ${layer}/ includes ${target}/ (${line})")
      endif()
    elseif(line MATCHES "#[ \t]*include[ \t]*<(Qt[A-Za-z]*)?/?([A-Za-z0-9_]*)")
      set(module "${CMAKE_MATCH_1}")
      set(header "${CMAKE_MATCH_2}")
      set(qt FALSE)
      if(module OR header MATCHES "^Q[A-Z]")
        set(qt TRUE)
      endif()
      if(qt AND layer IN_LIST no_qt)
        list(APPEND problems "${src}: ${layer}/ is plain C++ but includes Qt (${line})")
      elseif(layer IN_LIST no_widgets)
        if(module STREQUAL "QtWidgets" OR (NOT module AND header IN_LIST widget_headers))
          list(APPEND problems "${src}: ${layer}/ includes Qt Widgets (${line})")
        endif()
      endif()
    endif()
  endforeach()
endforeach()

if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "Includes against the layer order:\n  ${text}")
endif()
message(STATUS "check_layers: ${checked} includes follow the layer order")
