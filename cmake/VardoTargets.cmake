# Helpers for the program's own targets.

option(VARDO_WERROR "Treat compiler warnings as errors (CI builds)" OFF)

# Our warning flags, kept to our own targets so they never reach anything
# that links us.
function(vardo_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra $<$<BOOL:${VARDO_WERROR}>:-Werror>)
endfunction()

# Static archives are never linked on their own, so a call into a library
# that a folder may not use would only fail where some program happens to
# link without it. Each library is therefore also linked as a shared object
# against what it may use and nothing else (off for fuzzing: clang links its
# sanitizer runtimes into programs only).
if(VARDO_FUZZ)
    set(VARDO_LINK_CHECK OFF)
else()
    set(VARDO_LINK_CHECK ON)
endif()

# vardo_add_library(NAME FOLDER): the static library holding one source folder.
# Its users see that folder's headers alone ("exam/examwindow.h" through an
# include root that holds only exam/), so including a folder a library may not
# use fails to compile; a relative include out of the folder fails the build,
# and so does a call into a library it does not link.
function(vardo_add_library name folder)
    add_library(${name} STATIC)
    set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
    vardo_include_root(${name} PUBLIC ${folder} ${PROJECT_SOURCE_DIR}/${folder})
    vardo_warnings(${name})
    # Run once the folder's CMakeLists has named the sources and the links
    # (EVAL, because a deferred call reads its variables only when it runs).
    cmake_language(EVAL CODE "cmake_language(DEFER CALL vardo_fence [[${name}]])")
endfunction()

function(vardo_fence name)
    get_target_property(sources ${name} SOURCES)
    get_target_property(source_dir ${name} SOURCE_DIR)
    list(TRANSFORM sources PREPEND ${source_dir}/ REGEX "^[^/]")
    set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${name}.includes)
    add_custom_command(OUTPUT ${stamp}
        COMMAND ${CMAKE_COMMAND} -DSTAMP=${stamp} "-DSOURCES=${sources}"
                -P ${PROJECT_SOURCE_DIR}/cmake/CheckIncludes.cmake
        DEPENDS ${sources} ${PROJECT_SOURCE_DIR}/cmake/CheckIncludes.cmake
        COMMENT "Checking the includes of ${name}"
        VERBATIM)
    add_custom_target(${name}_includes DEPENDS ${stamp})
    add_dependencies(${name} ${name}_includes)

    if(VARDO_LINK_CHECK)
        get_target_property(links ${name} LINK_LIBRARIES)
        add_library(${name}_linkcheck SHARED $<TARGET_OBJECTS:${name}>)
        target_link_libraries(${name}_linkcheck PRIVATE ${links})
        target_link_options(${name}_linkcheck PRIVATE LINKER:--no-undefined)
        set_target_properties(${name}_linkcheck PROPERTIES
            LIBRARY_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/linkcheck)
    endif()
endfunction()

# vardo_include_root(TARGET SCOPE PREFIX FOLDER): lets TARGET's users include
# FOLDER's headers as "PREFIX/header.h", and nothing else through that root.
function(vardo_include_root target scope prefix folder)
    set(root ${PROJECT_BINARY_DIR}/include/${target})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${folder} ${root}/${prefix} SYMBOLIC)
    target_include_directories(${target} ${scope} ${root})
endfunction()

# vardo_beside_cue(TARGET): a developer program or test that opens the cue
# beside itself and loads the sound module from the build folder.
function(vardo_beside_cue target)
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy_if_different
                ${PROJECT_SOURCE_DIR}/assets/Zarod.wav $<TARGET_FILE_DIR:${target}>/Zarod.wav)
    target_compile_definitions(${target} PRIVATE VARDO_MODULE_DIR="$<TARGET_FILE_DIR:vardo_soundmodule>")
    add_dependencies(${target} vardo_soundmodule)
endfunction()
