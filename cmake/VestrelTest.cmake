# vestrel_test(NAME SOURCES... LIBS ... [WINE_LOCK]) adds a GoogleTest executable and registers it
# with ctest: natively it runs as it is; in the cross build it runs under Wine (scripts/wine-run.sh).
# Windows tests that touch the shared prefix's files or registry take one ctest resource lock.
function(vestrel_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  if(VESTREL_WINDOWS)
    target_link_libraries(${name} PRIVATE ${T_LIBS} gtest gtest_main)
    add_test(NAME ${name}.wine
             COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh $<TARGET_FILE:${name}>)
    set_tests_properties(${name}.wine PROPERTIES RESOURCE_LOCK wineprefix TIMEOUT 300)
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 300)
  endif()
endfunction()
