# Settings and helpers shared by every folder of the tree.
#
# Two builds of one tree: LORVIK_WINDOWS (MinGW-w64, everything, tests under Wine)
# and the host build (only what needs no Windows, with sanitizers and libFuzzer).

if(WIN32)
    set(LORVIK_WINDOWS ON)
else()
    set(LORVIK_WINDOWS OFF)
endif()

option(LORVIK_SANITIZE "Build the host tree with AddressSanitizer and UBSan" ON)

option(LORVIK_WERROR "Warnings are errors (the presets make check builds)" OFF)

set(LORVIK_WARNINGS -Wall -Wextra -Wno-unused-parameter -Wno-missing-field-initializers)
if(LORVIK_WERROR)
    list(APPEND LORVIK_WARNINGS -Werror)
endif()

if(LORVIK_WINDOWS)
    # One .exe that runs alone: no MinGW runtime DLLs beside it.
    add_link_options(-static)
    add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
    add_compile_options(-fno-exceptions)
    # Resource scripts (app/res) go through windres.
    enable_language(RC)
else()
    if(LORVIK_SANITIZE)
        set(LORVIK_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=undefined
                              -fno-omit-frame-pointer)
        add_compile_options(${LORVIK_SANITIZERS})
        add_link_options(${LORVIK_SANITIZERS})
    endif()
    if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        # Coverage hooks everywhere, so fuzz targets see into the libraries they drive.
        set(LORVIK_FUZZING ON)
        add_compile_options(-fsanitize=fuzzer-no-link)
    else()
        set(LORVIK_FUZZING OFF)
    endif()
endif()

# lorvik_library(name SOURCES... [LIBS ...]): a static library of one folder.
function(lorvik_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_compile_options(${name} PRIVATE ${LORVIK_WARNINGS})
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
endfunction()

# Tests: GoogleTest from the Debian sources for MinGW, the installed package on the host.
if(LORVIK_WINDOWS)
    if(NOT TARGET gtest)
        set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
        set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
        set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
        add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    endif()
    set(LORVIK_GTEST_MAIN gtest_main gmock)
else()
    find_package(GTest REQUIRED)
    set(LORVIK_GTEST_MAIN GTest::gtest_main GTest::gmock)
endif()
include(GoogleTest)

# lorvik_discover(target PREFIX SERIAL FOREGROUND): every case of a GoogleTest executable a
# CTest test, named PREFIX and the case.
# PRE_TEST: listing the cases under Wine happens when ctest runs, inside the warmed prefix.
# A case passes only when GoogleTest says so: a test program that dies without a word
# (Wine ends one whose stack overflowed with exit status 0) must not count as passing.
function(lorvik_discover target prefix serial foreground)
    set(lock "")
    if(foreground)
        set(lock RESOURCE_LOCK foreground)
    endif()
    gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 180
                         TEST_PREFIX "${prefix}"
                         PROPERTIES TIMEOUT 120 RUN_SERIAL ${serial} ${lock}
                         PASS_REGULAR_EXPRESSION "\\[  PASSED  \\] 1 test\\.|\\[  SKIPPED \\] 1 test"
                         FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]")
endfunction()

# lorvik_test(name [SERIAL] [FOREGROUND] [STRICT] SOURCES... LIBS ...): one GoogleTest
# executable, every case a CTest test.
# SERIAL: the cases run while no other test runs (long cases that the Wine server's
# contention with test programs starting beside them would slow down many times).
# FOREGROUND: the cases activate windows or take the keyboard focus, or need it to stay where
# they put it (menus, drop-downs and edit boxes close when it goes); they hold the
# "foreground" lock, so no two of them run at once and none takes the focus from another.
# STRICT (Windows build): a twin NAME_strict is linked with the strict test bed
# (tests/strict) and compiled with LORVIK_STRICT; its cases are named "strict." and the case.
# The twin is made at the end of the folder, so it copies what was added to NAME later.
function(lorvik_test name)
    cmake_parse_arguments(ARG "SERIAL;FOREGROUND;STRICT" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_compile_options(${name} PRIVATE ${LORVIK_WARNINGS})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} ${LORVIK_GTEST_MAIN})
    set(serial FALSE)
    if(ARG_SERIAL)
        set(serial TRUE)
    endif()
    set(foreground FALSE)
    if(ARG_FOREGROUND)
        set(foreground TRUE)
    endif()
    lorvik_discover(${name} "" ${serial} ${foreground})
    if(ARG_STRICT AND LORVIK_WINDOWS)
        # A deferred call reads its arguments' variables when it runs: the values go in now.
        cmake_language(EVAL CODE
            "cmake_language(DEFER CALL lorvik_strict_twin ${name} ${serial} ${foreground})")
    endif()
endfunction()

# The strict twin of a test executable: the same sources, options and libraries, and the
# strict test bed.
function(lorvik_strict_twin name serial foreground)
    set(twin ${name}_strict)
    get_target_property(sources ${name} SOURCES)
    add_executable(${twin} ${sources})
    foreach(property LINK_LIBRARIES LINK_OPTIONS COMPILE_OPTIONS COMPILE_DEFINITIONS
                     INCLUDE_DIRECTORIES)
        get_target_property(value ${name} ${property})
        if(value)
            set_property(TARGET ${twin} PROPERTY ${property} "${value}")
        endif()
    endforeach()
    target_link_libraries(${twin} PRIVATE lorvik_strict)
    target_compile_definitions(${twin} PRIVATE LORVIK_STRICT)
    lorvik_discover(${twin} "strict." ${serial} ${foreground})
endfunction()

# lorvik_fuzzer(name SOURCES... LIBS ...): a libFuzzer target (host build with clang only).
function(lorvik_fuzzer name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    if(NOT LORVIK_FUZZING)
        return()
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_compile_options(${name} PRIVATE ${LORVIK_WARNINGS})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    set_property(GLOBAL APPEND PROPERTY LORVIK_FUZZERS ${name})
endfunction()
