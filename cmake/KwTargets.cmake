# Helpers for the project's tests, fuzz targets and benchmarks.

find_package(GTest REQUIRED)
include(GoogleTest)

# kw_add_test(NAME SOURCES... LIBS libs...): one GoogleTest executable whose
# cases CTest discovers one by one.
function(kw_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gmock GTest::gtest_main)
    # LeakSanitizer reads its suppressions (leaks of the GL driver, not
    # ours) from the file named here; programs the tests start inherit it.
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                         PROPERTIES ENVIRONMENT "KW_BUILD_DIR=${PROJECT_BINARY_DIR}"
                         ENVIRONMENT_MODIFICATION
                         "LSAN_OPTIONS=set:suppressions=${PROJECT_SOURCE_DIR}/tests/lsan-suppressions.txt")
endfunction()

# kw_add_fuzzer(NAME SOURCE LIBS libs...): a libFuzzer target when KW_FUZZ is
# on; otherwise the same entry point behind a small driver that replays the
# seed corpus fuzz/corpus/NAME, so the ordinary test run keeps every target
# compiling and its seeds passing under the sanitizers.
function(kw_add_fuzzer name source)
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    if(KW_FUZZ)
        add_executable(${name} ${source})
        target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    else()
        add_executable(${name} ${source} ${PROJECT_SOURCE_DIR}/fuzz/ReplayMain.cpp)
        add_test(NAME ${name}.replay
                 COMMAND ${name} ${PROJECT_SOURCE_DIR}/fuzz/corpus/${name})
    endif()
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
endfunction()

# kw_add_folder(DIR): adds DIR when it has a CMakeLists.txt and KW_SKIP does
# not name it.
function(kw_add_folder dir)
    file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${dir})
    if(NOT EXISTS ${dir}/CMakeLists.txt)
        return()
    endif()
    if(NOT KW_SKIP STREQUAL "" AND relative MATCHES "${KW_SKIP}")
        message(STATUS "Leaving out ${relative}")
        return()
    endif()
    add_subdirectory(${dir})
endfunction()
