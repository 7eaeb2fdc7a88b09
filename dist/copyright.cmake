# usr/share/doc/vardo/copyright in Debian's machine-readable format, with the
# licence texts taken from LICENSE and LICENSES/ so that they are kept once.

# A text as the body of a DEP-5 field: every line indented by one space, an
# empty line written as " .".
function(vardo_dep5_body text out)
    string(REGEX REPLACE "\n+$" "" text "${text}")
    string(REPLACE "\n" "\n " text " ${text}")
    string(REGEX REPLACE "\n \n" "\n .\n" text "${text}")
    string(REGEX REPLACE "\n \n" "\n .\n" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

# LICENSE opens with its title and copyright line; the licence paragraph
# holds only the terms.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE mit)
string(REGEX REPLACE "^.*Copyright[^\n]*\n\n" "" mit "${mit}")
vardo_dep5_body("${mit}" VARDO_MIT_TEXT)
file(READ ${PROJECT_SOURCE_DIR}/LICENSES/CC-BY-4.0.txt cc_by)
vardo_dep5_body("${cc_by}" VARDO_CC_BY_TEXT)
configure_file(copyright.in copyright @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/LICENSES/CC-BY-4.0.txt)
