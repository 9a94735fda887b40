# CPack runs this after each package is made (CPACK_POST_BUILD_SCRIPTS). Its
# own zip lists the files in the order the folder gives them and stores each
# file's access and change times and its owner; the zip is made again from the
# same staged files, sorted by name, with their modification times alone
# (zip -X, no extra fields) written as UTC.
if(NOT CPACK_GENERATOR STREQUAL "ZIP")
  return()
endif()
get_filename_component(top ${CPACK_TEMPORARY_DIRECTORY} NAME)
get_filename_component(parent ${CPACK_TEMPORARY_DIRECTORY} DIRECTORY)
file(GLOB_RECURSE files RELATIVE ${parent} ${CPACK_TEMPORARY_DIRECTORY}/*)
list(SORT files)
foreach(package ${CPACK_PACKAGE_FILES})
  file(REMOVE ${package})
  execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC zip -X -D -9 -q ${package} ${files}
    WORKING_DIRECTORY ${parent} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
