# The Windows program: one statically linked Quorvane.exe (the toolchain links every program with
# -static), a GUI program with a wide entry point, its icon, version block and manifest built in.
add_executable(Quorvane WIN32 WinMain.cpp resources/quorvane.rc)
target_link_libraries(Quorvane PRIVATE ui_win32 comctl32)
target_link_options(Quorvane PRIVATE -municode $<$<CONFIG:Release,MinSizeRel>:-s>)
set_target_properties(Quorvane PROPERTIES OUTPUT_NAME ${QUORVANE_TITLE})
# The resource compiler is given the include directories of the target, AppInfo.h's among them.
set_property(SOURCE resources/quorvane.rc APPEND PROPERTY OBJECT_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/resources/quorvane.ico ${CMAKE_CURRENT_SOURCE_DIR}/resources/quorvane.manifest)

# The installer: Program Files, a Start-menu shortcut and an entry in the installed programs.
find_program(QUORVANE_WIXL wixl)
if(QUORVANE_WIXL)
    set(msi ${CMAKE_CURRENT_BINARY_DIR}/${QUORVANE_TITLE}-${PROJECT_VERSION}-x64.msi)
    set(QUORVANE_MSI ${msi} PARENT_SCOPE)
    file(RELATIVE_PATH icon_source ${CMAKE_CURRENT_BINARY_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/resources/quorvane.ico)
    configure_file(resources/quorvane.wxs.in quorvane.wxs @ONLY)
    add_custom_command(OUTPUT ${msi}
        COMMAND ${QUORVANE_WIXL} --arch x64 --output ${msi} ${CMAKE_CURRENT_BINARY_DIR}/quorvane.wxs
        DEPENDS Quorvane ${CMAKE_CURRENT_BINARY_DIR}/quorvane.wxs resources/quorvane.ico
        COMMENT "Building the installer ${QUORVANE_TITLE}-${PROJECT_VERSION}-x64.msi")
    add_custom_target(msi ALL DEPENDS ${msi})
else()
    message(STATUS "wixl (package wixl) not found: the installer is not built")
endif()
