# Run as `cmake -DSOURCE_DIR=... -P CheckLayers.cmake`: checks every #include of the tree against
# the rows of Layers.cmake and lists each one that breaks them.
include(${CMAKE_CURRENT_LIST_DIR}/Layers.cmake)

set(toolkit_regex "^#[ \t]*include[ \t]*<(Q[A-Za-z]|SDL|AL/|libav|libsw)")
set(project_regex "^#[ \t]*include[ \t]*\"([a-z_]+)/")
set(faults "")

file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR}
  ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp
  ${SOURCE_DIR}/tools/*.h ${SOURCE_DIR}/tools/*.cpp
  ${SOURCE_DIR}/bench/*.h ${SOURCE_DIR}/bench/*.cpp
  ${SOURCE_DIR}/tests/*.h ${SOURCE_DIR}/tests/*.cpp)

foreach(file IN LISTS files)
  string(REPLACE "/" ";" parts "${file}")
  list(GET parts 0 top)
  set(layer "")
  if(top STREQUAL "src")
    list(GET parts 1 layer)
    if(NOT DEFINED KAVRIN_LAYER_${layer})
      string(APPEND faults "${file}: the folder src/${layer} has no row in cmake/Layers.cmake\n")
      continue()
    endif()
  endif()
  set(toolkit_allowed FALSE)
  foreach(folder IN LISTS KAVRIN_TOOLKIT_FOLDERS)
    string(FIND "${file}" "${folder}/" at)
    if(at EQUAL 0)
      set(toolkit_allowed TRUE)
    endif()
  endforeach()

  file(STRINGS ${SOURCE_DIR}/${file} lines REGEX "^#[ \t]*include")
  foreach(line IN LISTS lines)
    if(NOT toolkit_allowed AND line MATCHES "${toolkit_regex}")
      string(APPEND faults "${file}: ${line}: toolkit, controller, audio and codec headers belong in ${KAVRIN_TOOLKIT_FOLDERS}\n")
    endif()
    if(layer AND line MATCHES "${project_regex}")
      set(target ${CMAKE_MATCH_1})
      if(NOT target STREQUAL layer AND DEFINED KAVRIN_LAYER_${target})
        list(FIND KAVRIN_LAYER_${layer} ${target} allowed)
        if(allowed EQUAL -1)
          string(APPEND faults "${file}: ${line}: src/${layer} may include only: ${KAVRIN_LAYER_${layer}}\n")
        endif()
      endif()
    endif()
  endforeach()
endforeach()

if(faults)
  message(FATAL_ERROR "Includes that break the layers of cmake/Layers.cmake:\n${faults}")
endif()
list(LENGTH files count)
message(STATUS "layering: ${count} files keep to cmake/Layers.cmake")
