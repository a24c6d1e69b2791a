# Copies every file below SRC to DST, skipping files that already exist.
file(GLOB_RECURSE files RELATIVE ${SRC} ${SRC}/*)
foreach(rel IN LISTS files)
  if(NOT EXISTS ${DST}/${rel})
    get_filename_component(dir ${DST}/${rel} DIRECTORY)
    file(MAKE_DIRECTORY ${dir})
    file(COPY ${SRC}/${rel} DESTINATION ${dir})
  endif()
endforeach()
