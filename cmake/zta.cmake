# Shared settings for the project's own targets.

# Warnings are errors only where asked (the project's scripts ask): a packager's compiler may know
# warnings this code has never met.
function(zta_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(ZTA_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# zta_library(NAME folder-relative sources... [DEPS libs...])
# One library per folder; sources are the folder's .cpp files.
function(zta_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB _sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(_sources)
    add_library(${name} STATIC ${_sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    zta_warnings(${name})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# zta_test(NAME DEPS libs... [ENV vars...] [SERIAL gtest-filter])
# One GoogleTest executable per library, made of the .cpp files of its test folder. The tests the
# SERIAL filter names run on the real clock or a real audio server: ctest runs them one at a time,
# so a parallel run cannot starve them.
function(zta_test name)
  cmake_parse_arguments(ARG "" "SERIAL" "DEPS;ENV" ${ARGN})
  file(GLOB _sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT _sources)
    return()
  endif()
  add_executable(${name} ${_sources})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE
    ZTA_FIXTURES="${PROJECT_SOURCE_DIR}/tests/fixtures"
    ZTA_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    ZTA_BINARY_DIR="${PROJECT_BINARY_DIR}")
  zta_warnings(${name})
  if(ARG_SERIAL)
    gtest_discover_tests(${name} TEST_FILTER "${ARG_SERIAL}" DISCOVERY_TIMEOUT 60
      PROPERTIES ENVIRONMENT "${ARG_ENV}" RUN_SERIAL TRUE)
    gtest_discover_tests(${name} TEST_FILTER "-${ARG_SERIAL}" DISCOVERY_TIMEOUT 60
      PROPERTIES ENVIRONMENT "${ARG_ENV}")
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "${ARG_ENV}")
  endif()
endfunction()
