# The Linux program for desktops: its man page, the entry that desktop screen
# savers read, the documents Debian expects, and the Debian package made by
# CPack: `cmake --build --preset native --target package` writes
# build/native/package/orvane_<version>_amd64.deb.
include(GNUInstallDirs)
set(debian_dir ${CMAKE_CURRENT_LIST_DIR}/debian)
set(debian_out ${CMAKE_BINARY_DIR}/generated/debian)
set(ORVANE_MAINTAINER "Orvane developers <orvane@example.org>" CACHE STRING
  "Maintainer field of the Debian package")
string(REGEX MATCH "[0-9]+.*" ORVANE_COPYRIGHT_YEARS "${ORVANE_COPYRIGHT}")

# Debian wants documents compressed to the byte (-n: no name or time stamp).
configure_file(${debian_dir}/orvane.6 ${debian_out}/orvane.6 @ONLY)
configure_file(${debian_dir}/copyright.in ${debian_out}/copyright @ONLY)
configure_file(${debian_dir}/changelog.in ${debian_out}/changelog @ONLY)
foreach(document orvane.6 changelog)
  add_custom_command(OUTPUT ${debian_out}/${document}.gz
    COMMAND gzip -9n -c ${debian_out}/${document} > ${debian_out}/${document}.gz
    DEPENDS ${debian_out}/${document} VERBATIM)
endforeach()
add_custom_target(orvane_documents ALL DEPENDS ${debian_out}/orvane.6.gz ${debian_out}/changelog.gz)

install(FILES ${debian_out}/orvane.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${debian_out}/copyright ${debian_out}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/orvane)
# The entry names the program where this install puts it, which is only known
# at install time (the package installs under /usr, a user maybe /usr/local).
install(CODE "
  file(READ \"${debian_dir}/orvane.desktop.in\" entry)
  string(REPLACE \"@ORVANE_PROGRAM_PATH@\"
    \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver/orvane\" entry \"\${entry}\")
  file(WRITE \"${debian_out}/orvane.desktop\" \"\${entry}\")")
install(FILES ${debian_out}/orvane.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications/screensavers)

# What Debian's own builds add to every program.
target_compile_options(orvane PRIVATE -fstack-protector-strong -D_FORTIFY_SOURCE=2)
target_link_options(orvane PRIVATE -Wl,-z,relro -Wl,-z,now)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ORVANE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The veils need only the libraries above; the music needs GStreamer's
# plugins for the file types and a sound output.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
  "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-pulseaudio | gstreamer1.0-alsa")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xscreensaver | mate-screensaver")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "rippling veils of light for screen savers, with music")
set(CPACK_PACKAGE_DESCRIPTION
  "Orvane draws two soft, rippling veils of light, textured with streaks, lit by
the steepness of their ripples and drifting slowly through hue and saturation.
It runs as an OpenGL hack for xscreensaver and for the desktop screen savers
that read /usr/share/applications/screensavers, and can play an MP3 or WAV
file in a loop while the veils run.")
# The staged files take the commit's time (SOURCE_DATE_EPOCH).
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/cpack_stage.cmake)
include(CPack)

