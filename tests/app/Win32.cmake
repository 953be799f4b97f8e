# The built Windows program: its resources, header and imports, a run with real keys under Wine,
# its installer, and DLLs planted beside it. Each script exits 77 (skipped) when a tool it needs is
# missing.
set(exe $<TARGET_FILE:Quorvane>)
find_package(Python3 COMPONENTS Interpreter)
if(Python3_Interpreter_FOUND)
    # The interpreter by path, not as the Python3::Interpreter target: ctest would run a target
    # through the Wine emulator, and Wine does not start a Linux program yet exits with status 0.
    add_test(NAME app_win32_resources COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/check_rc.py
        --rc ${PROJECT_SOURCE_DIR}/app/resources/quorvane.rc --exe ${exe})
    set_tests_properties(app_win32_resources PROPERTIES SKIP_RETURN_CODE 77 ENVIRONMENT PYTHONDONTWRITEBYTECODE=1)
    add_test(NAME app_win32_msi_stamp COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/check_msi_stamp.py
        --stamp ${PROJECT_SOURCE_DIR}/cmake/stamp_msi.py --workdir ${CMAKE_CURRENT_BINARY_DIR}/msi-stamp)
    set_tests_properties(app_win32_msi_stamp PROPERTIES SKIP_RETURN_CODE 77)
endif()

add_test(NAME app_win32_e2e COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e_win32.sh ${QUORVANE_WINE_PREFIX} ${exe})
set_tests_properties(app_win32_e2e PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120)
if(QUORVANE_MSI)
    add_test(NAME app_win32_msi COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/check_msi.sh ${QUORVANE_WINE_PREFIX} ${QUORVANE_MSI} ${exe})
    set_tests_properties(app_win32_msi PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 180)
endif()
add_test(NAME app_win32_no_window COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/check_win32_no_window.sh ${QUORVANE_WINE_PREFIX} ${exe})
set_tests_properties(app_win32_no_window PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120)

# A DLL planted beside the program under system DLLs' names (planted/PlantedDll.cpp), and the
# probe that drives the program along each path on which it loads one.
add_library(planted_dll MODULE planted/PlantedDll.cpp)
set_target_properties(planted_dll PROPERTIES PREFIX "" OUTPUT_NAME planted)
# Self-contained like the programs (the toolchain links only those with -static).
target_link_options(planted_dll PRIVATE -static)
add_executable(dll_probe planted/DllProbe.cpp)
target_link_libraries(dll_probe PRIVATE ui_win32 ole32 oleaut32 oleacc)
target_link_options(dll_probe PRIVATE -municode)
add_test(NAME app_win32_planted_dlls COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/check_planted_dlls.sh ${QUORVANE_WINE_PREFIX}
    ${exe} $<TARGET_FILE:planted_dll> $<TARGET_FILE:dll_probe>)
set_tests_properties(app_win32_planted_dlls PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 180)
