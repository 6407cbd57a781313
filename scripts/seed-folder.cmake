# Copies every file of SOURCE into DEST unless DEST already has a file of that name.
file(MAKE_DIRECTORY ${DEST})
file(GLOB files RELATIVE ${SOURCE} ${SOURCE}/*.dat ${SOURCE}/*.bmp)
foreach(f IN LISTS files)
  if(NOT EXISTS ${DEST}/${f})
    file(COPY ${SOURCE}/${f} DESTINATION ${DEST})
  endif()
endforeach()
