# Target helpers shared by every module: compiler options, DLL export switch,
# self-contained linking and GoogleTest registration.

option(FERN_WERROR "Treat compiler warnings as errors" OFF)

# Options every target of the system compiles and links with.
function(fern_apply_options target)
    target_compile_definitions(${target} PRIVATE
        WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /source-charset:utf-8 /execution-charset:.932)
    else()
        # Sources are UTF-8; the program's texts reach the ANSI API as Shift-JIS.
        target_compile_options(${target} PRIVATE
            -Wall -Wextra -finput-charset=UTF-8 -fexec-charset=CP932)
        if(FERN_WERROR)
            target_compile_options(${target} PRIVATE -Werror)
        endif()
        # A Windows machine has no MinGW runtime: link it into every module.
        target_link_options(${target} PRIVATE -static-libgcc -static-libstdc++ -static)
    endif()
endfunction()

# fern_add_library(<Name> SOURCES ... [LINKS ...])
# A DLL named <Name>.dll with public headers in <Name>/include/<Name>/.
# Its sources see <NAME>_BUILD so that the API macro exports instead of imports.
function(fern_add_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
    add_library(${name} SHARED ${ARG_SOURCES})
    string(TOUPPER ${name} upper)
    target_compile_definitions(${name} PRIVATE ${upper}_BUILD)
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include)
    target_link_libraries(${name} PUBLIC ${ARG_LINKS})
    set_target_properties(${name} PROPERTIES PREFIX "" IMPORT_PREFIX "lib")
    fern_apply_options(${name})
endfunction()

# fern_add_program(<Name> SOURCES ... [LINKS ...] [CONSOLE])
function(fern_add_program name)
    cmake_parse_arguments(ARG "CONSOLE" "" "SOURCES;LINKS" ${ARGN})
    if(ARG_CONSOLE)
        add_executable(${name} ${ARG_SOURCES})
    else()
        add_executable(${name} WIN32 ${ARG_SOURCES})
    endif()
    target_link_libraries(${name} PRIVATE ${ARG_LINKS})
    fern_apply_options(${name})
endfunction()

# fern_add_version_resource(<target> <description>)
# Gives a shipped module its version resource: the project's version as file and
# product version, the product name and <description> (Japanese) as file description.
function(fern_add_version_resource target description)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
        set(FERN_VERSION_TYPE VFT_APP)
        set(FERN_VERSION_FILE ${target}.exe)
    else()
        set(FERN_VERSION_TYPE VFT_DLL)
        set(FERN_VERSION_FILE ${target}.dll)
    endif()
    set(FERN_VERSION_NAME ${target})
    set(FERN_VERSION_DESCRIPTION "${description}")
    set(script ${CMAKE_CURRENT_BINARY_DIR}/${target}Version.rc)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/VersionInfo.rc.in ${script} @ONLY)
    target_sources(${target} PRIVATE ${script})
endfunction()

# fern_add_test(<Name> SOURCES ... [LINKS ...] [LOCK <resource>])
# One GoogleTest executable; its cases are discovered when ctest runs (under the
# emulator when cross-compiling), so building needs no Wine.
# LOCK serialises executables that share a resource (the display, a file).
function(fern_add_test name)
    cmake_parse_arguments(ARG "" "LOCK" "SOURCES;LINKS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LINKS} GTest::gtest_main)
    fern_apply_options(${name})
    set(props TIMEOUT 120)
    if(ARG_LOCK)
        list(APPEND props RESOURCE_LOCK ${ARG_LOCK})
    endif()
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 120
        WORKING_DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}
        PROPERTIES ${props})
endfunction()

# fern_add_benchmark(<Name> SOURCES ... [LINKS ...]): built with the project, run on demand.
function(fern_add_benchmark name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LINKS})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tools/bench)
    fern_apply_options(${name})
endfunction()
