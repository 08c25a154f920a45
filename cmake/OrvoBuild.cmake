# Shared build settings: warnings for our own code, sanitizer builds, and small helpers
# that give every layer library and test executable the same flags.

option(ORVO_WERROR "Treat warnings in our code as errors" OFF)
set(ORVO_SANITIZE "" CACHE STRING "Sanitizers for the whole build, e.g. address;undefined or thread")

set(ORVO_WARNINGS -Wall -Wextra -Wpedantic -Wno-missing-field-initializers)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # clang (the fuzz preset) has no such option and would warn about it in every file.
  list(APPEND ORVO_WARNINGS -Wshadow=local)
endif()
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  # GCC 12 reports "literal" + std::string inside libstdc++ as overlapping memcpy
  # (GCC bug 105651), a false alarm at -O2 that would drown real warnings.
  list(APPEND ORVO_WARNINGS -Wno-restrict)
endif()
if(ORVO_WERROR)
  list(APPEND ORVO_WARNINGS -Werror)
endif()

if(ORVO_SANITIZE)
  list(JOIN ORVO_SANITIZE "," _san)
  add_compile_options(-fsanitize=${_san} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${_san})
endif()

if(WIN32)
  # Unicode Win32 API everywhere; no min/max macros; Windows 7 as the oldest target.
  add_compile_definitions(UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601)
endif()

# orvo_library(name SOURCES ... [DEPS ...]) : one library per layer folder.
function(orvo_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_compile_options(${name} PRIVATE ${ORVO_WARNINGS})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
endfunction()

# orvo_executable(name SOURCES ... [DEPS ...])
function(orvo_executable name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE ${ORVO_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
endfunction()

# orvo_test(name SOURCES ... [DEPS ...]) : a GoogleTest executable. Natively every test case
# becomes a CTest test; the Windows build only produces the .exe, which ./test.sh runs under
# Wine.
function(orvo_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE ${ORVO_WARNINGS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock)
  target_compile_definitions(${name} PRIVATE ORVO_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  if(NOT WIN32)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
                         WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
                         PROPERTIES TIMEOUT 120)
  endif()
endfunction()
