# debian/copyright, in Debian's machine-readable format, is installed as
# share/doc/vardo/copyright. Its licence paragraphs repeat LICENSE and
# LICENSES/CC-BY-4.0.txt word for word; configuring fails when they drift.

# A text as the body of a DEP-5 field: every line indented by one space, an
# empty line written as " .".
function(vardo_dep5_body text out)
    string(REGEX REPLACE "\n+$" "" text "${text}")
    string(REPLACE "\n" "\n " text " ${text}")
    string(REGEX REPLACE "\n \n" "\n .\n" text "${text}")
    string(REGEX REPLACE "\n \n" "\n .\n" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

set(vardo_copyright ${PROJECT_SOURCE_DIR}/debian/copyright)
file(READ ${vardo_copyright} copyright)
# Every paragraph, the last one too, ends in an empty line.
string(APPEND copyright "\n")

# The paragraph "License: NAME" holds TEXT and nothing more.
function(vardo_expect_licence name text)
    vardo_dep5_body("${text}" body)
    string(FIND "${copyright}" "\n\nLicense: ${name}\n${body}\n\n" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "debian/copyright: the paragraph \"License: ${name}\" "
                            "is not the licence's text word for word")
    endif()
endfunction()

# LICENSE opens with its title and copyright line; the licence paragraph
# holds only the terms.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE mit)
string(REGEX REPLACE "^.*Copyright[^\n]*\n\n" "" mit "${mit}")
vardo_expect_licence(MIT "${mit}")
file(READ ${PROJECT_SOURCE_DIR}/LICENSES/CC-BY-4.0.txt cc_by)
vardo_expect_licence(CC-BY-4.0 "${cc_by}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${vardo_copyright}
    ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/LICENSES/CC-BY-4.0.txt)
