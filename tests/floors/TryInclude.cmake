# cmake -DCXX=... -DROOT=... -DINCLUDES=a|b -DALLOWED=x.h -DUPWARD=y.h -DWORK=dir -P TryInclude.cmake
# Passes when ALLOWED compiles with the folders of INCLUDES and UPWARD does not, because
# its header is not found there (it must exist in the source tree, or the case proves
# nothing).
if(NOT EXISTS ${ROOT}/${ALLOWED} OR NOT EXISTS ${ROOT}/${UPWARD})
  message(FATAL_ERROR "${ALLOWED} or ${UPWARD} is not in the source tree: name other headers.")
endif()
string(REPLACE "|" ";" folders "${INCLUDES}")
set(flags -std=c++20 -fsyntax-only)
foreach(folder ${folders})
  list(APPEND flags -I${folder})
endforeach()
file(MAKE_DIRECTORY ${WORK})

function(compile_include header result errors)
  string(MAKE_C_IDENTIFIER ${header} name)
  file(WRITE ${WORK}/${name}.cpp "#include \"${header}\"\n")
  execute_process(COMMAND ${CXX} ${flags} ${WORK}/${name}.cpp
                  RESULT_VARIABLE status ERROR_VARIABLE output OUTPUT_QUIET)
  set(${result} ${status} PARENT_SCOPE)
  set(${errors} "${output}" PARENT_SCOPE)
endfunction()

compile_include(${ALLOWED} status errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "The control include ${ALLOWED} does not compile:\n${errors}")
endif()
compile_include(${UPWARD} status errors)
if(status EQUAL 0)
  message(FATAL_ERROR "${UPWARD} compiles from this floor: an include runs back up.")
endif()
# GCC: "x.h: No such file or directory"; Clang: "'x.h' file not found".
if(NOT errors MATCHES "${UPWARD}'?:? (No such file or directory|file not found)")
  message(FATAL_ERROR "${UPWARD} fails for another reason than a missing header:\n${errors}")
endif()
