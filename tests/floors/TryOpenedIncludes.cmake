# cmake -DCXX=compiler -DCHECK=check-opened.cmake -DWORK=dir -P TryOpenedIncludes.cmake
# Passes when the check of what the compiler opened lets a core source through that includes
# a header of its floor from the root, and refuses, naming the source and the header, each
# spelling of an include that the compiler accepts and that reaches app/ past the floor: a
# path relative to the file, the same behind a macro, after a comment, on a continued line,
# climbing in angle brackets through the floor's link, an absolute path, a header found only
# beside the file, and a header of the floor that itself includes upward. Every source
# compiles: the compiler alone does not stop them. The tree is a scratch copy of the layout,
# with a build folder inside it and the floors of core, of a library below it and of app
# there; a header of a floor below is let through, app's by its path is not.
set(root ${WORK}/tree)
set(build ${root}/build)
set(floor ${build}/floors/core_library)
file(REMOVE_RECURSE ${root})
# Each header says something of its own: the compiler takes headers of the same bytes marked
# "#pragma once" for one.
file(WRITE ${root}/core/MailClass.h "#pragma once\nstruct MailClass {};\n")
file(WRITE ${root}/core/Beside.h "#pragma once\nstruct Beside {};\n")
file(WRITE ${root}/core/Climbs.h "#pragma once\n#include \"../app/AppContext.h\"\n")
file(WRITE ${root}/app/AppContext.h "#pragma once\nstruct AppContext {};\n")
file(WRITE ${root}/platform/File.h "#pragma once\nstruct File {};\n")
# The floor of a library below core's, on its include path too, and app's, which is not.
set(below ${build}/floors/platform_library)
set(above ${build}/floors/app_library)
file(MAKE_DIRECTORY ${floor} ${below} ${above} ${build}/core)
file(CREATE_LINK ${root}/core ${floor}/core SYMBOLIC)
file(CREATE_LINK ${root}/platform ${below}/platform SYMBOLIC)
file(CREATE_LINK ${root}/app ${above}/app SYMBOLIC)

# Compiles core/NAME.cpp holding `lines` as a library of the build would and runs the check
# over its object; the check's output, and its status in `status`.
function(check_source name lines status_var output_var)
  file(WRITE ${root}/core/${name}.cpp "#include \"core/MailClass.h\"\n${lines}\n")
  set(object ${build}/core/${name}.cpp.o)
  execute_process(COMMAND ${CXX} -I${below} -I${floor} -MD -MT ${object} -MF ${object}.d
                          -c ../../core/${name}.cpp -o ${object}
                  WORKING_DIRECTORY ${build}/core
                  RESULT_VARIABLE compiled ERROR_VARIABLE errors)
  if(NOT compiled EQUAL 0)
    message(FATAL_ERROR "core/${name}.cpp does not compile, so the check is not tried:\n"
                        "${errors}")
  endif()
  file(WRITE ${build}/${name}.objects "${object}\n")
  execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${root} -DBUILD=${build}
                          "-DFLOORS=${floor}|${below}" -DBASE=${build}/core -DOBJECTS=${build}/${name}.objects
                          -P ${CHECK}
                  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
  set(${status_var} ${status} PARENT_SCOPE)
  string(REPLACE "\n" " " output "${output}")
  string(REGEX REPLACE " +" " " output "${output}")
  set(${output_var} "${output}" PARENT_SCOPE)
endfunction()

function(expect_let_through name lines)
  check_source(${name} "${lines}" status output)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "core/${name}.cpp is refused:\n${output}")
  endif()
endfunction()

# `opened`: the header as the refusal names it.
function(expect_refused name lines opened)
  check_source(${name} "${lines}" status output)
  if(status EQUAL 0)
    message(FATAL_ERROR "core/${name}.cpp is let through though it opens ${opened}.")
  endif()
  string(FIND "${output}" "core/${name}.cpp opened ${opened}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "core/${name}.cpp is refused for another reason:\n${output}")
  endif()
endfunction()

expect_let_through(FromTheRoot "#include <string>\n#include \"core/MailClass.h\"")
expect_let_through(FromBelow "#include \"platform/File.h\"")
set(past "app/AppContext.h, past its floor")
expect_refused(Relative "#include \"../app/AppContext.h\"" "${past}")
expect_refused(Computed "#define HEADER \"../app/AppContext.h\"\n#include HEADER" "${past}")
expect_refused(Commented "#include /* app */ \"../app/AppContext.h\"" "${past}")
expect_refused(Continued "#include \\\n  \"../app/AppContext.h\"" "${past}")
expect_refused(Absolute "#include \"${root}/app/AppContext.h\"" "${past}")
expect_refused(Beside "#include \"Beside.h\"" "core/Beside.h, past its floor")
set(held "app/AppContext.h, which its floor does not hold")
expect_refused(ClimbsInAngles "#include <core/../app/AppContext.h>" "${held}")
expect_refused(ThroughAHeader "#include \"core/Climbs.h\"" "${held}")
expect_refused(AboveByPath "#include \"${above}/app/AppContext.h\""
               "app/AppContext.h, through the floor of a library it does not see")
