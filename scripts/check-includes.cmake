# cmake -DROOT=dir (-DLIST=file | -DFOLDERS=a|b) [-DSTAMP=file] -P check-includes.cmake
# Every include of the project's own headers is written in quotes from the project root
# ("core/MailClass.h"); the floors hold only such includes. The check refuses, naming the
# file and the include:
# - one in quotes written relative to its file ("../app/AppContext.h", "./x.h", or "x.h"
#   that is found only beside the file);
# - one in angle brackets with a "." or ".." folder (<core/../listio/FormatNames.h>): the
#   floors hold links to the project's folders, and ".." after one climbs back out of it
#   into the whole tree;
# - one in angle brackets whose first folder is a folder of the project (<core/MailClass.h>):
#   the project's headers are written in quotes, angle brackets are for the system's, the
#   standard library's, Qt's and GoogleTest's;
# - an absolute path, in quotes or angle brackets, which no floor holds.
# LIST names the files to look at, one a line; FOLDERS the folders of ROOT whose headers and
# sources are all looked at. STAMP is touched when every include is right, for the build to
# know it need not look again.
if(DEFINED LIST)
  file(STRINGS ${LIST} files)
else()
  string(REPLACE "|" ";" folders "${FOLDERS}")
  set(files)
  foreach(folder ${folders})
    file(GLOB_RECURSE found ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.cpp)
    list(APPEND files ${found})
  endforeach()
endif()

set(refused)
foreach(source ${files})
  get_filename_component(beside ${source} DIRECTORY)
  file(RELATIVE_PATH shown ${ROOT} ${source})
  file(STRINGS ${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
  foreach(line ${lines})
    if(line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\"")
      set(header "${CMAKE_MATCH_1}")
      set(written "\"${header}\"")
      set(quoted TRUE)
    elseif(line MATCHES "^[ \t]*#[ \t]*include[ \t]*<([^>]*)>")
      set(header "${CMAKE_MATCH_1}")
      set(written "<${header}>")
      set(quoted FALSE)
    else()
      continue()
    endif()
    string(REGEX REPLACE "/.*" "" first "${header}")
    if(header MATCHES "^/")
      list(APPEND refused "${shown}: #include ${written} is an absolute path")
    elseif(quoted AND header MATCHES "(^|/)\\.\\.?/")
      list(APPEND refused "${shown}: #include ${written} is written relative to its file")
    elseif(quoted AND NOT EXISTS ${ROOT}/${header} AND EXISTS ${beside}/${header})
      list(APPEND refused "${shown}: #include ${written} is found only beside its file")
    elseif(NOT quoted AND header MATCHES "(^|/)\\.\\.?(/|$)")
      list(APPEND refused "${shown}: #include ${written} is written with a \".\" or \"..\" folder")
    elseif(NOT quoted AND NOT first STREQUAL header AND IS_DIRECTORY ${ROOT}/${first})
      list(APPEND refused "${shown}: #include ${written} is a project header in angle brackets")
    endif()
  endforeach()
endforeach()

if(refused)
  list(LENGTH refused count)
  string(REPLACE ";" "\n  " refused "${refused}")
  message(FATAL_ERROR "${count} include(s) not written from the project root:\n  ${refused}\n"
                      "Write each header of the project in quotes as the path from the project "
                      "root, as \"core/MailClass.h\".")
endif()
if(DEFINED STAMP)
  file(TOUCH ${STAMP})
endif()
