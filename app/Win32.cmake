# The Windows program: one statically linked Quorvane.exe (the toolchain links every program with
# -static), a GUI program with a wide entry point, its icon, version block and manifest built in.
add_executable(Quorvane WIN32 WinMain.cpp resources/quorvane.rc)
target_link_libraries(Quorvane PRIVATE ui_win32 app_info)
# No link time in the header: the same sources link to the same bytes.
target_link_options(Quorvane PRIVATE -municode -Wl,--no-insert-timestamp $<$<CONFIG:Release,MinSizeRel>:-s>)
set_target_properties(Quorvane PROPERTIES OUTPUT_NAME ${QUORVANE_TITLE})
# The resource compiler is given the include directories of the target, AppInfo.h's among them.
set_property(SOURCE resources/quorvane.rc APPEND PROPERTY OBJECT_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/resources/quorvane.ico ${CMAKE_CURRENT_SOURCE_DIR}/resources/quorvane.manifest)

# The installer: Program Files, a Start-menu shortcut and an entry in the installed programs.
# wixl dates the package and the program in its cabinet by the clock and the file, and draws the
# package code at random: the program goes in as a copy dated from the sources' last change, and
# stamp_msi.py sets the dates and a package code made from the content. The product code changes
# with the version only. wixl leaves the program's version out of the File table, where Windows
# Installer looks for it to decide what a repair or an upgrade replaces: msibuild (msitools)
# writes it.
find_program(QUORVANE_WIXL wixl)
find_program(QUORVANE_MSIBUILD msibuild)
find_package(Python3 COMPONENTS Interpreter)
if(QUORVANE_WIXL AND QUORVANE_MSIBUILD AND Python3_Interpreter_FOUND)
    set(msi ${CMAKE_CURRENT_BINARY_DIR}/${QUORVANE_TITLE}-${PROJECT_VERSION}-x64.msi)
    set(QUORVANE_MSI ${msi} PARENT_SCOPE)
    set(QUORVANE_UPGRADE_CODE 8FB02B9A-2308-40D4-BC0A-CEC80CCEB4E6)
    string(UUID QUORVANE_PRODUCT_CODE NAMESPACE ${QUORVANE_UPGRADE_CODE} NAME ${PROJECT_VERSION} TYPE SHA1 UPPER)
    set(stage ${CMAKE_CURRENT_BINARY_DIR}/msi)
    file(RELATIVE_PATH icon_source ${stage} ${CMAKE_CURRENT_SOURCE_DIR}/resources/quorvane.ico)
    configure_file(resources/quorvane.wxs.in ${stage}/quorvane.wxs @ONLY)
    add_custom_command(OUTPUT ${msi}
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Quorvane> ${stage}/${QUORVANE_TITLE}.exe
        COMMAND touch -d @${QUORVANE_SOURCE_DATE_EPOCH} ${stage}/${QUORVANE_TITLE}.exe
        COMMAND ${CMAKE_COMMAND} -E env TZ=UTC ${QUORVANE_WIXL} --arch x64 --output ${msi} ${stage}/quorvane.wxs
        COMMAND ${QUORVANE_MSIBUILD} ${msi} -q "UPDATE File SET Version='${PROJECT_VERSION}' WHERE File='ProgramExe'"
        COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/cmake/stamp_msi.py ${msi} ${QUORVANE_SOURCE_DATE_EPOCH}
        DEPENDS Quorvane ${stage}/quorvane.wxs resources/quorvane.ico ${PROJECT_SOURCE_DIR}/cmake/stamp_msi.py
        WORKING_DIRECTORY ${stage}
        COMMENT "Building the installer ${QUORVANE_TITLE}-${PROJECT_VERSION}-x64.msi"
        VERBATIM)
    add_custom_target(msi ALL DEPENDS ${msi})
else()
    message(STATUS "wixl (package wixl), msibuild (msitools) or python3 not found: the installer is not built")
endif()
