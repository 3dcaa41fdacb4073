# Small helpers so each folder's CMakeLists stays a few lines. Every target of
# the project goes through kestrix_warnings, so all compile with the same flags.

option(KESTRIX_WERROR "Treat compiler warnings as errors (CI)" OFF)

# kestrix_warnings(<target>): the project's warning flags, errors with KESTRIX_WERROR.
function(kestrix_warnings target)
  target_compile_options(${target} PRIVATE
    $<$<CXX_COMPILER_ID:GNU,Clang>:-Wall -Wextra -Wshadow -Wconversion -Wno-missing-field-initializers>
    $<$<AND:$<BOOL:${KESTRIX_WERROR}>,$<CXX_COMPILER_ID:GNU,Clang>>:-Werror>
    # A unity source includes the .cpp files, so GCC takes their anonymous-namespace test fixtures
    # for types of a header.
    $<$<AND:$<BOOL:$<TARGET_PROPERTY:UNITY_BUILD>>,$<CXX_COMPILER_ID:GNU>>:-Wno-subobject-linkage>)
endfunction()

# Off by default: at -O2, GCC 12 reports bogus array bounds in some inlined std::string code when
# the headers come precompiled. The unoptimised sanitizer build turns it on to save time.
option(KESTRIX_PRECOMPILED_HEADERS "Parse the Qt and GoogleTest headers once for the whole build" OFF)

# kestrix_shared_headers(<target> QT|GTEST): compiles <target> with the headers most of its sources
# include already parsed, shared by every target of that kind (one precompiled header per build).
function(kestrix_shared_headers target kind)
  if(NOT KESTRIX_PRECOMPILED_HEADERS)
    return()
  endif()
  set(shared kestrix_headers_${kind})
  if(NOT TARGET ${shared})
    add_library(${shared} STATIC ${PROJECT_SOURCE_DIR}/cmake/PrecompiledHeaderAnchor.cpp)
    set_target_properties(${shared} PROPERTIES AUTOMOC OFF AUTORCC OFF)
    kestrix_warnings(${shared})
    if(kind STREQUAL "QT")
      target_link_libraries(${shared} PRIVATE Qt6::Widgets)
      target_precompile_headers(${shared} PRIVATE <QtWidgets/QtWidgets> <string> <vector> <memory> <functional>)
    else()
      target_link_libraries(${shared} PRIVATE GTest::gtest)
      target_precompile_headers(${shared} PRIVATE <gtest/gtest.h> <string> <vector> <memory> <filesystem>)
    endif()
  endif()
  target_precompile_headers(${target} REUSE_FROM ${shared})
endfunction()

# kestrix_add_library(<name> SOURCES ... [LIBS ...] [QT])
function(kestrix_add_library name)
  cmake_parse_arguments(ARG "QT" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  kestrix_warnings(${name})
  if(ARG_QT)
    kestrix_shared_headers(${name} QT)
  else()
    set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTORCC OFF)
  endif()
endfunction()

# kestrix_add_executable(<name> SOURCES ... [LIBS ...] [QT])
function(kestrix_add_executable name)
  cmake_parse_arguments(ARG "QT" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  kestrix_warnings(${name})
  if(ARG_QT)
    kestrix_shared_headers(${name} QT)
  else()
    set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTORCC OFF)
  endif()
endfunction()

# kestrix_add_test(<name> SOURCES ... LIBS ... [QT])
# GoogleTest for plain libraries, each test case its own ctest entry named
# <name>.<Suite>.<Case> (in a cross build one entry <name>, run through
# CMAKE_CROSSCOMPILING_EMULATOR); QT marks a Qt Test that runs offscreen.
# A Windows-only test is the same call inside if(WIN32).
function(kestrix_add_test name)
  if(NOT KESTRIX_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "QT" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  # Under Wine a path without a drive lies on the current drive, which a test's temporary folder moves
  # to C:; the tests' samples are reached through Z:, the host's root in every prefix (cmake/wine-run).
  set(sourceDir "${PROJECT_SOURCE_DIR}")
  if(CMAKE_CROSSCOMPILING AND WIN32)
    set(sourceDir "Z:${PROJECT_SOURCE_DIR}")
  endif()
  target_compile_definitions(${name} PRIVATE KESTRIX_SOURCE_DIR="${sourceDir}")
  kestrix_warnings(${name})
  if(ARG_QT)
    kestrix_shared_headers(${name} QT)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
  else()
    set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTORCC OFF)
    kestrix_shared_headers(${name} GTEST)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} kestrix_test_main)
    if(CMAKE_CROSSCOMPILING)
      # One entry per executable: listing the cases would start every test binary under the
      # emulator once more. The time-out ends a binary that hangs there.
      add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
      set_tests_properties(${name} PROPERTIES TIMEOUT 900)
    else()
      # Listed when ctest runs, so a build never runs a test binary.
      gtest_discover_tests(${name} TEST_PREFIX "${name}." DISCOVERY_MODE PRE_TEST PROPERTIES TIMEOUT 300)
    endif()
  endif()
endfunction()
