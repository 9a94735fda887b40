# The setup program (NSIS) and the zip, made by CPack from the installed tree:
# Orvane.scr, Orvane.dll, OrvaneSettings.exe (what the Start-menu entries
# start) and readme.txt side by side. Both land in build/windows/package/ as
# Orvane-<version>-win64.exe and .zip.
install(TARGETS orvane_host orvane_engine orvane_launcher RUNTIME DESTINATION .)
configure_file(${PROJECT_SOURCE_DIR}/packaging/readme.txt.in
  ${CMAKE_BINARY_DIR}/generated/readme.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/generated/readme.txt DESTINATION .)

set(CPACK_GENERATOR "NSIS;ZIP")
set(CPACK_PACKAGE_NAME Orvane)
set(CPACK_PACKAGE_VENDOR "${ORVANE_PUBLISHER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Orvane screen saver")
set(CPACK_PACKAGE_FILE_NAME "Orvane-${PROJECT_VERSION}-win64")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Orvane)
# The installer script is ours (packaging/NSIS.template.in): a per-user,
# 64-bit setup that selects the saver and can put the previous one back.
set(CPACK_MODULE_PATH ${PROJECT_SOURCE_DIR}/packaging)
set(CPACK_ORVANE_COPYRIGHT "${ORVANE_COPYRIGHT}")
set(CPACK_ORVANE_ICON "${PROJECT_SOURCE_DIR}/assets/engine_icon.ico")
# The staged files take the commit's time and, with a certificate given, are
# signed; so are the uninstaller and the setup program (scripts/sign).
set(CPACK_ORVANE_SIGN ${ORVANE_SCRIPTS_DIR}/sign)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/cpack_signing.cmake)
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/cpack_stage.cmake)
# The zip made again in an order and with times of its own making.
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/cpack_zip.cmake)
include(CPack)
