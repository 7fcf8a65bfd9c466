# Shared compile settings and helpers for the project's targets.

# The project's own code is kept free of these warnings. They become errors only
# with VRDK_WERROR (the test command and CI turn it on), so that a newer
# compiler's new warnings never break a user's build.
add_library(vrdk_warnings INTERFACE)
target_compile_options(vrdk_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
  -Wcast-align -Woverloaded-virtual -Wimplicit-fallthrough)
if(VRDK_WERROR)
  target_compile_options(vrdk_warnings INTERFACE -Werror)
endif()

if(VRDK_FUZZ)
  # Everything the fuzzers link is instrumented for coverage and checked.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(VRDK_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# The version every program prints (VRDK_VERSION), from project() alone.
add_library(vrdk_version INTERFACE)
target_compile_definitions(vrdk_version INTERFACE VRDK_VERSION="${PROJECT_VERSION}")

# Optimised programs are hardened as Debian builds its packages: fortified
# libc calls, a stack protector, position-independent code, and full RELRO
# with every symbol bound at start. _FORTIFY_SOURCE needs optimisation, so
# Debug builds go without; the sanitizer and fuzz builds check more than it
# does, and Windows programs link otherwise.
option(VRDK_HARDEN "Harden optimised builds as Debian's packages are" ON)
if(VRDK_HARDEN AND NOT WIN32 AND NOT VRDK_SANITIZE AND NOT VRDK_FUZZ)
  set(vrdk_optimised "$<CONFIG:Release,RelWithDebInfo,MinSizeRel>")
  add_compile_options(
    "$<${vrdk_optimised}:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2;-fstack-protector-strong;-Wformat;-Werror=format-security>")
  add_link_options("$<${vrdk_optimised}:LINKER:-z,relro;LINKER:-z,now>")
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
endif()

# vrdk_library(<folder> SOURCES ... DEPS ...): the library target of one
# source folder, named vrdk_<folder>. Its DEPS are the layers below it.
# A folder of headers alone gives HEADERS instead of SOURCES.
function(vrdk_library folder)
  cmake_parse_arguments(ARG "" "" "SOURCES;HEADERS;DEPS" ${ARGN})
  if(ARG_SOURCES)
    add_library(vrdk_${folder} STATIC ${ARG_SOURCES})
    target_include_directories(vrdk_${folder} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(vrdk_${folder} PUBLIC ${ARG_DEPS} PRIVATE vrdk_warnings)
  else()
    add_library(vrdk_${folder} INTERFACE)
    target_include_directories(vrdk_${folder} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(vrdk_${folder} INTERFACE ${ARG_DEPS})
  endif()
  # Remember the library's folders and DEPS for vrdk_check_layers.
  set(dirs "")
  foreach(source IN LISTS ARG_SOURCES ARG_HEADERS)
    if(NOT IS_ABSOLUTE "${source}")
      get_filename_component(dir "${source}" DIRECTORY)
      list(APPEND dirs "${dir}")
    endif()
  endforeach()
  list(REMOVE_DUPLICATES dirs)
  set_property(GLOBAL APPEND PROPERTY VRDK_LAYER_TARGETS vrdk_${folder})
  set_property(GLOBAL PROPERTY VRDK_LAYER_DIRS_vrdk_${folder} "${dirs}")
  set_property(GLOBAL PROPERTY VRDK_LAYER_DEPS_vrdk_${folder} "${ARG_DEPS}")
endfunction()

# The source folders a library may include from: its own and those of every
# vrdk_ library it links, directly or through another.
function(vrdk_layer_folders target out)
  get_property(dirs GLOBAL PROPERTY VRDK_LAYER_DIRS_${target})
  get_property(deps GLOBAL PROPERTY VRDK_LAYER_DEPS_${target})
  get_property(known GLOBAL PROPERTY VRDK_LAYER_TARGETS)
  foreach(dep IN LISTS deps)
    if(dep IN_LIST known)
      vrdk_layer_folders(${dep} dep_dirs)
      list(APPEND dirs ${dep_dirs})
    endif()
  endforeach()
  list(REMOVE_DUPLICATES dirs)
  set(${out} "${dirs}" PARENT_SCOPE)
endfunction()

# A test that every #include "folder/file.h" in src/ names a folder its
# library links, so that the DEPS of the libraries stay the layer picture
# (every library sees all of src/, so the compiler does not check this).
function(vrdk_check_layers)
  get_property(targets GLOBAL PROPERTY VRDK_LAYER_TARGETS)
  set(lines "")
  foreach(target IN LISTS targets)
    get_property(own GLOBAL PROPERTY VRDK_LAYER_DIRS_${target})
    vrdk_layer_folders(${target} allowed)
    string(REPLACE ";" "," allowed "${allowed}")
    foreach(dir IN LISTS own)
      string(APPEND lines "${dir}=${allowed}\n")
    endforeach()
  endforeach()
  set(map "${CMAKE_BINARY_DIR}/layers.txt")
  file(CONFIGURE OUTPUT "${map}" CONTENT "${lines}")
  if(VRDK_TESTS)
    add_test(NAME layers.IncludesFollowTheLibraryDeps
             COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}/src -DMAP=${map}
                     -P ${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake)
  endif()
endfunction()

# vrdk_test(<folder> SOURCES ... DEPS ...): one GoogleTest binary per folder.
function(vrdk_test folder)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(vrdk_${folder}_tests ${ARG_SOURCES})
  target_link_libraries(vrdk_${folder}_tests PRIVATE ${ARG_DEPS} vrdk_test_support
                        GTest::gtest GTest::gmock GTest::gtest_main vrdk_warnings)
  if(CMAKE_CROSSCOMPILING)
    # One test per binary, run through the emulator (wine64 for Windows):
    # listing each case would start the emulator once per case.
    add_test(NAME ${folder} COMMAND vrdk_${folder}_tests)
    set_tests_properties(${folder} PROPERTIES LABELS ${folder})
  else()
    gtest_discover_tests(vrdk_${folder}_tests DISCOVERY_TIMEOUT 60
                         PROPERTIES LABELS ${folder})
  endif()
endfunction()
