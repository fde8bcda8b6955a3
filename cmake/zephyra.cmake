# SPDX-License-Identifier: GPL-3.0-or-later
# Shared helpers for every folder of the project.

# The one version of every program: the project's, given to the code that
# prints it (--version, the About box) through this target.
add_library(zephyra_version INTERFACE)
target_compile_definitions(zephyra_version INTERFACE ZEPHYRA_VERSION="${PROJECT_VERSION}")

# Warnings are set per target, never globally.
function(zephyra_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow)
endfunction()

# zephyra_test(NAME name SOURCES a.cpp b.cpp LIBS lib... [QT])
# Adds a GoogleTest program and registers its cases with CTest. QT marks a
# test that needs a QApplication: it links zephyra_qt_test_main, which sets
# the offscreen platform and a private settings folder before Qt starts.
function(zephyra_test)
    if(NOT ZEPHYRA_BUILD_TESTS)
        return()
    endif()
    cmake_parse_arguments(T "QT" "NAME;TIMEOUT" "SOURCES;LIBS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    zephyra_warnings(${T_NAME})
    if(T_QT)
        target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} zephyra_qt_test_main GTest::gtest GTest::gmock)
    else()
        target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
    endif()
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    gtest_discover_tests(${T_NAME}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES TIMEOUT ${T_TIMEOUT}
                   ENVIRONMENT "XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/test-config/${T_NAME}"
                   ENVIRONMENT_MODIFICATION "QT_QPA_PLATFORM=set:offscreen;ZEPHYRA_SOURCE_DIR=set:${CMAKE_SOURCE_DIR}")
endfunction()

# The Qt test library gives every program that links it the absolute paths
# of its source and build folders, for a lookup of test data that our tests
# never use (they run under GoogleTest). Left in, the paths would make each
# checkout of the same sources compile every such test anew, past the
# compiler cache.
function(zephyra_qt_test_without_paths)
    get_target_property(definitions Qt6::Test INTERFACE_COMPILE_DEFINITIONS)
    list(FILTER definitions EXCLUDE REGEX "^QT_TESTCASE_(BUILD|SOURCE)DIR=")
    set_target_properties(Qt6::Test PROPERTIES INTERFACE_COMPILE_DEFINITIONS "${definitions}")
endfunction()

# Installed, the program's own shared libraries live in a private folder
# (lib/zephyra under the prefix), where no other package's libraries of the
# same name can meet them; the programs find them through their run path.
set(ZEPHYRA_INSTALL_PRIVATE_LIBDIR "lib/zephyra")

# zephyra_install_library(target): one of the program's own shared libraries,
# installed into the private folder with its run-time name only (no link for
# developers, no headers); it finds the others beside itself.
function(zephyra_install_library target)
    set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN")
    install(TARGETS ${target} LIBRARY DESTINATION ${ZEPHYRA_INSTALL_PRIVATE_LIBDIR} NAMELINK_SKIP)
endfunction()

# zephyra_shared_library(NAME name SOURCES ... [PUBLIC_LIBS ...] [PRIVATE_LIBS ...])
# One of the program's own shared libraries: its public header in include/,
# its own headers in src/, the project's version and warnings, installed as
# zephyra_install_library says.
function(zephyra_shared_library)
    cmake_parse_arguments(L "" "NAME" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
    add_library(${L_NAME} SHARED ${L_SOURCES})
    target_include_directories(${L_NAME}
        PUBLIC $<BUILD_INTERFACE:${CMAKE_CURRENT_SOURCE_DIR}/include>
        PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/src)
    target_link_libraries(${L_NAME} PUBLIC ${L_PUBLIC_LIBS} PRIVATE ${L_PRIVATE_LIBS})
    set_target_properties(${L_NAME} PROPERTIES VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})
    zephyra_warnings(${L_NAME})
    zephyra_install_library(${L_NAME})
endfunction()

# zephyra_install_program(target): a program in bin/ that uses the private
# libraries, found relative to the program wherever the tree is unpacked.
function(zephyra_install_program target)
    file(RELATIVE_PATH toLibraries /${CMAKE_INSTALL_BINDIR} /${ZEPHYRA_INSTALL_PRIVATE_LIBDIR})
    set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN/${toLibraries}")
    install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endfunction()
