# CPack runs this on each package's staged files, before it packs them
# (CPACK_PRE_BUILD_SCRIPTS). With a certificate given, the Windows programs
# are signed here, so the zip and the setup program carry the same signed
# files. Then every file and folder takes the time SOURCE_DATE_EPOCH names
# (the commit's, from scripts/release): the setup program, the zip and the
# Debian package store these times, and a build's own would make each build
# differ from the last.
set(stage ${CPACK_TEMPORARY_DIRECTORY})
if(NOT "$ENV{ORVANE_SIGN_PKCS12}" STREQUAL "" AND DEFINED ENV{ORVANE_SIGN_PASSWORD})
  file(GLOB_RECURSE programs ${stage}/*.scr ${stage}/*.dll ${stage}/*.exe)
  if(programs)
    execute_process(COMMAND ${CPACK_ORVANE_SIGN} ${programs} RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "The programs could not be signed (see above).")
    endif()
  endif()
endif()
if(NOT "$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
  file(GLOB_RECURSE entries LIST_DIRECTORIES true ${stage}/*)
  execute_process(COMMAND touch -h -d @$ENV{SOURCE_DATE_EPOCH} ${stage} ${entries}
    COMMAND_ERROR_IS_FATAL ANY)
endif()
