# Fails when an include in src/ runs up the layers or sideways between window
# folders, or when the Qt-free core includes a Qt header.
#   cmake -DSOURCE_DIR=<src folder> -P include_direction.cmake
#
# A unit is a folder of src/, or the qt/ folder inside one; a platform folder
# (posix/, win32/) belongs to the unit around it. Each unit may include itself
# and the units listed for it.

cmake_minimum_required(VERSION 3.25)

set(core base archive epub shell app apps viewer)
set(allowed_base base)
set(allowed_archive base)
set(allowed_epub archive base)
set(allowed_shell base)
set(allowed_app epub archive shell base)
set(allowed_viewer epub archive base)
set(allowed_apps shell base)
set(allowed_cli ${core})
set(allowed_shell/qt shell base)
set(allowed_widgets ${core})
set(allowed_viewer/qt widgets ${core})
set(allowed_apps/qt widgets ${core})
# The main window opens the zip view and the application list dialog.
set(allowed_app/qt viewer/qt apps/qt shell/qt widgets ${core})

function(unit_of path out)
  string(REGEX MATCH "^[^/]+(/qt/)?" unit "${path}")
  string(REGEX REPLACE "/$" "" unit "${unit}")
  set(${out} "${unit}" PARENT_SCOPE)
endfunction()

get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)
file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
set(faults)
foreach(source IN LISTS sources)
  unit_of("${source}" unit)
  if(NOT DEFINED allowed_${unit})
    list(APPEND faults "${source}: the folder ${unit} has no place in the layers")
    continue()
  endif()
  file(STRINGS "${SOURCE_DIR}/${source}" lines REGEX "^#include [\"<]")
  foreach(line IN LISTS lines)
    if(line MATCHES "^#include \"([^\"]+)\"")
      unit_of("${CMAKE_MATCH_1}" target)
      if(NOT target STREQUAL unit AND NOT target IN_LIST allowed_${unit})
        list(APPEND faults "${source}: ${line}")
      endif()
    elseif(line MATCHES "^#include <Q" AND unit IN_LIST core)
      list(APPEND faults "${source}: ${line} (the core links no Qt)")
    endif()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "Includes against the direction of the layers:\n  ${text}")
endif()
