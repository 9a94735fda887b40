# CPack reads this as each package starts (CPACK_PROJECT_CONFIG_FILE). With a
# certificate given (ORVANE_SIGN_PKCS12, ORVANE_SIGN_PASSWORD), makensis signs
# the uninstaller before it goes into the setup program, and then the setup
# program itself; the programs are signed as they are staged
# (cmake/cpack_stage.cmake). makensis stops when scripts/sign fails.
set(CPACK_ORVANE_SIGNING "; unsigned: no certificate given")
if(CPACK_GENERATOR STREQUAL "NSIS" AND NOT "$ENV{ORVANE_SIGN_PKCS12}" STREQUAL ""
   AND DEFINED ENV{ORVANE_SIGN_PASSWORD})
  set(sign_command "'\"${CPACK_ORVANE_SIGN}\" \"%1\"' = 0")
  set(CPACK_ORVANE_SIGNING "!uninstfinalize ${sign_command}\n!finalize ${sign_command}")
endif()
