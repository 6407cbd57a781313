# cmake -DROOT=dir -DBUILD=dir -DFLOORS=a|b -DBASE=dir -DOBJECTS=file
#       -P check-opened.cmake
# Judges a library's includes by what the compiler opened, as its dependency files list it,
# so that no spelling of an include line escapes: a macro, a comment before the path, a line
# continued with a backslash. OBJECTS names the library's object files, one a line; beside
# each the compiler left OBJECT.d, whose paths are relative to BASE, where it ran. Each file
# opened must be one of:
# - a header reached through one of FLOORS, the floors on the library's include path (its
#   own and those of the libraries it links), under one of that floor's links
#   ("core/../listio/x.h" reached through the floor's link to core/ is not);
# - another file the build made (under BUILD);
# - the source compiled itself;
# - a file outside the project ROOT: the system's, the standard library's.
# Anything else of the project (an include written relative to its file, found beside it,
# or by an absolute path) stops the build, naming the source and the file it opened.
cmake_minimum_required(VERSION 3.25)
file(STRINGS ${OBJECTS} objects)
string(REPLACE "|" ";" floors "${FLOORS}")

# Whether `path`, relative to `floor`, lies under one of the floor's links: the floor holds
# links to the folders (or sub-folders, single headers) its library sees, and nothing else.
function(held_by_floor floor path result)
  set(${result} FALSE PARENT_SCOPE)
  string(REPLACE "/" ";" parts "${path}")
  set(prefix ${floor})
  foreach(part ${parts})
    string(APPEND prefix "/${part}")
    if(IS_SYMLINK ${prefix})
      set(${result} TRUE PARENT_SCOPE)
      return()
    endif()
  endforeach()
endfunction()

# Why opening `full` from `source` reaches past the floor; empty when it does not.
function(reach_past_floor full source result)
  set(${result} "" PARENT_SCOPE)
  if(full STREQUAL source)
    return()
  endif()
  cmake_path(IS_PREFIX BUILD "${full}" in_build)
  cmake_path(IS_PREFIX ROOT "${full}" in_root)
  if(in_build)
    cmake_path(RELATIVE_PATH full BASE_DIRECTORY ${BUILD} OUTPUT_VARIABLE path)
    if(NOT path MATCHES "^floors/([^/]+)/(.+)$")
      return()
    endif()
    set(floor ${BUILD}/floors/${CMAKE_MATCH_1})
    set(inside ${CMAKE_MATCH_2})
    if(NOT floor IN_LIST floors)
      set(${result} "${inside}, through the floor of a library it does not see" PARENT_SCOPE)
      return()
    endif()
    held_by_floor(${floor} ${inside} held)
    if(NOT held)
      set(${result} "${inside}, which its floor does not hold" PARENT_SCOPE)
    endif()
  elseif(in_root)
    cmake_path(RELATIVE_PATH full BASE_DIRECTORY ${ROOT} OUTPUT_VARIABLE path)
    set(${result} "${path}, past its floor" PARENT_SCOPE)
  endif()
endfunction()

set(refused)
foreach(object ${objects})
  if(NOT EXISTS ${object}.d)
    list(APPEND refused "${object}: the compiler left no list of the files it opened")
    continue()
  endif()
  file(READ ${object}.d rule)
  string(REPLACE "\\\n" " " rule "${rule}")
  # What follows the rule's target ("object.o: ") is the source, then every file opened.
  string(FIND "${rule}" ": " colon)
  math(EXPR colon "${colon} + 2")
  string(SUBSTRING "${rule}" ${colon} -1 rule)
  string(STRIP "${rule}" rule)
  string(REGEX REPLACE "[ \t\r\n]+" ";" opened "${rule}")
  set(source "")
  foreach(path ${opened})
    cmake_path(ABSOLUTE_PATH path BASE_DIRECTORY ${BASE} NORMALIZE OUTPUT_VARIABLE full)
    if(source STREQUAL "")
      set(source ${full})
    endif()
    reach_past_floor(${full} ${source} why)
    if(why)
      cmake_path(RELATIVE_PATH source BASE_DIRECTORY ${ROOT} OUTPUT_VARIABLE shown)
      list(APPEND refused "${shown} opened ${why}")
    endif()
  endforeach()
endforeach()

if(refused)
  list(REMOVE_DUPLICATES refused)
  list(LENGTH refused count)
  string(REPLACE ";" "\n  " refused "${refused}")
  message(FATAL_ERROR "${count} file(s) opened past the library's floor:\n  ${refused}\n"
                      "Include each header of the project in quotes as the path from the project "
                      "root, as \"core/MailClass.h\", and only headers of the library's floor.")
endif()
