# cmake -DCHECK=check-includes.cmake -DWORK=dir -P TryRelativeInclude.cmake
# Passes when the include check lets an include written from the root through and refuses,
# each on its own, "../app/AppContext.h" and a header found only beside the file, naming the
# file and the include. The tree is a scratch copy of the layout: core/ and app/ with the
# headers the includes name.
set(tree ${WORK}/tree)
file(REMOVE_RECURSE ${tree})
file(WRITE ${tree}/core/MailClass.h "#pragma once\n")
file(WRITE ${tree}/app/AppContext.h "#pragma once\n")

function(check_source name include expected)
  file(WRITE ${tree}/core/${name}.cpp "#include \"core/MailClass.h\"\n#include \"${include}\"\n")
  file(WRITE ${WORK}/${name}.files "${tree}/core/${name}.cpp\n")
  execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${tree} -DLIST=${WORK}/${name}.files
                          -P ${CHECK}
                  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(expected STREQUAL "")
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "#include \"${include}\" is refused:\n${output}")
    endif()
    return()
  endif()
  if(status EQUAL 0)
    message(FATAL_ERROR "#include \"${include}\" in core/${name}.cpp is let through.")
  endif()
  string(REPLACE "\n" " " output "${output}")
  string(REGEX REPLACE " +" " " output "${output}")
  if(NOT output MATCHES "core/${name}.cpp: #include \"${include}\" is ${expected}")
    message(FATAL_ERROR "#include \"${include}\" is refused for another reason:\n${output}")
  endif()
endfunction()

check_source(FromTheRoot core/MailClass.h "")
check_source(UpAFloor ../app/AppContext.h "written relative to its file")
check_source(Here ./MailClass.h "written relative to its file")
check_source(Beside MailClass.h "found only beside its file")
