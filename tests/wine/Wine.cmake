# The cross-built tests: every program runs under Wine (run.sh), in one prefix of this build tree,
# made by the first run. GoogleTest is built from Debian's source package. The first start of a
# new prefix takes many seconds, so the test lists are read at test time (PRE_TEST), not at build
# time, with time enough.
set(QUORVANE_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources to cross-build (package googletest)")
set(QUORVANE_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
set(wine_run ${CMAKE_CURRENT_SOURCE_DIR}/wine/run.sh)
find_program(QUORVANE_WINE wine)

if(NOT EXISTS ${QUORVANE_GOOGLETEST_SOURCE}/CMakeLists.txt OR NOT QUORVANE_WINE)
    message(STATUS "Wine tests skipped: wine (wine, wine64) or ${QUORVANE_GOOGLETEST_SOURCE} (googletest) not found")
    # Still one test, which run.sh skips (77) and says why.
    add_test(NAME wine_tests COMMAND ${wine_run} ${QUORVANE_WINE_PREFIX} missing.exe)
    set_tests_properties(wine_tests PROPERTIES SKIP_RETURN_CODE 77)
    return()
endif()

set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${QUORVANE_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(CMAKE_CROSSCOMPILING_EMULATOR ${wine_run} ${QUORVANE_WINE_PREFIX})
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
add_subdirectory(runtime)
add_subdirectory(core)
add_subdirectory(ui/win32)
add_subdirectory(app)
