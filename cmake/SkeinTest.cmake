# GoogleTest executables for both architectures; tests are registered (and run through wine64)
# only where the build can execute them.
if(BUILD_TESTING)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  include(GoogleTest)
endif()

# Wine runs the x86_64 tests; SKEIN_WINEPREFIX is set by scripts/test.sh.
set(SKEIN_WINEPREFIX "${CMAKE_BINARY_DIR}/../wineprefix" CACHE PATH "Wine prefix of the tests")
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(SKEIN_CAN_RUN ON)
  set(SKEIN_WINE env WINEPREFIX=${SKEIN_WINEPREFIX} WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
      /usr/lib/wine/wine64)
else()
  set(SKEIN_CAN_RUN OFF)
endif()

# skein_add_test(<name> [SERIAL] [HEAP_CHECKED] SOURCES <files...> [LIBS <libs...>])
# SERIAL: the tests need the foreground window (modal menu loops) and run alone.
# HEAP_CHECKED: Wine checks the heap and fills freed blocks, so a use after free faults at once.
function(skein_add_test name)
  if(NOT BUILD_TESTING)
    return()
  endif()
  cmake_parse_arguments(T "SERIAL;HEAP_CHECKED" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  set(wine "${SKEIN_WINE}")
  if(T_HEAP_CHECKED)
    list(TRANSFORM wine REPLACE "^WINEDEBUG=.*" "WINEDEBUG=-all,warn+heap")
  endif()
  set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${wine}")
  if(SKEIN_CAN_RUN)
    gtest_add_tests(TARGET ${name} SOURCES ${T_SOURCES}
                    WORKING_DIRECTORY $<TARGET_FILE_DIR:${name}> TEST_LIST tests)
    set_tests_properties(${tests} PROPERTIES TIMEOUT 120)
    if(T_SERIAL)
      set_tests_properties(${tests} PROPERTIES RUN_SERIAL TRUE)
    endif()
  endif()
endfunction()
