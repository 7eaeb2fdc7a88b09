# Helpers for the program's own targets.

option(VARDO_WERROR "Treat compiler warnings as errors (CI builds)" OFF)

# Our warning flags, kept to our own targets so they never reach anything
# that links us.
function(vardo_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra $<$<BOOL:${VARDO_WERROR}>:-Werror>)
endfunction()

# vardo_add_library(NAME FOLDER): the static library holding one source folder.
# Its users see that folder's headers alone ("exam/examwindow.h" through an
# include root that holds only exam/), so including a folder a library may not
# use fails to compile, and calling into one it does not link fails to link.
function(vardo_add_library name folder)
    add_library(${name} STATIC)
    vardo_include_root(${name} PUBLIC ${folder} ${PROJECT_SOURCE_DIR}/${folder})
    vardo_warnings(${name})
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
    target_compile_definitions(${target} PRIVATE VARDO_MODULE_DIR="$<TARGET_FILE_DIR:vardo_sound>")
    add_dependencies(${target} vardo_sound)
endfunction()
