# orvane: the veils as a native X11/GLX program (an xscreensaver hack).
add_library(engine_hack_options STATIC ${CMAKE_CURRENT_SOURCE_DIR}/hack_options.cpp)
orvane_target(engine_hack_options)
target_link_libraries(engine_hack_options PUBLIC orvane_common)

orvane_unit_test(NAME unit_engine_hack_options
  SOURCES ${PROJECT_SOURCE_DIR}/tests/unit/engine/hack_options_test.cpp
  LIBS engine_hack_options)

if(ORVANE_WINDOWS)
  return()
endif()

# The music of the Linux program.
if(NOT ORVANE_FUZZ)
  include(${CMAKE_CURRENT_SOURCE_DIR}/gst_music.cmake)
endif()

find_package(X11 REQUIRED)
add_library(engine_render_glx STATIC ${CMAKE_CURRENT_SOURCE_DIR}/glx_surface.cpp)
orvane_target(engine_render_glx)
target_link_libraries(engine_render_glx PUBLIC engine_render OpenGL::GLX X11::X11)

add_executable(orvane ${CMAKE_CURRENT_SOURCE_DIR}/x11_main.cpp ${CMAKE_CURRENT_SOURCE_DIR}/x11_windows.cpp)
orvane_target(orvane)
target_link_libraries(orvane PRIVATE engine_render_glx engine_shell engine_hack_options X11::Xrandr X11::Xinerama engine_gst_music)
set_target_properties(orvane PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ORVANE_BIN_DIR})

# Where Debian's xscreensaver looks for hacks and their settings descriptions.
include(GNUInstallDirs)
install(TARGETS orvane RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/orvane.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/xscreensaver/config)

add_executable(x11_test_window ${PROJECT_SOURCE_DIR}/tests/e2e/linux/test_window.cpp)
orvane_target(x11_test_window FOLDER tests)
target_link_libraries(x11_test_window PRIVATE X11::X11)
set_target_properties(x11_test_window PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/testbin)

# End-to-end scenarios on their own Xvfb, natively (no Wine).
foreach(scenario root window_id standalone xscreensaver desk monitors music)
  orvane_linux_scenario(NAME ${scenario} TIMEOUT 120
    ENVIRONMENT ORVANE_TEST_WINDOW=$<TARGET_FILE:x11_test_window>)
endforeach()
