# The built Windows program: its resources, a run with real keys under Wine, and its installer.
# Each script exits 77 (skipped) when a tool it needs is missing.
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

# COM, OLE Automation and Active Accessibility are delay-loaded (ui/win32/delayed/): a call to one
# of their functions that is not listed there links as an import that loads before the window.
find_program(QUORVANE_OBJDUMP NAMES x86_64-w64-mingw32-objdump)
if(QUORVANE_OBJDUMP)
    add_test(NAME app_win32_imports COMMAND sh -c
        "! ${QUORVANE_OBJDUMP} -p \"$1\" | grep -iE 'DLL Name: (ole32|oleaut32|oleacc)\\.dll'" sh ${exe})
endif()
