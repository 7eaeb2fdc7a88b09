# cmake -DSTAMP=file -DSOURCES=a;b -P CheckIncludes.cmake
# A library's sources include their own folder's headers by bare name and
# other folders' through the include root ("exam/examwindow.h"); a quoted
# include that climbs out of the folder or names an absolute path would slip
# past the root, so it fails the build.
foreach(source IN LISTS SOURCES)
    file(STRINGS ${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS lines)
        if(line MATCHES "\"(/|[^\"]*\\.\\./|\\.\\.\")")
            message(FATAL_ERROR "${source}: ${line}\n"
                "include another folder's header by its folder name, e.g. \"exam/examwindow.h\"")
        endif()
    endforeach()
endforeach()
file(TOUCH ${STAMP})
