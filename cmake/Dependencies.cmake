# Every dependency comes from a Debian package that scripts/setup.sh installs.
find_package(Threads REQUIRED)
find_package(nlohmann_json 3 REQUIRED)
if(CMAKE_CROSSCOMPILING)
    # The package's include folder is the build machine's /usr/include, whose C library headers would
    # shadow mingw's. The cross compiler sees the one header folder through a folder of its own.
    get_target_property(json_include nlohmann_json::nlohmann_json INTERFACE_INCLUDE_DIRECTORIES)
    list(GET json_include 0 json_include)
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/host-headers)
    file(CREATE_LINK ${json_include}/nlohmann ${CMAKE_BINARY_DIR}/host-headers/nlohmann SYMBOLIC)
    set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
        INTERFACE_INCLUDE_DIRECTORIES ${CMAKE_BINARY_DIR}/host-headers)
endif()

if(BRISKO_BUILD_TESTS)
    if(WIN32)
        # The Windows test executables link GoogleTest built from Debian's sources with the cross compiler.
        set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
        set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
        add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
        # GoogleTest 1.11 and later name their targets GTest::* themselves.
        if(NOT TARGET GTest::gtest)
            add_library(GTest::gtest ALIAS gtest)
            add_library(GTest::gtest_main ALIAS gtest_main)
            add_library(GTest::gmock ALIAS gmock)
        endif()
    else()
        find_package(GTest REQUIRED)
    endif()
endif()
if(BRISKO_BUILD_BENCH AND NOT WIN32)
    find_package(benchmark REQUIRED)
endif()

# CLI11 (header-only) for the command line. Like nlohmann-json, the cross build sees its one folder of
# headers through a folder of its own.
add_library(brisko_cli11 INTERFACE)
if(CMAKE_CROSSCOMPILING)
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/host-headers)
    file(CREATE_LINK /usr/include/CLI ${CMAKE_BINARY_DIR}/host-headers/CLI SYMBOLIC)
    target_include_directories(brisko_cli11 SYSTEM INTERFACE ${CMAKE_BINARY_DIR}/host-headers)
elseif(NOT EXISTS /usr/include/CLI/CLI.hpp)
    message(FATAL_ERROR "CLI11 is missing: run scripts/setup.sh")
endif()
