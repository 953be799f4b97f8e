# What the test programs share: the fake form (bound through the window's own events), the row printer and the text-box contract.
if(NOT TARGET test_helpers)
    add_library(test_helpers INTERFACE)
    target_include_directories(test_helpers INTERFACE ${CMAKE_CURRENT_LIST_DIR} ${CMAKE_CURRENT_LIST_DIR}/core)
    target_link_libraries(test_helpers INTERFACE runtime ui_common)
endif()
