# cmake -DSOURCE_DIR=src -DMAP=layers.txt -P CheckLayers.cmake
# MAP has one line per source folder: "folder=allowed,allowed,...". Fails,
# naming each file and include, when a file includes a header from a folder
# that its library does not link.

cmake_minimum_required(VERSION 3.25)

file(STRINGS "${MAP}" entries)
set(bad "")
foreach(entry IN LISTS entries)
  string(REGEX MATCH "^([^=]+)=(.*)$" _ "${entry}")
  set(folder "${CMAKE_MATCH_1}")
  set(allowed_text "${CMAKE_MATCH_2}")
  string(REPLACE "," ";" allowed "${allowed_text}")
  file(GLOB files "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cc")
  foreach(file IN LISTS files)
    file(STRINGS "${file}" includes REGEX "^#include \"[^\"]+/[^\"/]+\"")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^#include \"(.+)/[^/\"]+\".*$" "\\1" included "${line}")
      if(NOT included IN_LIST allowed)
        file(RELATIVE_PATH shown "${SOURCE_DIR}" "${file}")
        string(APPEND bad "  ${shown}: ${line} (${folder} may include: ${allowed_text})\n")
      endif()
    endforeach()
  endforeach()
endforeach()
if(bad)
  message(FATAL_ERROR "Includes from folders the library does not link:\n${bad}")
endif()
list(LENGTH entries count)
message(STATUS "${count} folders include only from the folders their libraries link")
