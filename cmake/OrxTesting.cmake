# orx_add_gtest(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2 [GUI])
# One GoogleTest binary, its cases registered with CTest one by one.
# GUI tests run on Qt's offscreen platform.
function(orx_add_gtest name)
  cmake_parse_arguments(ARG "GUI" "" "SOURCES;LIBS" ${ARGN})
  find_package(GTest REQUIRED)
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest)
  if(NOT ARG_GUI)
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  include(GoogleTest)
  set(env "TZ=UTC;LC_ALL=C.UTF-8")
  if(ARG_GUI)
    list(APPEND env "QT_QPA_PLATFORM=offscreen")
  endif()
  # Cases are named by their index or generated name, never by a printed
  # parameter: a struct prints as its bytes, addresses among them, and the
  # names would change from run to run.
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    NO_PRETTY_VALUES
    PROPERTIES ENVIRONMENT "${env}"
    DISCOVERY_TIMEOUT 30)
endfunction()
