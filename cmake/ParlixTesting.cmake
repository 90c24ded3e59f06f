# parlix_add_test(<name> [GUI] SOURCES <files...> LIBS <targets...> [DEFINITIONS <defs...>]
#                  [FIXTURES <ctest fixtures the tests need>])
#
# GUI tests get a main() that creates the QApplication.
#
# One GoogleTest executable; every test in it becomes a ctest test that runs
# with the offscreen Qt platform, so widget tests need no display.
include(GoogleTest)
find_package(GTest REQUIRED)

function(parlix_add_test name)
    cmake_parse_arguments(ARG "GUI" "" "SOURCES;LIBS;DEFINITIONS;FIXTURES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    if(ARG_GUI)
        target_link_libraries(${name} PRIVATE ${ARG_LIBS} parlix_guitestmain GTest::gtest)
    else()
        target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
    endif()
    target_compile_definitions(${name} PRIVATE ${ARG_DEFINITIONS}
        PARLIX_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 30
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120 FIXTURES_REQUIRED "${ARG_FIXTURES}")
endfunction()
