# orvanel_subsystem(NAME DEPENDS ...): a static library of every .cpp file of the
# calling folder, so that adding a file to a subsystem needs no build edit.
function(orvanel_subsystem name)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARG_DEPENDS})
  endif()
endfunction()

# orvanel_test(NAME SOURCES ... LIBS ...): one GoogleTest program, its tests known to CTest.
function(orvanel_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} orvanel_test_support GTest::gtest GTest::gtest_main)
  # Parameterised cases are listed by the names their generators give, without a
  # print of the parameter after them.
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES
    PROPERTIES ENVIRONMENT "ORVANEL_BUILD_DIR=${PROJECT_BINARY_DIR}")
endfunction()
