# vyr_add_test(NAME name [QT] [BOTH_ACTIVATIONS] SOURCES ... LIBS ...)
# A GoogleTest program whose cases CTest runs one by one. With QT the program's main
# creates a QApplication on the offscreen platform before running the tests. With
# BOTH_ACTIVATIONS each case runs twice: with the controls drawn in their hosts' widgets, and
# again (suffix ".window") with every control in a window of its own.
function(vyr_add_test)
  cmake_parse_arguments(T "QT;BOTH_ACTIVATIONS" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  if(T_QT)
    target_link_libraries(${T_NAME} PRIVATE vyr_test_qt_main)
  else()
    target_link_libraries(${T_NAME} PRIVATE GTest::gtest_main)
  endif()
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock)
  target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR})
  gtest_discover_tests(${T_NAME}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VYR_TEST_DATA=${PROJECT_SOURCE_DIR}/tests"
    DISCOVERY_TIMEOUT 60)
  if(T_BOTH_ACTIVATIONS)
    gtest_discover_tests(${T_NAME}
      TEST_SUFFIX .window
      TEST_LIST ${T_NAME}_WINDOW_TESTS
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VYR_TEST_DATA=${PROJECT_SOURCE_DIR}/tests;VYR_CONTROL_WINDOWS=1"
      DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

# vyr_add_bench(NAME name [QT] SOURCES ... LIBS ...): a Google Benchmark program (not run by
# CTest). With QT its main runs the benchmarks inside a QApplication on the offscreen platform.
function(vyr_add_bench)
  cmake_parse_arguments(B "QT" "NAME" "SOURCES;LIBS" ${ARGN})
  if(NOT benchmark_FOUND)
    return()
  endif()
  if(B_QT)
    add_executable(${B_NAME} ${B_SOURCES} ${PROJECT_SOURCE_DIR}/bench/support/qt_bench_main.cpp)
    target_link_libraries(${B_NAME} PRIVATE Qt6::Widgets)
  else()
    add_executable(${B_NAME} ${B_SOURCES}) # with its own BENCHMARK_MAIN()
  endif()
  target_link_libraries(${B_NAME} PRIVATE ${B_LIBS} benchmark::benchmark)
  target_include_directories(${B_NAME} PRIVATE ${PROJECT_SOURCE_DIR})
endfunction()
