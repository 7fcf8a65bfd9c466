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

# vrdk_library(<folder> SOURCES ... DEPS ...): the library target of one
# source folder, named vrdk_<folder>. Its DEPS are the layers below it.
function(vrdk_library folder)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(vrdk_${folder} STATIC ${ARG_SOURCES})
  target_include_directories(vrdk_${folder} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(vrdk_${folder} PUBLIC ${ARG_DEPS} PRIVATE vrdk_warnings)
endfunction()

# vrdk_test(<folder> SOURCES ... DEPS ...): one GoogleTest binary per folder.
function(vrdk_test folder)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(vrdk_${folder}_tests ${ARG_SOURCES})
  target_link_libraries(vrdk_${folder}_tests PRIVATE ${ARG_DEPS} vrdk_test_support
                        GTest::gtest GTest::gmock GTest::gtest_main vrdk_warnings)
  gtest_discover_tests(vrdk_${folder}_tests DISCOVERY_TIMEOUT 60
                       PROPERTIES LABELS ${folder})
endfunction()
