# QUORVANE_SOURCE_DATE_EPOCH: the time of the sources' last change, in seconds since 1970, which
# the packaging tools stamp into the packages instead of the time of the build. In this order:
# SOURCE_DATE_EPOCH from the environment; the last commit's time in a git checkout; else (a
# release tarball) the newest file that goes into the packages. git archive gives every file the
# commit's time, so a tarball and its checkout agree.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(QUORVANE_SOURCE_DATE_EPOCH $ENV{SOURCE_DATE_EPOCH})
    set(origin "the environment")
    if(NOT QUORVANE_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
        message(FATAL_ERROR "SOURCE_DATE_EPOCH is not a whole number of seconds: '${QUORVANE_SOURCE_DATE_EPOCH}'")
    endif()
else()
    set(QUORVANE_SOURCE_DATE_EPOCH "")
    find_package(Git QUIET)
    if(Git_FOUND AND EXISTS ${PROJECT_SOURCE_DIR}/.git)
        execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct
            WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
            OUTPUT_VARIABLE QUORVANE_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
        set(origin "the last commit")
        # A new commit configures again, so that the packages take its time.
        execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --path-format=absolute --git-path logs/HEAD
            WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
            OUTPUT_VARIABLE head_log OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
        if(head_log AND EXISTS "${head_log}")
            set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${head_log}")
        endif()
    endif()
    if(NOT QUORVANE_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
        set(QUORVANE_SOURCE_DATE_EPOCH 0)
        set(origin "the newest source file")
        file(GLOB_RECURSE sources LIST_DIRECTORIES false
            ${PROJECT_SOURCE_DIR}/CMakeLists.txt ${PROJECT_SOURCE_DIR}/app/*
            ${PROJECT_SOURCE_DIR}/cmake/* ${PROJECT_SOURCE_DIR}/core/*
            ${PROJECT_SOURCE_DIR}/runtime/* ${PROJECT_SOURCE_DIR}/ui/*)
        foreach(source IN LISTS sources)
            file(TIMESTAMP ${source} modified "%s" UTC)
            if(modified GREATER QUORVANE_SOURCE_DATE_EPOCH)
                set(QUORVANE_SOURCE_DATE_EPOCH ${modified})
            endif()
        endforeach()
    endif()
endif()
message(STATUS "Packages dated SOURCE_DATE_EPOCH=${QUORVANE_SOURCE_DATE_EPOCH}, from ${origin}")
