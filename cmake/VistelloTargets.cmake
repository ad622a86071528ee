# Helpers shared by the module, test and benchmark folders.

# vistello_module(NAME [QT] SOURCES... LINKS ...) defines the static library vistello_NAME
# whose headers are included as "NAME/header.h" from src/. QT runs moc on it.
function(vistello_module name)
  cmake_parse_arguments(M "QT" "" "SOURCES;LINKS" ${ARGN})
  add_library(vistello_${name} STATIC ${M_SOURCES})
  set_target_properties(vistello_${name} PROPERTIES AUTOMOC ${M_QT})
  target_include_directories(vistello_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(vistello_${name} PUBLIC ${M_LINKS})
endfunction()

# Registers a test program: offscreen, no sound device, and the leak suppressions for the
# outside libraries' own leaks, so a plain ctest in any build folder behaves as CI does.
function(vistello_add_test name target)
  add_test(NAME ${name} COMMAND ${target})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT
    "QT_QPA_PLATFORM=offscreen;SDL_AUDIODRIVER=dummy;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp")
endfunction()

# vistello_gtest(FILE LINKS ...): one GoogleTest program per test file, run by ctest.
function(vistello_gtest file)
  cmake_parse_arguments(T "" "" "LINKS" ${ARGN})
  get_filename_component(stem ${file} NAME_WE)
  get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  set(target test_${folder}_${stem})
  add_executable(${target} ${file})
  target_link_libraries(${target} PRIVATE ${T_LINKS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_definitions(${target} PRIVATE VISTELLO_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
  vistello_add_test(${folder}.${stem} ${target})
endfunction()

# vistello_qtest(FILE LINKS ...): one QtTest program per test file, offscreen, no sound device.
function(vistello_qtest file)
  cmake_parse_arguments(T "" "" "LINKS" ${ARGN})
  get_filename_component(stem ${file} NAME_WE)
  get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  set(target test_${folder}_${stem})
  add_executable(${target} ${file})
  target_link_libraries(${target} PRIVATE ${T_LINKS} Qt6::Test)
  target_compile_definitions(${target} PRIVATE VISTELLO_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
  vistello_add_test(${folder}.${stem} ${target})
endfunction()
