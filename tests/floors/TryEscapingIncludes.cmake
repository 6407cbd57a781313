# cmake -DCHECK=check-includes.cmake -DWORK=dir -P TryEscapingIncludes.cmake
# Passes when the include check lets through an include written from the root and the
# system's, the standard library's and GoogleTest's headers in angle brackets, and refuses,
# each on its own and naming the file and the include, every include that would reach past
# the floors: written relative to its file ("../app/AppContext.h", "./MailClass.h", a header
# found only beside the file), climbing in angle brackets (<core/../app/AppContext.h>, which
# the compiler finds through the floor's link to core/), a project header in angle brackets,
# and an absolute path. The tree is a scratch copy of the layout: core/ and app/ with the
# headers the includes name.
set(tree ${WORK}/tree)
file(REMOVE_RECURSE ${tree})
file(WRITE ${tree}/core/MailClass.h "#pragma once\n")
file(WRITE ${tree}/app/AppContext.h "#pragma once\n")

# written: the include as it stands after "#include"; expected: the reason the check gives,
# empty when it must let the include through.
function(check_source name written expected)
  file(WRITE ${tree}/core/${name}.cpp "#include \"core/MailClass.h\"\n#include ${written}\n")
  file(WRITE ${WORK}/${name}.files "${tree}/core/${name}.cpp\n")
  execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${tree} -DLIST=${WORK}/${name}.files
                          -P ${CHECK}
                  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(expected STREQUAL "")
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "#include ${written} is refused:\n${output}")
    endif()
    return()
  endif()
  if(status EQUAL 0)
    message(FATAL_ERROR "#include ${written} in core/${name}.cpp is let through.")
  endif()
  string(REPLACE "\n" " " output "${output}")
  string(REGEX REPLACE " +" " " output "${output}")
  string(FIND "${output}" "core/${name}.cpp: #include ${written} is ${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "#include ${written} is refused for another reason:\n${output}")
  endif()
endfunction()

check_source(FromTheRoot "\"core/MailClass.h\"" "")
check_source(Standard "<string>" "")
check_source(System "<sys/stat.h>" "")
check_source(GoogleTest "<gtest/gtest.h>" "")
check_source(UpAFloor "\"../app/AppContext.h\"" "written relative to its file")
check_source(Here "\"./MailClass.h\"" "written relative to its file")
check_source(Beside "\"MailClass.h\"" "found only beside its file")
check_source(ClimbsInAngles "<core/../app/AppContext.h>" "written with a \".\" or \"..\" folder")
check_source(UpInAngles "<../app/AppContext.h>" "written with a \".\" or \"..\" folder")
check_source(ProjectInAngles "<core/MailClass.h>" "a project header in angle brackets")
check_source(AbsoluteInQuotes "\"${tree}/app/AppContext.h\"" "an absolute path")
check_source(AbsoluteInAngles "<${tree}/app/AppContext.h>" "an absolute path")
