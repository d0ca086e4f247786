# Helpers that keep each layer's CMakeLists short: a layer's sources are the .cpp files
# of its folder (and sub-folders), so adding a file needs no edit here.

# nivra_layer(NAME DIR [QT] [DEPS dep...]) : a static library of every .cpp/.h below DIR.
function(nivra_layer name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
       ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  if(NOT srcs)
    set(srcs ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# nivra_test_dir(NAME DIR DEPS...) : one GoogleTest program of every .cpp in the folder.
function(nivra_test_dir name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs} ${PROJECT_SOURCE_DIR}/cmake/test_defaults.cpp
                 ${PROJECT_SOURCE_DIR}/cmake/lsan_suppressions.cpp)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
      NIVRA_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
      NIVRA_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()
