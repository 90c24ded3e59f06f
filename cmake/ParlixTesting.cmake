# parlix_add_test(<name> SOURCES <files...> LIBS <targets...>)
#
# One GoogleTest executable; every test in it becomes a ctest test that runs
# with the offscreen Qt platform, so widget tests need no display.
include(GoogleTest)
find_package(GTest REQUIRED)

function(parlix_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;DEFINITIONS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
    target_compile_definitions(${name} PRIVATE ${ARG_DEFINITIONS}
        PARLIX_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 30
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=0" TIMEOUT 120)
endfunction()
