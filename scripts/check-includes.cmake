# cmake -DROOT=dir (-DLIST=file | -DFOLDERS=a|b) [-DSTAMP=file] -P check-includes.cmake
# Every include in quotes is written from the project root ("core/MailClass.h"). One written
# relative to its file ("../app/AppContext.h", "./x.h", or "x.h" that is found only beside
# the file) would reach past the floors, which hold only includes from the root: it is
# refused, naming the file and the include. LIST names the files to look at, one a line;
# FOLDERS the folders of ROOT whose headers and sources are all looked at. STAMP is touched
# when every include is right, for the build to know it need not look again.
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
  file(STRINGS ${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line ${lines})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" header "${line}")
    file(RELATIVE_PATH shown ${ROOT} ${source})
    if(header MATCHES "(^|/)\\.\\.?/")
      list(APPEND refused "${shown}: #include \"${header}\" is written relative to its file")
    elseif(NOT EXISTS ${ROOT}/${header} AND EXISTS ${beside}/${header})
      list(APPEND refused "${shown}: #include \"${header}\" is found only beside its file")
    endif()
  endforeach()
endforeach()

if(refused)
  list(LENGTH refused count)
  string(REPLACE ";" "\n  " refused "${refused}")
  message(FATAL_ERROR "${count} include(s) not written from the project root:\n  ${refused}\n"
                      "Write each as the path from the project root, as \"core/MailClass.h\".")
endif()
if(DEFINED STAMP)
  file(TOUCH ${STAMP})
endif()
