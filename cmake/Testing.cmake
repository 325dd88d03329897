# vxxx_add_test(<target> SOURCES ... [LIBS ...] [TIMEOUT seconds])
# Builds a GoogleTest or Qt Test program and registers it with CTest. Every test has a
# time-out so a hang fails instead of stalling, and windows run on the offscreen platform.
function(vxxx_add_test target)
    cmake_parse_arguments(ARG "QTEST" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 60)
    endif()
    add_executable(${target} ${ARG_SOURCES})
    target_link_libraries(${target} PRIVATE ${ARG_LIBS})
    if(ARG_QTEST)
        vxxx_qt_target(${target})
    else()
        target_link_libraries(${target} PRIVATE GTest::gmock GTest::gtest_main)
    endif()
    add_test(NAME ${target} COMMAND ${target})
    set_tests_properties(${target} PROPERTIES
        TIMEOUT ${ARG_TIMEOUT}
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp;UBSAN_OPTIONS=print_stacktrace=1;HOME=${CMAKE_CURRENT_BINARY_DIR}/home-${target};XDG_CONFIG_HOME=${CMAKE_CURRENT_BINARY_DIR}/home-${target}/.config")
endfunction()
